#pragma once
// Ownership of one GObject reference.

#include <glib-object.h>

#include <memory>

namespace qs::dirstore {

struct GObjectUnref {
  void operator()(void* object) const {
    if (object) g_object_unref(object);
  }
};

template <typename T>
using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

}  // namespace qs::dirstore
