#pragma once
// The RTF body as data files keep it: a 16-byte header, then the RTF
// compressed ("LZFu") or, in some files, as it is ("MELA").

#include <optional>
#include <string>
#include <string_view>

namespace qs {

// The RTF document; nothing when the bytes are of neither form. A damaged
// stream gives what could be read of it; the checksum is not asked, so an
// uncompressed body whose checksum is zero reads as well. The output never
// grows beyond the size the header declares, nor beyond what the input can
// encode.
std::optional<std::string> DecompressRtf(std::string_view stored);

}  // namespace qs
