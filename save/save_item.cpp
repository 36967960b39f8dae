#include "save/save_item.h"

#include <exception>
#include <stdexcept>

#include "mailstore/found_items.h"
#include "mailstore/mail_store.h"
#include "platform/application.h"
#include "platform/file_system.h"
#include "platform/system.h"
#include "platform/text.h"
#include "save/item_name.h"
#include "save/item_subfolder.h"
#include "save/make_dirs.h"
#include "save/safe_names.h"

namespace qs {

namespace {

// The item of one row on its way to disk: what a failed step names.
struct ItemSave {
  SaveRun& run;
  std::int32_t row;
  MailItem* item = nullptr;

  // One step of the writing stage: its failure is not the run's end, but
  // its reason is kept for the diagnostic output.
  template <class Step>
  bool Attempt(const std::string& what, Step step) {
    try {
      step();
      return true;
    } catch (const std::exception& error) {
      run.app.Debug("row " + std::to_string(row) + ": " + what + ": " + error.what());
      return false;
    }
  }

  // A directory that is already there is as good as a new one: saving a
  // list again reuses the item directories of the last run. Leftovers of an
  // earlier run killed while writing into it are cleared once per run.
  bool EnsureDirectory(const std::string& path) {
    return Attempt("cannot make the directory " + path, [&] {
      try {
        MakeDirectory(path);
        run.swept.insert(path);  // new: nothing in it to clear
      } catch (const std::exception&) {
        if (!IsDirectory(path)) throw;
        Sweep(path);
      }
    });
  }

  void Sweep(const std::string& dir) {
    if (run.swept.insert(dir).second) RemoveStaleTemporaries(dir);
  }

  bool SaveFile(const std::string& dir, const std::string& base, const std::string& extension,
                SaveType type) {
    Sweep(dir);
    const std::string path =
        dir + run.names.Claim(dir, SafeFileBaseName(base, extension), extension);
    const std::string what = "cannot save " + path;
    if (type != SaveType::Message) return Attempt(what, [&] { item->SaveAs(path, type); });
    // Unicode keeps every character of the mail; the older format only where
    // the store refuses it.
    return Attempt(what + " as Unicode", [&] { item->SaveAs(path, SaveType::MessageUnicode); }) ||
           Attempt(what, [&] { item->SaveAs(path, SaveType::Message); });
  }

  bool SaveAttachments(const std::string& item_dir) {
    std::int32_t count = 0;
    if (!Attempt("cannot count the attachments", [&] { count = item->AttachmentCount(); }))
      return false;
    if (count <= 0) return true;
    const std::string dir = item_dir + PathSeparator() + "attachments";
    bool whole = EnsureDirectory(dir);
    for (std::int32_t i = 1; i <= count; ++i) {
      whole &= Attempt("cannot save attachment " + std::to_string(i), [&] {
        const auto attachment = item->AttachmentAt(i);
        const std::string name = SafeEntryName(CleanFileName(attachment->FileName()));
        const auto [stem, extension] = SplitExtension(name);
        attachment->SaveAsFile(dir + PathSeparator() + run.names.Claim(dir, stem, extension));
      });
    }
    return whole;
  }

  bool SaveDirectory(const std::string& dir, const std::string& base) {
    const std::string item_dir = dir + run.names.Claim(dir, SafeEntryName(base), {}, true);
    const char separator = PathSeparator();
    bool whole = EnsureDirectory(item_dir);
    for (const auto& form : {std::pair{"message.txt", SaveType::Text},
                             std::pair{"message.html", SaveType::Html}}) {
      const std::string path = item_dir + separator + form.first;
      whole &= Attempt("cannot save " + path, [&] { item->SaveAs(path, form.second); });
    }
    whole &= SaveAttachments(item_dir);
    return whole;
  }
};

}  // namespace

bool SaveItem(SaveRun& run, const std::string& mail_folder, const FoundItems& list,
              std::int32_t row, const std::string& save_dir) {
  const FoundItem found = list.Item(row);
  const SaveOptions& settings = run.settings;
  const std::string format = AsciiLower(settings.fn_output);
  const std::string base =
      CleanFileName(FormatItemName(settings.fn_format, ColumnTexts(found, list.Dates()),
                                   settings.clip_address, settings.clip_subject));
  ItemSave save{run, row};
  // An item deleted, moved or changed since the search is one item not
  // saved; the rows after it still are.
  std::unique_ptr<MailItem> item;
  const std::string& entry_id = found.entry_id;
  if (!save.Attempt("cannot fetch the item " + entry_id, [&] {
        item = run.store.GetItemFromID(entry_id);
        if (!item || item->Class() != kMailItemClass)
          throw MailStoreError("the listed item is not a mail item");
      }))
    return false;
  save.item = item.get();
  std::string dir = save_dir;
  if (settings.use_fn_folder) {
    const std::string subfolder = SafeSubfolder(GetItemSubfolder(mail_folder, *item));
    if (!subfolder.empty()) {
      dir += subfolder;
      MakeDirs(dir);
      dir += PathSeparator();
    }
  }

  if (format == "msg") return save.SaveFile(dir, base, ".msg", SaveType::Message);
  if (format == "txt") return save.SaveFile(dir, base, ".txt", SaveType::Text);
  if (format == "rtf") return save.SaveFile(dir, base, ".rtf", SaveType::RichText);
  if (format == "dir") return save.SaveDirectory(dir, base);
  run.app.ReportFailure("Error in output format.");
  return false;
}

}  // namespace qs
