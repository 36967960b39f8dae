#include "save/save_item.h"

#include <exception>
#include <stdexcept>

#include "mailstore/mail_store.h"
#include "platform/application.h"
#include "platform/file_system.h"
#include "platform/list_view.h"
#include "platform/system.h"
#include "save/item_name.h"
#include "save/item_subfolder.h"
#include "save/make_dirs.h"
#include "save/row_texts.h"
#include "save/safe_names.h"

namespace qs {

namespace {

constexpr int kEntryIdColumn = 5;

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

// One step of the writing stage: its failure is not the run's end.
template <class Step>
bool Attempt(Step step) {
  try {
    step();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

// A directory that exists already is as good as a new one: saving a list
// again reuses the item directories of the last run.
bool EnsureDirectory(const std::string& path) {
  return Attempt([&] { MakeDirectory(path); }) || IsDirectory(path);
}

bool SaveFile(SaveRun& run, MailItem& item, const std::string& dir, const std::string& base,
              const std::string& extension, SaveType type) {
  const std::string name = run.names.Claim(dir, SafeFileBaseName(base, extension), extension);
  const std::string path = dir + name;
  if (type != SaveType::Message) return Attempt([&] { item.SaveAs(path, type); });
  // Unicode keeps every character of the mail; the older format only where
  // the store refuses it.
  return Attempt([&] { item.SaveAs(path, SaveType::MessageUnicode); }) ||
         Attempt([&] { item.SaveAs(path, SaveType::Message); });
}

bool SaveAttachments(SaveRun& run, MailItem& item, const std::string& item_dir) {
  std::int32_t count = 0;
  if (!Attempt([&] { count = item.AttachmentCount(); })) return false;
  if (count <= 0) return true;
  const std::string dir = item_dir + PathSeparator() + "attachments";
  bool whole = EnsureDirectory(dir);
  for (std::int32_t i = 1; i <= count; ++i) {
    whole &= Attempt([&] {
      const auto attachment = item.AttachmentAt(i);
      const std::string name = SafeEntryName(CleanFileName(attachment->FileName()));
      const auto [stem, extension] = SplitExtension(name);
      attachment->SaveAsFile(dir + PathSeparator() + run.names.Claim(dir, stem, extension));
    });
  }
  return whole;
}

bool SaveDirectory(SaveRun& run, MailItem& item, const std::string& dir,
                   const std::string& base) {
  const std::string item_dir = dir + run.names.Claim(dir, SafeEntryName(base), {}, true);
  const char separator = PathSeparator();
  bool whole = EnsureDirectory(item_dir);
  whole &= Attempt([&] { item.SaveAs(item_dir + separator + "message.txt", SaveType::Text); });
  whole &= Attempt([&] { item.SaveAs(item_dir + separator + "message.html", SaveType::Html); });
  whole &= SaveAttachments(run, item, item_dir);
  return whole;
}

}  // namespace

bool SaveItem(SaveRun& run, const std::string& mail_folder, const ListView& list,
              std::int32_t row, const std::string& save_dir) {
  const SaveSettings& settings = run.settings;
  const std::string format = Lower(settings.fn_output);
  const std::string base = CleanFileName(FormatItemName(
      settings.fn_format, RowTexts(list, row), settings.clip_address, settings.clip_subject));
  const std::unique_ptr<MailItem> item = run.store.GetItemFromID(std::string(list.Text(row, kEntryIdColumn)));
  if (!item || item->Class() != kMailItemClass)
    throw MailStoreError("the listed item is not a mail item");
  std::string dir = save_dir;
  if (settings.use_fn_folder) {
    const std::string subfolder = SafeSubfolder(GetItemSubfolder(mail_folder, *item));
    if (!subfolder.empty()) {
      dir += subfolder;
      MakeDirs(dir);
      dir += PathSeparator();
    }
  }

  if (format == "msg") return SaveFile(run, *item, dir, base, ".msg", SaveType::Message);
  if (format == "txt") return SaveFile(run, *item, dir, base, ".txt", SaveType::Text);
  if (format == "rtf") return SaveFile(run, *item, dir, base, ".rtf", SaveType::RichText);
  if (format == "dir") return SaveDirectory(run, *item, dir, base);
  run.app.ReportFailure("Error in output format.");
  return false;
}

}  // namespace qs
