#pragma once
// Writing the mail item of one list row in the chosen output format.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "mailstore/mail_store.h"
#include "save/item_name.h"
#include "save/name_claims.h"
#include "save/output_format.h"
#include "save/save_record.h"
#include "save/saved_file_stamps.h"
#include "settings/option_values.h"

namespace qs {

class Reporter;
class FoundItems;

// What stays the same for every item of one save run, and what its items
// share: the names claimed, the directories cleared so far and the record
// as it grows, which only the run's own thread touches.
struct SaveRun {
  Reporter& report;
  MailStore& store;
  const SaveOptions& settings;
  std::string mail_folder;
  std::string save_dir;  // ends in the separator
  SaveShape shape;
  ShapeText shape_text;
  // Chosen once for the run from the settings: the output format (none for
  // an unknown name, which every item then reports) and the clip lengths.
  const OutputFormat* output = OutputFormatNamed(settings.fn_output);
  ClipLengths clips = ReadClipLengths(settings.clip_address, settings.clip_subject);
  bool SavesDirectories() const { return output && output->directory; }
  int writer = 0;  // the store's writer version of the format's files
  // The record as the run found it, read from any thread; and the mails the
  // run adds to it, on the run's thread.
  const SaveRecord& previous;
  SaveRecord& record;
  const SavedFileStamps& previous_files;  // the stamps of the files the record held
  std::int32_t recorded = 0;  // entries put into the record
  NameClaims names{};
  std::unordered_set<std::string> swept{};  // directories cleared of stale temporary files
  // Subfolders made or found, each asked for once: false for one with a
  // link on the way below the save directory, which is not followed.
  std::unordered_map<std::string, bool> made{};
  // The names each directory held, folded, when the run first named an item
  // there: one listing rather than a look per item. Only the run writes
  // there meanwhile (it holds the lock), and its own names are claimed.
  std::unordered_map<std::string, std::unordered_set<std::string>> present{};
  // The last folder path an item lay in, and its subfolder: a list comes
  // folder by folder.
  std::string last_folder_path{};
  std::string last_subfolder{};
};

// What became of one row.
enum class SaveOutcome { Saved, Unchanged, NotSaved };

// The item of one row on its way to disk, in three steps. Fetch and Write may
// run on any thread (where the store allows it); Place runs on the run's
// thread, row after row in list order, so that names are claimed as a
// one-thread run claims them. A failure that ends the whole run leaves as an
// exception; any other failure makes the item not whole, and its reason is
// kept for the diagnostic output.
class ItemSave {
 public:
  ItemSave(const FoundItems& list, std::int32_t row);

  // Fetches the item by its entry identifier and reads what naming it needs.
  // An item deleted, moved or changed since the search is one item not saved.
  // An item the record holds, unchanged and with its files as they were
  // written, is read no further.
  void Fetch(const SaveRun& run);
  // Makes the item's directories and claims its names; throws when its name
  // cannot be built from its row. An unknown output format is reported here,
  // for every item fetched.
  void Place(SaveRun& run);
  // Writes the files. An item not fetched or not placed writes nothing.
  void Write(const SaveRun& run);

  std::int32_t Row() const { return row_; }
  bool HasWrites() const { return !writes_.empty(); }
  SaveOutcome Outcome() const;
  // Room for the record's paths of one item after another, kept by the
  // run's thread so that putting an item into the record allocates little.
  struct RecordRoom {
    std::vector<SavedFile> files;
    std::string name;
  };
  // Puts into the record what it is to hold of the item now, on the run's
  // thread once the item is written, once; false when the record keeps what it
  // held.
  bool PutInto(SaveRecord& record, const SaveRun& run, RecordRoom& room);
  // The reasons of the steps that failed, in order.
  const std::vector<std::string>& Log() const { return log_; }

 private:
  struct FileWrite {
    std::string path;
    SaveType type;
    int attachment = 0;  // from 1 for an attachment's file
    std::optional<FileStamp> stamp{};  // as the store wrote it, where it tells
  };
  // Adds a line to the item's log, after its row number.
  void Note(const std::string& text);
  // Runs the step; when it fails, logs what() and the reason.
  template <class What, class Step>
  bool Attempt(What what, Step step);
  bool Unchanged(const SaveRun& run) const;
  // True when the store's mark of the item shows it unchanged; the item is
  // then not fetched at all.
  bool MarkedUnchanged(const SaveRun& run);
  // Looks the marked item up in the record; true when it is unchanged.
  bool Recognize(const SaveRun& run, const ItemMark& mark);
  std::string BaseName(const SaveRun& run) const;
  bool EnsureDirectory(SaveRun& run, const std::string& path);
  void Sweep(SaveRun& run, const std::string& dir);
  // The item's name in dir: the one the record gives it, else a new one
  // that no other mail's record holds; an entry found there that no record
  // holds becomes the candidate, and the name returned the next free one.
  std::string ClaimName(SaveRun& run, const std::string& dir, std::string_view stem,
                        std::string_view extension, bool directory);
  void PlaceFile(SaveRun& run, const std::string& dir, const std::string& extension, SaveType type);
  void PlaceDirectory(SaveRun& run, const std::string& dir);
  // Keeps the candidate in place of the files just written when they hold
  // the same bytes.
  void AdoptCandidate(const SaveRun& run);
  void Record();

  std::int32_t row_;
  const FoundItems& list_;
  std::string base_;
  EntryId entry_id_;
  std::unique_ptr<MailItem> item_;
  std::string folder_path_;  // where the item lies; empty when it cannot be told or is not needed
  std::string identity_;
  std::optional<SavedMail> previous_;  // in the record the run found
  std::int64_t mail_modified_ = 0, mail_size_ = -1;
  bool unchanged_ = false;
  bool adopted_ = false;  // the candidate held its bytes already
  // Below the save directory: the entry its files went into (its file, or
  // its own directory); and one that no record holds, found at the name it
  // wanted, which it takes instead when it holds the same bytes.
  std::string name_;
  std::string candidate_;
  // The attachments' names (nothing for one whose name could not be read),
  // when the item is saved as a directory and its attachments could be
  // counted.
  std::optional<std::vector<std::optional<std::string>>> attachments_;
  std::vector<FileWrite> writes_;
  bool whole_ = false;
  // Whether the record is to hold the item anew, its files stamped as they
  // were written; and whether it is to hold it as whole.
  bool recorded_ = false;
  bool saved_whole_ = false;
  std::vector<std::string> log_;
};

}  // namespace qs
