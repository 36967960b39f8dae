#include "mailstore/search.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <memory>
#include <optional>
#include <vector>

#include "mailstore/date_parse.h"
#include "mailstore/folder_path.h"
#include "platform/reporter.h"

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
  explicit FolderInFlight(std::unique_ptr<Folder> folder)
      : folder_(std::move(folder)), holds_mail_(folder_->HoldsMail()) {}
  Folder& Get() { return *folder_; }
  bool HoldsMail() const { return holds_mail_; }
  const std::string& Path() {
    if (!path_) path_ = folder_->FolderPath();
    return *path_;
  }

 private:
  std::unique_ptr<Folder> folder_;
  bool holds_mail_;
  std::optional<std::string> path_;
};

// One item taken from its folder, and what reading it gave. The slots are
// used again item after item, so that a row's texts keep the room they had:
// a row is made without allocating, and no text is made on one thread and
// let go of on another.
struct ItemInFlight {
  std::shared_ptr<FolderInFlight> folder;
  std::int32_t position = 0;
  FoundItem row;
  bool listed = false;  // the row holds the item, to be listed
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
        row_by_row_(context.pool.Threads() > 1),
        slots_(std::make_unique<ItemInFlight[]>(window_)) {}
  // Reading tasks point into the slots: none may outlive them.
  ~SearchWalk() {
    context_.pool.WaitUntil([this] {
      for (std::size_t k = 0; k < taken_; ++k)
        if (!Slot(k).read.load()) return false;
      return true;
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
      if (taken_ == window_) row_by_row_ ? ListFront() : ListAll();
      Take(folder, position);
    }
    if (!row_by_row_) ListAll();
    const std::int32_t subfolders = folder->Get().SubfolderCount();
    for (std::int32_t position = 1; position <= subfolders; ++position)
      WalkFolder(std::make_shared<FolderInFlight>(folder->Get().SubfolderAt(position)));
  }

  void Take(const std::shared_ptr<FolderInFlight>& folder, std::int32_t position) {
    ItemInFlight& taken = Slot(taken_);
    taken.folder = folder;
    taken.position = position;
    taken.listed = false;
    taken.error = nullptr;
    taken.unreadable.reset();
    taken.read = false;
    context_.pool.Post([this, &taken] {
      Read(taken);
      taken.read = true;
    });
    ++taken_;  // only once a task will read it
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
      taken.listed = ReadFoundItem(context_, *item, taken.row);
    } catch (const ItemGone&) {
      // Moved or deleted by its mail client since the folder was listed:
      // there is nothing left to list, and the rest of the search stands.
    } catch (const ItemUnreadable& error) {
      // The user's own mail, damaged: counted and named, not the end of
      // the search, where the search counts such items. In a folder that
      // holds no mail, it is no mail either.
      if (!taken.folder->HoldsMail() && context_.passed_over)
        ++context_.passed_over->unreadable_elsewhere;
      else if (context_.unreadable)
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
    ItemInFlight& front = Slot(0);
    context_.pool.WaitUntil([&front] { return front.read.load(); });
    front_ = (front_ + 1) % window_;
    --taken_;
    if (front.error) {
      ended_ = true;
      std::rethrow_exception(front.error);
    }
    if (front.unreadable) context_.unreadable(front.folder->Path(), front.unreadable->c_str());
    if (!front.listed) return;
    front.row.folder.assign(front.folder->Path());
    context_.found.Add(front.row);
  }

  void ListAll() {
    while (taken_ > 0) ListFront();
  }

  // The kth item taken of those not yet listed.
  ItemInFlight& Slot(std::size_t k) { return slots_[(front_ + k) % window_]; }

  const SearchContext& context_;
  const std::size_t window_;
  const bool row_by_row_;
  // A ring of slots: taken_ items from front_ on are on their way.
  const std::unique_ptr<ItemInFlight[]> slots_;
  std::size_t front_ = 0;
  std::size_t taken_ = 0;
  bool ended_ = false;  // by an item that could not be read
};

}  // namespace

namespace {

// An end of the date window. A date that is no date leaves that end open,
// as it always has; where the system tells how a run went (a terminal), it
// is told as a failure, so that a scheduled run is not widened in silence.
DateTime WindowEnd(Reporter& report, const char* which, const std::string& text, DateTime open,
                   const LocaleFacts& locale) {
  if (text.empty()) return open;
  if (const std::optional<DateTime> date = ParseDate(text, locale)) return *date;
  report.Summary(std::string("The ") + which + " date \"" + text +
                     "\" cannot be read: the search lists mail without that limit.",
                 true);
  return open;
}

}  // namespace

void SearchMailFolder(Reporter& report, const MailStoreOpener& open, const std::string& path,
                      FoundItemSink& found, const SearchOptions& settings) {
  try {
    std::unique_ptr<MailStore> store = open(report);
    std::unique_ptr<Folder> folder = GetFolderFromPath(report, *store, path);
    found.Start({settings.date_format, CurrentLocaleFacts()});
    if (!folder) throw MailStoreError("no folder at " + path);
    const LocaleFacts locale = CurrentLocaleFacts();
    WorkerPool pool(store->ItemsInParallel() ? WorkerThreads() : 1);
    std::int64_t unreadable = 0;
    PassedOverKinds passed_over;
    const SearchContext context{
        found, pool,
        WindowEnd(report, "Since", settings.since, EarliestSince(), locale),
        WindowEnd(report, "Before", settings.before, MakeDateTime(2099, 12, 31), locale),
        [&](const std::string& folder_path, const char* reason) {
          ++unreadable;
          report.Debug("search: an item of " + folder_path + " could not be read: " + reason);
        },
        &passed_over};
    SearchWalk(context).Walk(std::move(folder));
    std::string kinds = passed_over.Text();
    if (!kinds.empty()) report.Debug("search: " + kinds);
    found.PassedOver(std::move(kinds));
    if (unreadable > 0)
      report.ReportFailure(std::to_string(unreadable) + (unreadable == 1 ? " item" : " items") +
                        " could not be read.");
  } catch (const std::exception& error) {
    report.Debug(std::string("search: ") + error.what());
    report.ReportFailure(kSearchFailure);
    // Where the user looks (a terminal), why.
    report.Summary(std::string("the search stopped: ") + error.what(), true);
  }
}

DateTime GetLatestTime(MailItem& item) {
  std::optional<DateTime> latest;
  const auto take = [&latest](DateTime time) {
    if (time != NoDate() && (!latest || *latest < time)) latest = time;
  };
  take(item.CreationTime());
  if (item.Sent()) take(item.SentOn());
  take(item.ReceivedTime());
  return latest.value_or(NoDate());
}

void PassedOverKinds::Count(int item_class) {
  switch (item_class) {
    case kMeetingRequestClass: ++meeting_requests; break;
    case kReportItemClass: ++reports; break;
    default: ++others;
  }
}

std::string PassedOverKinds::Text() const {
  std::string text;
  const auto add = [&text](std::int64_t count, const char* one, const char* many) {
    if (count == 0) return;
    text += text.empty() ? "passed over: " : ", ";
    text += std::to_string(count) + " " + (count == 1 ? one : many);
  };
  add(meeting_requests, "meeting request", "meeting requests");
  add(reports, "report", "reports");
  add(others, "other item that is no mail", "other items that are no mail");
  add(unreadable_elsewhere, "unreadable item of a folder that holds no mail",
      "unreadable items of folders that hold no mail");
  return text;
}

bool ReadFoundItem(const SearchContext& context, MailItem& item, FoundItem& found) {
  if (const int item_class = item.Class(); item_class != kMailItemClass) {
    if (context.passed_over) context.passed_over->Count(item_class);
    return false;
  }
  const DateTime latest = GetLatestTime(item);
  if (latest == NoDate() ? context.since != EarliestSince()
                         : latest < context.since || context.before < latest)
    return false;
  // Copied into the texts' own room, which a row made before may have left.
  found.sent = item.SentOn();
  found.from.assign(item.SenderEmailAddress());
  found.subject.assign(item.Subject());
  found.to.assign(item.To());
  found.received = item.ReceivedTime();
  found.entry_id = item.EntryID();
  found.latest = latest;
  return true;
}

}  // namespace qs
