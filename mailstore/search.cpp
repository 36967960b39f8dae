#include "mailstore/search.h"

#include <algorithm>
#include <atomic>
#include <deque>
#include <exception>
#include <memory>
#include <optional>
#include <vector>

#include "mailstore/date_parse.h"
#include "mailstore/folder_path.h"
#include "platform/application.h"

namespace qs {

namespace {

// Items are taken from the folders this many ahead per thread of the one
// being listed, so that a folder of a million items never holds a million
// open items.
constexpr std::size_t kItemsPerThread = 256;

// A folder whose items are on their way into the list. Its path is asked
// for once, when a row or a failure first needs it.
class FolderInFlight {
 public:
  explicit FolderInFlight(std::unique_ptr<Folder> folder) : folder_(std::move(folder)) {}
  Folder& Get() { return *folder_; }
  const std::string& Path() {
    if (!path_) path_ = folder_->FolderPath();
    return *path_;
  }

 private:
  std::unique_ptr<Folder> folder_;
  std::optional<std::string> path_;
};

// One item taken from its folder, and what reading it gave.
struct ItemInFlight {
  ItemInFlight(std::shared_ptr<FolderInFlight> from, std::int32_t at)
      : folder(std::move(from)), position(at) {}
  std::shared_ptr<FolderInFlight> folder;
  std::int32_t position;
  std::optional<FoundItem> row;
  std::exception_ptr error;
  std::optional<std::string> unreadable;
  std::atomic<bool> read{false};
};

// Walks the folder tree on the search's own thread; the pool's threads take
// each item from its folder and read it, and the items are listed in the
// folders' order. One thread takes and reads a window of items, then lists
// them all, folder by folder, as the store's own thread must.
class SearchWalk {
 public:
  explicit SearchWalk(const SearchContext& context)
      : context_(context),
        window_(kItemsPerThread * context.pool.Threads()),
        row_by_row_(context.pool.Threads() > 1) {}
  // Reading tasks point into the items: none may outlive them.
  ~SearchWalk() {
    context_.pool.WaitUntil([this] {
      return std::all_of(items_.begin(), items_.end(),
                         [](const ItemInFlight& item) { return item.read.load(); });
    });
  }
  SearchWalk(const SearchWalk&) = delete;
  SearchWalk& operator=(const SearchWalk&) = delete;

  // The folder's own items, then those of each subfolder in turn. A failure
  // to list a folder ends the search after the items before it are listed;
  // one to take or read an item, after those before it.
  void Walk(std::unique_ptr<Folder> top) {
    try {
      WalkFolder(std::make_shared<FolderInFlight>(std::move(top)));
    } catch (...) {
      if (!ended_) ListAll();
      throw;
    }
    ListAll();
  }

 private:
  void WalkFolder(const std::shared_ptr<FolderInFlight>& folder) {
    const std::int32_t items = folder->Get().ItemCount();
    for (std::int32_t position = 1; position <= items; ++position) {
      if (items_.size() >= window_) row_by_row_ ? ListFront() : ListAll();
      Take(folder, position);
    }
    if (!row_by_row_) ListAll();
    const std::int32_t subfolders = folder->Get().SubfolderCount();
    for (std::int32_t position = 1; position <= subfolders; ++position)
      WalkFolder(std::make_shared<FolderInFlight>(folder->Get().SubfolderAt(position)));
  }

  void Take(const std::shared_ptr<FolderInFlight>& folder, std::int32_t position) {
    ItemInFlight& taken = items_.emplace_back(folder, position);
    try {
      context_.pool.Post([this, &taken] {
        Read(taken);
        taken.read = true;
      });
    } catch (...) {
      items_.pop_back();  // no task will ever read it
      throw;
    }
  }

  // Takes the item from its folder and reads it. The item is made and let
  // go of on the thread that reads it: only its row goes to the list.
  void Read(ItemInFlight& taken) const {
    std::unique_ptr<MailItem> item;
    try {
      item = taken.folder->Get().ItemAt(taken.position);
    } catch (...) {
      taken.error = std::current_exception();  // an item that cannot be taken ends the search
      return;
    }
    try {
      taken.row = ReadFoundItem(context_, *item);
    } catch (const ItemGone&) {
      // Moved or deleted by its mail client since the folder was listed:
      // there is nothing left to list, and the rest of the search stands.
    } catch (const ItemUnreadable& error) {
      // The user's own mail, damaged: counted and named, not the end of
      // the search, where the search counts such items.
      if (context_.unreadable)
        taken.unreadable = error.what();
      else
        taken.error = std::current_exception();
    } catch (...) {
      taken.error = std::current_exception();
    }
  }

  // Lists the oldest item once it is read; a failure to read it that ends
  // the search leaves here.
  void ListFront() {
    ItemInFlight& front = items_.front();
    context_.pool.WaitUntil([&front] { return front.read.load(); });
    const std::shared_ptr<FolderInFlight> folder = front.folder;
    const std::exception_ptr error = front.error;
    const std::optional<std::string> unreadable = std::move(front.unreadable);
    std::optional<FoundItem> row = std::move(front.row);
    items_.pop_front();
    if (error) {
      ended_ = true;
      std::rethrow_exception(error);
    }
    if (unreadable) context_.unreadable(folder->Path(), unreadable->c_str());
    if (!row) return;
    row->folder = folder->Path();
    context_.found.Add(std::move(*row));
  }

  void ListAll() {
    while (!items_.empty()) ListFront();
  }

  const SearchContext& context_;
  const std::size_t window_;
  const bool row_by_row_;
  std::deque<ItemInFlight> items_;
  bool ended_ = false;  // by an item that could not be read
};

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
    SearchWalk(context).Walk(std::move(folder));
    if (unreadable > 0) app.ReportFailure(std::to_string(unreadable) + " items could not be read.");
  } catch (const std::exception& error) {
    app.Debug(std::string("search: ") + error.what());
    app.ReportFailure(kSearchFailure);
  }
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
