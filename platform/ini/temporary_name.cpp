#include "platform/ini/temporary_name.h"

#include <random>

namespace qs::ini {

std::string TemporaryNameBeside(std::string_view path) {
  static constexpr std::string_view kLetters =
      "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
  const auto slash = path.find_last_of("/\\");
  std::string name(slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1));
  name += ".ini-";
  std::random_device random;
  std::uniform_int_distribution<std::size_t> pick(0, kLetters.size() - 1);
  for (int i = 0; i < 16; ++i) name += kLetters[pick(random)];
  name += ".tmp";
  return name;
}

}  // namespace qs::ini
