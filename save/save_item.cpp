#include "save/save_item.h"

#include <algorithm>
#include <exception>
#include <stdexcept>

#include "mailstore/found_items.h"
#include "platform/case_folding.h"
#include "platform/file_system.h"
#include "platform/reporter.h"
#include "platform/system.h"
#include "platform/text.h"
#include "save/item_name.h"
#include "save/item_subfolder.h"
#include "save/make_dirs.h"
#include "save/record_path.h"
#include "save/safe_names.h"

namespace qs {

namespace {

// The path of a file below the directory of a page beside it, "/" between
// names, as the page links it.
std::string PathBelow(const std::string& page, const std::string& path) {
  std::string below = path.substr(page.rfind(PathSeparator()) + 1);
  std::replace(below.begin(), below.end(), PathSeparator(), '/');
  return below;
}

}  // namespace

ItemSave::ItemSave(const FoundItems& list, std::int32_t row)
    : row_(row), list_(list), entry_id_(list.RowEntryId(row)) {}

// Built only for an item that is written: most of a list saved again is not.
std::string ItemSave::BaseName(const SaveRun& run) const {
  const FoundItem found = list_.Item(row_);
  const auto column_text = [&found, this](std::size_t k) {
    return ColumnText(kFoundColumns[k], found, list_.Dates());
  };
  return CleanFileName(FormatItemName(run.settings.fn_format, column_text, run.clips));
}

void ItemSave::Note(const std::string& text) { log_.push_back("row " + std::to_string(row_) + ": " + text); }

template <class What, class Step>
bool ItemSave::Attempt(What what, Step step) {
  try {
    step();
    return true;
  } catch (const std::exception& error) {
    Note(what() + ": " + error.what());
    return false;
  }
}

void ItemSave::Fetch(const SaveRun& run) {
  // A mail the record holds may be found unchanged from its mark alone.
  if (run.previous.Size() > 0 && MarkedUnchanged(run)) return;
  if (!Attempt([&] { return "cannot fetch the item " + entry_id_.Hex(); }, [&] {
        item_ = run.store.GetListedItem(entry_id_, list_.RowFolder(row_));
        if (!item_) throw MailStoreError("the listed item is not there");
      })) {
    return;
  }
  ItemMark mark;
  if (run.settings.use_fn_folder) {
    try {
      mark.folder = item_->Parent()->FullPath();
    } catch (const std::exception&) {
      // Without its subdirectory the item is still saved, in the save directory.
    }
  }
  // Without them the item is saved as if the record did not know it, and
  // saved again by the next run.
  const bool told = Attempt([] { return std::string("cannot tell the item from others"); }, [&] {
    mark.identity = item_->Identity();
    mark.modified = item_->LastModificationTime();
    mark.size = item_->Size();
  });
  folder_path_ = mark.folder;
  if (told && Recognize(run, mark)) {
    item_.reset();
    return;
  }
  if (!Attempt([&] { return "cannot fetch the item " + entry_id_.Hex(); }, [&] {
        if (item_->Class() != kMailItemClass) throw MailStoreError("the listed item is not a mail item");
      })) {
    item_.reset();
    return;
  }
  if (!run.SavesDirectories()) return;
  std::int32_t count = 0;
  if (!Attempt([] { return std::string("cannot count the attachments"); },
               [&] { count = item_->AttachmentCount(); }))
    return;
  attachments_.emplace();
  for (std::int32_t i = 1; i <= count; ++i) {
    std::optional<std::string>& name = attachments_->emplace_back();
    Attempt([i] { return "cannot save attachment " + std::to_string(i); },
            [&] { name = SafeEntryName(CleanFileName(item_->AttachmentAt(i)->FileName())); });
  }
}

bool ItemSave::MarkedUnchanged(const SaveRun& run) {
  try {
    const std::optional<ItemMark> mark = run.store.MarkOf(entry_id_);
    return mark && Recognize(run, *mark);
  } catch (const std::exception&) {
    return false;  // the fetch finds out
  }
}

bool ItemSave::Recognize(const SaveRun& run, const ItemMark& mark) {
  identity_ = mark.identity;
  folder_path_ = run.settings.use_fn_folder ? mark.folder : std::string();
  if (run.previous.Size() > 0) previous_ = run.previous.Find(identity_, folder_path_, run.shape_text.key);
  mail_modified_ = mark.modified.time_since_epoch().count();
  mail_size_ = mark.size;
  unchanged_ = Unchanged(run);
  return unchanged_;
}

// Unchanged: the record holds the item whole, from the same writer, as the
// store shows it now, and each of its files as it was written.
bool ItemSave::Unchanged(const SaveRun& run) const {
  if (!previous_ || !previous_->whole || previous_->files.empty() || previous_->writer != run.writer ||
      mail_size_ < 0 || previous_->mail_modified != mail_modified_ || previous_->mail_size != mail_size_)
    return false;
  for (const SavedFile& file : previous_->files)
    if (run.previous_files.Of(file.path) != file.stamp) return false;
  return true;
}

// A directory that is already there is as good as a new one: saving a list
// again reuses the item directories of the last run. Leftovers of an earlier
// run killed while writing into it are cleared once per run. A new one has
// none, and no other item of the run claims its name.
bool ItemSave::EnsureDirectory(SaveRun& run, const std::string& path) {
  return Attempt([&] { return "cannot make the directory " + path; }, [&] {
    try {
      MakeDirectory(path);
    } catch (const std::exception&) {
      if (!IsPlainDirectory(path)) {
        if (IsDirectory(path)) throw std::runtime_error("it is a link, which is not followed");
        throw;
      }
      Sweep(run, path);
    }
  });
}

void ItemSave::Sweep(SaveRun& run, const std::string& dir) {
  if (run.swept.insert(dir).second) RemoveStaleTemporaries(dir);
}

void ItemSave::Place(SaveRun& run) {
  if (!item_) return;
  base_ = BaseName(run);
  std::string dir = run.save_dir;
  if (!folder_path_.empty()) {
    if (folder_path_ != run.last_folder_path) {
      run.last_subfolder = SafeSubfolder(ItemSubfolder(run.mail_folder, folder_path_));
      run.last_folder_path = folder_path_;
    }
    if (!run.last_subfolder.empty()) {
      dir += run.last_subfolder;
      auto [made, first] = run.made.try_emplace(dir, true);
      if (first) made->second = MakePlainDirs(run.save_dir, dir);
      if (!made->second) {
        Note(dir + " has a link on the way, which is not followed: not saved");
        item_.reset();
        return;
      }
      dir += PathSeparator();
    }
  }
  if (run.SavesDirectories()) return PlaceDirectory(run, dir);
  if (run.output) return PlaceFile(run, dir, std::string(run.output->extension), run.output->type);
  run.report.ReportFailure("Error in output format.");
  item_.reset();
}

std::string ItemSave::ClaimName(SaveRun& run, const std::string& dir, std::string_view stem,
                                std::string_view extension, bool directory) {
  const std::string below = dir.substr(run.save_dir.size());
  if (previous_) {
    const std::string recorded = FromRecordPath(previous_->name);
    if (recorded.starts_with(below) && recorded.find(PathSeparator(), below.size()) == std::string::npos) {
      std::string name = recorded.substr(below.size());
      if (run.names.Take(dir, name)) return name;
    }
  }
  // The names this run gave are its claims'; those of earlier runs the
  // record's.
  const bool recorded = run.previous.Size() > 0;
  const auto owner = [&](const std::string& name) {
    return recorded ? run.previous.OwnerOf(ToRecordPath(below + name)) : nullptr;
  };
  auto [listed, first] = run.present.try_emplace(dir);
  if (first)
    for (const std::string& name : DirectoryNames(dir)) listed->second.insert(FoldCase(name));
  const std::unordered_set<std::string>& present = listed->second;
  const auto exists = [&present](const std::string& name) { return present.contains(FoldCase(name)); };
  const auto reserved = [&](const std::string& name) {
    if (!below.empty()) return false;
    const std::string folded = FoldCase(name);
    return folded == kSaveRecordName || folded == kSaveLockName;
  };
  std::string wanted = run.names.Claim(dir, stem, extension, directory, [&](const std::string& name) {
    const std::string* holder = owner(name);
    return !reserved(name) && (!holder || (!identity_.empty() && *holder == identity_));
  });
  if (owner(wanted) || !exists(wanted)) return wanted;
  // Only a plain file or directory may hold this mail already; a link
  // there is passed over like any other stranger.
  const std::string there = dir + wanted;
  if (directory ? IsPlainDirectory(there) : RegularFileStamp(there).has_value())
    candidate_ = below + wanted;
  else
    Note(there + " is a link or no plain " + (directory ? "directory" : "file") +
         "; the item takes another name");
  // The names passed over here stand for files of their own: a count apart.
  return run.names.Claim(
      dir, stem, extension, directory,
      [&](const std::string& name) { return !reserved(name) && !owner(name) && !exists(name); }, 1);
}

void ItemSave::PlaceFile(SaveRun& run, const std::string& dir, const std::string& extension,
                         SaveType type) {
  Sweep(run, dir);
  const std::string name = ClaimName(run, dir, SafeFileBaseName(base_, extension), extension, false);
  name_ = dir.substr(run.save_dir.size()) + name;
  writes_.push_back({dir + name, type});
  whole_ = true;
}

void ItemSave::PlaceDirectory(SaveRun& run, const std::string& dir) {
  const std::string item_dir = dir + ClaimName(run, dir, SafeEntryName(base_), {}, true);
  name_ = item_dir.substr(run.save_dir.size());
  const char separator = PathSeparator();
  // Nothing is written where its directory is not: below a link above all.
  whole_ = EnsureDirectory(run, item_dir);
  if (!whole_) return;
  writes_.push_back({item_dir + separator + "message.txt", SaveType::Text});
  writes_.push_back({item_dir + separator + "message.html", SaveType::Html});
  if (!attachments_) {
    whole_ = false;  // they could not be counted
    return;
  }
  if (attachments_->empty()) return;
  const std::string attachments_dir = item_dir + separator + "attachments";
  if (!EnsureDirectory(run, attachments_dir)) {
    whole_ = false;
    return;
  }
  for (std::size_t i = 0; i < attachments_->size(); ++i) {
    const std::optional<std::string>& name = (*attachments_)[i];
    if (!name) {
      whole_ = false;
      continue;
    }
    const auto [stem, extension] = SplitExtension(*name);
    writes_.push_back({attachments_dir + separator + run.names.Claim(attachments_dir, stem, extension),
                       SaveType::Text, static_cast<int>(i + 1)});
  }
}

void ItemSave::Write(const SaveRun& run) {
  // A page that links its pictures to the attachments saved beside it is
  // written after them, knowing which were.
  const bool linked_page = run.store.LinksPictures() && run.SavesDirectories();
  std::vector<PageLink> saved;
  FileWrite* page = nullptr;
  for (FileWrite& file : writes_) {
    if (file.attachment > 0) {
      const bool written = Attempt([&] { return "cannot save attachment " + std::to_string(file.attachment); },
                                   [&] { file.stamp = item_->AttachmentAt(file.attachment)->SaveAsFile(file.path); });
      whole_ &= written;
      if (written && page) saved.push_back({file.attachment, PathBelow(page->path, file.path)});
      continue;
    }
    if (linked_page && file.type == SaveType::Html) {
      page = &file;
      continue;
    }
    const auto what = [&file] { return "cannot save " + file.path; };
    if (file.type != SaveType::Message) {
      whole_ &= Attempt(what, [&] { file.stamp = item_->SaveAs(file.path, file.type); });
    } else {
      // Unicode keeps every character of the mail; the older format only
      // where the store refuses it.
      whole_ &= Attempt([&] { return what() + " as Unicode"; },
                        [&] { file.stamp = item_->SaveAs(file.path, SaveType::MessageUnicode); }) ||
                Attempt(what, [&] { file.stamp = item_->SaveAs(file.path, SaveType::Message); });
    }
  }
  if (page)
    whole_ &= Attempt([&] { return "cannot save " + page->path; },
                      [&] { page->stamp = item_->SaveLinkedPageAs(page->path, saved); });
  // The item is done with; its mail need not stay in memory until the
  // rows around it are.
  item_.reset();
  if (!candidate_.empty()) AdoptCandidate(run);
  Record();
}

void ItemSave::AdoptCandidate(const SaveRun& run) {
  const std::string written = run.save_dir + name_;
  const std::string candidate = run.save_dir + candidate_;
  bool same = whole_;
  for (const FileWrite& file : writes_)
    same = same && SameFileContents(file.path, candidate + file.path.substr(written.size()));
  if (!same) {
    Note(candidate + " was not saved by this program or holds another mail; saved as " + written);
    return;
  }
  // What was just written goes again; the directories only once empty.
  for (auto file = writes_.rbegin(); file != writes_.rend(); ++file) {
    RemoveEntry(file->path);
    file->path = candidate + file->path.substr(written.size());
    file->stamp.reset();
  }
  if (run.SavesDirectories()) {
    RemoveEntry(written + PathSeparator() + "attachments");
    RemoveEntry(written);
  }
  name_ = candidate_;
  adopted_ = true;
}

void ItemSave::Record() {
  if (identity_.empty() || name_.empty()) return;
  saved_whole_ = whole_;
  for (FileWrite& file : writes_) {
    // A file the store did not stamp as it wrote it is looked at: one that
    // could not be written may still be there from an earlier run.
    if (!file.stamp) file.stamp = RegularFileStamp(file.path);
    // Nothing written at all: the record keeps what it held.
    if (file.stamp) recorded_ = true;
    else saved_whole_ = false;
  }
}

bool ItemSave::PutInto(SaveRecord& record, const SaveRun& run, RecordRoom& room) {
  if (!std::exchange(recorded_, false)) return false;
  std::size_t count = 0;
  for (const FileWrite& file : writes_) {
    if (!file.stamp) continue;
    if (room.files.size() == count) room.files.emplace_back();
    SavedFile& saved = room.files[count++];
    AssignRecordPath(saved.path, std::string_view(file.path).substr(run.save_dir.size()));
    saved.stamp = *file.stamp;
  }
  AssignRecordPath(room.name, name_);
  record.Put({.identity = identity_,
              .folder = folder_path_,
              .writer = run.writer,
              .mail_modified = mail_modified_,
              .mail_size = mail_size_,
              .whole = saved_whole_,
              .name = room.name,
              .files = std::span<const SavedFile>(room.files.data(), count)},
             run.shape_text);
  return true;
}

SaveOutcome ItemSave::Outcome() const {
  if (unchanged_ || adopted_) return SaveOutcome::Unchanged;
  return whole_ && !writes_.empty() ? SaveOutcome::Saved : SaveOutcome::NotSaved;
}

}  // namespace qs
