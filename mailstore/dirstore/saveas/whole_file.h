#pragma once
// Whole files in and out, for saving. Both throw MailStoreError with the
// system's reason when the file cannot be read or written.

#include <string>
#include <string_view>

namespace qs::dirstore {

class Directory;

std::string ReadWholeFile(const Directory& directory, const std::string& name);

// Makes these bytes the whole file at path; a file that the call created is
// removed again when the write fails.
void WriteWholeFile(const std::string& path, std::string_view bytes);

}  // namespace qs::dirstore
