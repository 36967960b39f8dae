#include "mailstore/bench/bench_store.h"

#include <fstream>
#include <random>
#include <string>

namespace qs::bench {

namespace {

namespace fs = std::filesystem;

const char* const kNames[] = {"Anna Berg", "Jonas Keller", "Marie Dubois", "Tom Walsh",
                              "Sofia Rossi", "Lars Nilsson", "Chen Wei", "Priya Nair"};
const char* const kSubjects[] = {
    "Quarterly figures", "Re: Meeting on Thursday", "Invoice 4711", "Fwd: Travel plans",
    "=?UTF-8?B?R3LDvMOfZSBhdXMgS8O2bG4=?=", "Project status", "=?ISO-8859-1?Q?R=E9union_d=27=E9quipe?=",
    "Holiday schedule"};
const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::string Address(int who) {
  std::string name = kNames[who % 8];
  std::string local;
  for (char c : name) local += c == ' ' ? '.' : static_cast<char>(std::tolower(c));
  return name + " <" + local + "@example.org>";
}

std::string Message(int index, std::mt19937& random, const StoreShape& shape) {
  const int day = 1 + static_cast<int>(random() % 28);
  const int month = static_cast<int>(random() % 12);
  const int year = 2005 + static_cast<int>(random() % 15);
  const int hour = static_cast<int>(random() % 24);
  char date[64];
  std::snprintf(date, sizeof date, "%d %s %d %02d:%02d:%02d +0100", day, kMonths[month], year,
                hour, index % 60, (index * 7) % 60);
  std::string text;
  text += "Return-Path: <" + std::to_string(index) + "@relay.example.org>\n";
  text += "Received: from mx.example.org (mx.example.org [192.0.2.7])\n\tby mail.example.net "
          "with ESMTPS id " + std::to_string(index) + ";\n\t" + date + "\n";
  text += "Received: from client.example.org by mx.example.org with ESMTP;\n\t" + std::string(date) + "\n";
  text += "Message-ID: <" + std::to_string(index) + ".bench@example.org>\n";
  text += "Date: " + std::string(date) + "\n";
  text += "From: " + Address(index) + "\n";
  text += "To: " + Address(index + 1) + ", " + Address(index + 3) + "\n";
  text += "Subject: " + std::string(kSubjects[index % 8]) + "\n";
  text += "MIME-Version: 1.0\n";
  const bool attach = index % shape.attachment_every == 0;
  if (!attach) {
    text += "Content-Type: text/plain; charset=utf-8\n\n";
    for (int line = 0; line < 20; ++line)
      text += "This is line " + std::to_string(line) + " of a generated message body.\n";
    return text;
  }
  text += "Content-Type: multipart/mixed; boundary=\"b1\"\n\n--b1\n"
          "Content-Type: text/plain; charset=utf-8\n\nPlease find the file attached.\n\n--b1\n"
          "Content-Type: application/octet-stream; name=\"data.bin\"\n"
          "Content-Transfer-Encoding: base64\n"
          "Content-Disposition: attachment; filename=\"data.bin\"\n\n";
  static const char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  const int encoded = shape.attachment_bytes * 4 / 3;
  for (int i = 0; i < encoded; ++i) {
    text += kBase64[random() % 64];
    if (i % 76 == 75) text += '\n';
  }
  text += "\n--b1--\n";
  return text;
}

}  // namespace

int MakeBenchStore(const fs::path& root, const StoreShape& shape) {
  const fs::path store = root / "Bench";
  const fs::path done = root / ".complete";
  // A store of another size is made again.
  if (std::ifstream ready(done); ready) {
    int made = 0;
    if (ready >> made && made == shape.messages) return made;
  }
  fs::remove_all(root);
  std::mt19937 random(4711);
  const int per_folder = shape.messages / shape.folders;
  int written = 0;
  for (int folder = 0; folder < shape.folders; ++folder) {
    // Twenty top folders of ten subfolders each.
    const fs::path directory = store / ("Folder " + std::to_string(folder / 10)) /
                               ("Sub " + std::to_string(folder % 10));
    fs::create_directories(directory / "cur");
    fs::create_directories(directory / "new");
    fs::create_directories(directory / "tmp");
    for (int i = 0; i < per_folder; ++i, ++written) {
      std::ofstream out(directory / "cur" / (std::to_string(1600000000 + written) + ".M" +
                                             std::to_string(written) + ".bench:2,S"),
                        std::ios::binary);
      out << Message(written, random, shape);
    }
  }
  std::ofstream(done) << written << "\n";
  return written;
}

}  // namespace qs::bench
