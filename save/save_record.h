#pragma once
// What earlier runs saved into a save directory: for each mail, the files
// written for it, with their sizes and times, and what the mail and the
// options were when they were written. A run reads it at its start and
// writes it whole as it goes, so that a mail keeps its names from run to
// run, no mail's file is ever taken by another mail, and a mail that did
// not change is not written again.
//
// The text is UTF-8, one line per mail, fields separated by tabs, with a
// header line that names the format and its version. A tab, a line end or a
// backslash inside a field is written as \t, \n, \r or \\. From version 2
// on, the notes of the last run that wrote it may follow the header: a line
// whose first field is empty, as no mail's identity is.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "mailstore/save_record_name.h"
#include "platform/file_system.h"

namespace qs {

// The lock of a run, beside the record's file at the top of the save
// directory. No mail is ever saved under either name.
inline constexpr std::string_view kSaveLockName = ".quillstow-lock";

class UnreadableRecord : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The options that shaped an item's files: the same mail saved under other
// options gets files of its own.
struct SaveShape {
  std::string format{};  // "msg", "txt", "rtf" or "dir"
  std::string name_format{};
  std::string date_format{};
  std::string clip_address{};
  std::string clip_subject{};
  bool subfolders = false;
  std::string mail_folder{};  // the subfolders are cut from it; empty without them
  bool operator==(const SaveShape&) const = default;
};

struct SavedFile {
  std::string path{};  // relative to the save directory, "/" between names
  FileStamp stamp{};
  bool operator==(const SavedFile&) const = default;
};

struct SavedMail {
  std::string identity{};
  std::string folder{};  // the mail's folder, where the subfolders need it
  SaveShape shape{};
  int writer = 0;                  // the version of the writer of its files
  std::int64_t mail_modified = 0;  // as the store reported it, seconds
  std::int64_t mail_size = 0;
  bool whole = true;  // false: some file is missing or cut; written again next time
  std::string name{};   // the entry its name claims: its file, or its own directory
  std::vector<SavedFile> files{};
  bool operator==(const SavedMail&) const = default;
};

// A mail as a run puts it into the record, under the run's own shape: its
// fields are read where they lie, not copied.
struct MailEntry {
  std::string_view identity;
  std::string_view folder;
  int writer = 0;
  std::int64_t mail_modified = 0;
  std::int64_t mail_size = 0;
  bool whole = true;
  std::string_view name;
  std::span<const SavedFile> files;
};

// What the last run that wrote the record did not save, and why, beside the
// mails: the items its search passed over as no mail, by kind, and its
// reasons for rows not saved, as the terminal shows them after the run.
struct RunNotes {
  std::string passed_over{};  // "passed over: 6 meeting requests, 1 report", or empty
  std::vector<std::string> reasons{};
  bool Empty() const { return passed_over.empty() && reasons.empty(); }
  bool operator==(const RunNotes&) const = default;
};

// A shape as a key, made once for a run's many lookups.
std::string ShapeKey(const SaveShape& shape);

// A shape as its key and as its fields of a mail's line, made once for the
// many mails of a run.
struct ShapeText {
  explicit ShapeText(const SaveShape& shape);
  std::string key;
  std::string fields;
};

class SaveRecord {
 public:
  // Throws UnreadableRecord for a text that is not a record of a version
  // this program reads.
  static SaveRecord Parse(std::string_view text);
  std::string Text() const;
  // Hands sink the text of this record laid over an older one, in pieces:
  // this record's notes, the older one's mails but those this record holds
  // anew, then this record's.
  void WriteOver(const SaveRecord& older, const std::function<void(std::string_view)>& sink) const;

  const RunNotes& Notes() const { return notes_; }
  void SetNotes(RunNotes notes) { notes_ = std::move(notes); }

  // The mail saved under that identity, folder and shape (its key); nothing
  // if none. From any thread while the record does not change.
  std::optional<SavedMail> Find(const std::string& identity, const std::string& folder,
                                const std::string& shape_key) const;
  // The identity of the mail whose name is that relative path (letters
  // compared as the file system compares them), among the mails the record
  // was read with; nullptr when no mail's.
  const std::string* OwnerOf(std::string_view name) const;
  // Adds the mail in place of one of the same identity, folder and shape.
  // Its line is written straight into the record's text. Until the record
  // is next looked in (or written over an older one), a mail put twice has
  // both lines in the text; the later counts when the text is read.
  void Put(const MailEntry& mail, const ShapeText& shape);
  void Put(const SavedMail& mail);
  std::size_t Size() const;
  // Room for that many more mails, so that a run's record does not grow in
  // steps.
  void Reserve(std::size_t more);

 private:
  // A mail's line in the text, with its line end.
  struct Line {
    std::size_t offset;
    std::size_t length;
  };
  std::string Header() const;
  // The mails' lines, each with its line end, those replaced taken out.
  const std::string& Lines() const;
  void Keep(std::string key, std::size_t offset, std::size_t length) const;
  // Puts the lines added since into mails_.
  void Index() const;
  std::string_view LineAt(const Line& line) const;

  // The mails' lines as read, then those of the mails added. A mail that
  // takes another's place leaves the old line in it until the text is next
  // asked for and made anew.
  RunNotes notes_;
  mutable std::string lines_;
  mutable std::unordered_map<std::string, Line> mails_;  // by identity, folder and shape
  mutable std::vector<Line> unindexed_;  // lines put but not yet in mails_
  mutable bool stale_ = false;
  std::unordered_map<std::string, std::string> owners_;  // identity by folded name
};

}  // namespace qs
