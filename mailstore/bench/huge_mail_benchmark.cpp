// Not a test: writes a mail of the given size into a scratch directory and
// saves it in every form, each in a child process of its own, printing each
// child's peak memory. The mail is in two shapes, one after the other: a
// short text body with one base64 attachment, then one quoted-printable text
// body with some characters outside ASCII.
//
//   huge_mail_benchmark <megabytes> <scratch directory>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "mailstore/dirstore/dir_item.h"

namespace {

namespace fs = std::filesystem;
using qs::dirstore::DirItem;

constexpr char kHeaders[] =
    "From: Sender <s@example.org>\r\nTo: r@example.org\r\nSubject: huge\r\n"
    "Date: Tue, 30 Jun 2009 17:05:00 +0000\r\nMIME-Version: 1.0\r\n";

// The line repeated in blocks until the mail has its size: it is never held.
void WriteLines(std::ofstream& out, const std::string& line, unsigned long long megabytes) {
  std::string block;
  for (int i = 0; i < 1 << 14; ++i) block += line;
  const unsigned long long lines = megabytes * 1024 * 1024 / line.size();
  for (unsigned long long written = 0; written < lines; written += 1 << 14) out << block;
}

void WriteAttachmentMail(const fs::path& path, unsigned long long megabytes) {
  std::ofstream out(path, std::ios::binary);
  out << kHeaders
      << "Content-Type: multipart/mixed; boundary=B\r\n\r\n--B\r\n"
         "Content-Type: text/plain; charset=utf-8\r\n\r\nThe body.\r\n--B\r\n"
         "Content-Type: application/octet-stream; name=big.bin\r\n"
         "Content-Transfer-Encoding: base64\r\n\r\n";
  std::string line;
  for (int i = 0; i < 76; ++i) line += "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"[(i * 7) % 64];
  WriteLines(out, line + "\r\n", megabytes);
  out << "--B--\r\n";
}

// A soft break joins each pair of lines, so the text's lines are longer than
// the mail's.
void WriteTextMail(const fs::path& path, unsigned long long megabytes) {
  std::ofstream out(path, std::ios::binary);
  out << kHeaders
      << "Content-Type: text/plain; charset=utf-8\r\n"
         "Content-Transfer-Encoding: quoted-printable\r\n\r\n";
  WriteLines(out,
             "Gr=C3=BC=C3=9Fe {aus} dem Text, ein =E2=82=AC und ein =F0=9F=98=80 <&> \\ =\r\n"
             "and the rest of the line, which ends in a hard break here.\r\n",
             megabytes);
}

struct Shape {
  const char* name;
  void (*write)(const fs::path&, unsigned long long);
  bool has_attachment;
};

struct Form {
  const char* name;
  std::function<void(DirItem&, const std::string&)> save;
};

void Measure(const fs::path& root, const Form& form) {
  const std::string output = (root / "out").string();
  const pid_t child = fork();
  if (child == 0) {
    try {
      auto context = std::make_shared<const qs::dirstore::StoreContext>(root);
      auto base = std::make_shared<const qs::dirstore::Directory>((root / "Box").string());
      DirItem item(qs::dirstore::ListedFolder::OfItem(context, "Box", "huge.eml", {base, "huge.eml"}), 0,
                   DirItem::Reading::Whole);
      form.save(item, output);
      std::_Exit(0);
    } catch (const std::exception& error) {
      std::printf("%-10s not saved: %s\n", form.name, error.what());
      std::fflush(stdout);
      std::_Exit(1);
    }
  }
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  std::error_code ignored;
  const auto size = fs::file_size(output, ignored);
  std::printf("%-10s peak %6ld MB  output %6llu MB  %s\n", form.name, usage.ru_maxrss / 1024,
              ignored ? 0ULL : static_cast<unsigned long long>(size) >> 20,
              WIFEXITED(status) ? (WEXITSTATUS(status) == 0 ? "saved" : "refused")
                                : "killed by a signal");
  std::fflush(stdout);
  fs::remove(output, ignored);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <megabytes> <scratch directory>\n", argv[0]);
    return 2;
  }
  const fs::path root = fs::path(argv[2]) / "huge-mail-benchmark";
  using qs::SaveType;
  const Form forms[] = {
      {"text", [](DirItem& item, const std::string& path) { item.SaveAs(path, SaveType::Text); }},
      {"rtf", [](DirItem& item, const std::string& path) { item.SaveAs(path, SaveType::RichText); }},
      {"html", [](DirItem& item, const std::string& path) { item.SaveAs(path, SaveType::Html); }},
      {"msg", [](DirItem& item, const std::string& path) {
         item.SaveAs(path, SaveType::MessageUnicode);
       }},
      {"attachment", [](DirItem& item, const std::string& path) {
         item.AttachmentAt(1)->SaveAsFile(path);
       }},
  };
  const Shape shapes[] = {{"attachment", WriteAttachmentMail, true},
                          {"text body", WriteTextMail, false}};
  for (const Shape& shape : shapes) {
    fs::create_directories(root / "Box");
    shape.write(root / "Box" / "huge.eml", std::strtoull(argv[1], nullptr, 10));
    std::printf("mail of %llu MB, %s\n",
                static_cast<unsigned long long>(fs::file_size(root / "Box" / "huge.eml")) >> 20,
                shape.name);
    for (const Form& form : forms)
      if (shape.has_attachment || std::string_view(form.name) != "attachment") Measure(root, form);
    fs::remove_all(root);
  }
  return 0;
}
