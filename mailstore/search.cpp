#include "mailstore/search.h"

#include "mailstore/date_parse.h"
#include "mailstore/date_text.h"
#include "mailstore/folder_path.h"
#include "platform/application.h"

namespace qs {

void SearchMailFolder(Application& app, const MailStoreOpener& open, const std::string& path,
                      FoundItemSink& found, const SearchOptions& settings) {
  try {
    std::unique_ptr<MailStore> store = open(app);
    std::unique_ptr<Folder> folder = GetFolderFromPath(app, *store, path);
    found.Start({settings.date_format, CurrentLocaleFacts()});
    if (!folder) throw MailStoreError("no folder at " + path);
    const SearchContext context{found, settings, CurrentLocaleFacts()};
    SearchFolder(context, *folder);
  } catch (const std::exception& error) {
    app.Debug(std::string("search: ") + error.what());
    app.ReportFailure(kSearchFailure);
  }
}

void SearchFolder(const SearchContext& context, Folder& folder) {
  const DateTime since =
      DateOrDefault(context.settings.since, MakeDateTime(1900, 1, 1), context.locale);
  const DateTime before =
      DateOrDefault(context.settings.before, MakeDateTime(2099, 12, 31), context.locale);
  std::string folder_path;
  const std::int32_t items = folder.ItemCount();
  for (std::int32_t position = 1; position <= items; ++position) {
    std::unique_ptr<MailItem> item = folder.ItemAt(position);
    try {
      if (item->Class() != kMailItemClass) continue;
      const DateTime latest = GetLatestTime(*item);
      if (latest < since || before < latest) continue;
      if (folder_path.empty()) folder_path = folder.FolderPath();
      AddMailToList(context, folder_path, *item);
    } catch (const ItemGone&) {
      // Moved or deleted by its mail client since the folder was listed:
      // there is nothing left to list, and the rest of the search stands.
    }
  }
  const std::int32_t subfolders = folder.SubfolderCount();
  for (std::int32_t position = 1; position <= subfolders; ++position)
    SearchFolder(context, *folder.SubfolderAt(position));
}

DateTime GetLatestTime(MailItem& item) {
  DateTime latest = item.CreationTime();
  if (item.Sent()) latest = std::max(latest, item.SentOn());
  return std::max(latest, item.ReceivedTime());
}

void AddMailToList(const SearchContext& context, const std::string& folder_path, MailItem& item) {
  // Everything is read before the row is handed on, so that an item that
  // cannot be read leaves no half-filled row behind.
  FoundItem found;
  found.sent = item.SentOn();
  found.from = item.SenderEmailAddress();
  found.subject = item.Subject();
  found.to = item.To();
  found.received = item.ReceivedTime();
  found.entry_id = item.EntryID();
  found.folder = folder_path;
  found.latest = GetLatestTime(item);
  context.found.Add(std::move(found));
}

}  // namespace qs
