#pragma once
// Whole files in and out, for saving. Both throw MailStoreError with the
// system's reason when the file cannot be read or written.

#include <string>
#include <string_view>

namespace qs::dirstore {

class Directory;

std::string ReadWholeFile(const Directory& directory, const std::string& name);

// Replaces the file at path with exactly these bytes.
void WriteWholeFile(const std::string& path, std::string_view bytes);

}  // namespace qs::dirstore
