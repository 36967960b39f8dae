#include "mailstore/search.h"

#include <exception>
#include <optional>
#include <vector>

#include "mailstore/date_parse.h"
#include "mailstore/folder_path.h"
#include "platform/application.h"

namespace qs {

namespace {

// Items are taken from a folder this many at a time, so that a folder of a
// million items never holds a million open items.
constexpr std::int32_t kBatch = 256;

}  // namespace

void SearchMailFolder(Application& app, const MailStoreOpener& open, const std::string& path,
                      FoundItemSink& found, const SearchOptions& settings) {
  try {
    std::unique_ptr<MailStore> store = open(app);
    std::unique_ptr<Folder> folder = GetFolderFromPath(app, *store, path);
    found.Start({settings.date_format, CurrentLocaleFacts()});
    if (!folder) throw MailStoreError("no folder at " + path);
    const LocaleFacts locale = CurrentLocaleFacts();
    WorkerPool pool(store->ItemsInParallel() ? WorkerThreads() : 1);
    std::int64_t unreadable = 0;
    const SearchContext context{
        found, pool,
        DateOrDefault(settings.since, MakeDateTime(1900, 1, 1), locale),
        DateOrDefault(settings.before, MakeDateTime(2099, 12, 31), locale),
        [&](const std::string& folder_path, const char* reason) {
          ++unreadable;
          app.Debug("search: an item of " + folder_path + " could not be read: " + reason);
        }};
    SearchFolder(context, *folder);
    if (unreadable > 0) app.ReportFailure(std::to_string(unreadable) + " items could not be read.");
  } catch (const std::exception& error) {
    app.Debug(std::string("search: ") + error.what());
    app.ReportFailure(kSearchFailure);
  }
}

void SearchFolder(const SearchContext& context, Folder& folder) {
  std::string folder_path;
  const std::int32_t items = folder.ItemCount();
  for (std::int32_t first = 1; first <= items; first += kBatch) {
    // The batch's items are taken in order; one that cannot be taken ends
    // the search after the rows before it.
    std::vector<std::unique_ptr<MailItem>> batch;
    std::exception_ptr stop;
    for (std::int32_t position = first; position < first + kBatch && position <= items; ++position) {
      try {
        batch.push_back(folder.ItemAt(position));
      } catch (...) {
        stop = std::current_exception();
        break;
      }
    }
    std::vector<std::optional<FoundItem>> rows(batch.size());
    std::vector<std::exception_ptr> errors(batch.size());
    std::vector<std::optional<std::string>> unreadable(batch.size());
    context.pool.ForEach(batch.size(), [&](std::size_t i) {
      try {
        rows[i] = ReadFoundItem(context, *batch[i]);
      } catch (const ItemGone&) {
        // Moved or deleted by its mail client since the folder was listed:
        // there is nothing left to list, and the rest of the search stands.
      } catch (const ItemUnreadable& error) {
        // The user's own mail, damaged: counted and named, not the end of
        // the search, where the search counts such items.
        if (context.unreadable)
          unreadable[i] = error.what();
        else
          errors[i] = std::current_exception();
      } catch (...) {
        errors[i] = std::current_exception();
      }
    });
    for (std::size_t i = 0; i < batch.size(); ++i) {
      if (errors[i]) std::rethrow_exception(errors[i]);
      if (unreadable[i]) context.unreadable(folder.FolderPath(), unreadable[i]->c_str());
      if (!rows[i]) continue;
      if (folder_path.empty()) folder_path = folder.FolderPath();
      rows[i]->folder = folder_path;
      context.found.Add(std::move(*rows[i]));
    }
    if (stop) std::rethrow_exception(stop);
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

std::optional<FoundItem> ReadFoundItem(const SearchContext& context, MailItem& item) {
  if (item.Class() != kMailItemClass) return std::nullopt;
  const DateTime latest = GetLatestTime(item);
  if (latest < context.since || context.before < latest) return std::nullopt;
  // Everything is read before the row is handed on, so that an item that
  // cannot be read leaves no half-filled row behind.
  FoundItem found;
  found.sent = item.SentOn();
  found.from = item.SenderEmailAddress();
  found.subject = item.Subject();
  found.to = item.To();
  found.received = item.ReceivedTime();
  found.entry_id = item.EntryID();
  found.latest = latest;
  return found;
}

}  // namespace qs
