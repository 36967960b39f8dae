#pragma once
// A large generated directory store for the search benchmark.

#include <filesystem>

namespace qs::bench {

struct StoreShape {
  int folders = 200;
  int messages = 100000;
  int attachment_every = 10;     // one message in this many has an attachment
  int attachment_bytes = 48 * 1024;
};

// Writes the store "Bench" below root unless it is already there; returns
// the number of message files.
int MakeBenchStore(const std::filesystem::path& root, const StoreShape& shape);

}  // namespace qs::bench
