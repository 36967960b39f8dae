#pragma once
// A directory of its own for one test, removed with everything in it.

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

namespace qs::test {

// A path as UTF-8 text, and back.
inline std::string Utf8(const std::filesystem::path& path) {
  const auto text = path.u8string();
  return {text.begin(), text.end()};
}
inline std::filesystem::path FromUtf8(const std::string& text) {
  return std::u8string(text.begin(), text.end());
}

class ScratchDir {
 public:
  ScratchDir() {
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = std::filesystem::temp_directory_path() /
            ("qs-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // The directory, or a name inside it, as UTF-8 text.
  std::string Text() const { return Utf8(path_); }
  std::string File(const std::string& name) const { return Utf8(path_ / FromUtf8(name)); }

  // Writes or reads a file of the directory, byte for byte.
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(path_ / FromUtf8(name), std::ios::binary) << bytes;
  }
  std::string Read(const std::string& name) const {
    std::ifstream file(path_ / FromUtf8(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  }
  // A path that cannot be written, even by root: its parent is a regular file.
  std::string Unwritable(const std::string& name) const {
    Write("plain", "x");
    return Utf8(path_ / "plain" / FromUtf8(name));
  }

  // Every entry below the directory, as relative UTF-8 paths with "/".
  std::set<std::string> Tree() const {
    std::set<std::string> entries;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path_))
      entries.insert(Utf8(entry.path().lexically_relative(path_).generic_u8string()));
    return entries;
  }

 private:
  std::filesystem::path path_;
};

}  // namespace qs::test
