#pragma once
// A file's stamp as the system's status of it gives it.

#include <sys/stat.h>

#include <cstdint>

#include "platform/file_system.h"

namespace qs {

inline FileStamp StampOf(const struct stat& info) {
  return {static_cast<std::int64_t>(info.st_size),
          static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

}  // namespace qs
