#include "save/save_record.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>

#include "platform/case_folding.h"

namespace qs {

namespace {

constexpr std::string_view kHeaderStart = "quillstow save record\t";
constexpr std::string_view kVersion = "2";  // and 1, which has no notes line
constexpr std::string_view kNotesMark = "notes";
constexpr std::size_t kFixedFields = 15;  // before the files' three each

// The characters escaped in a field, marked in a table.
constexpr char kEscaped[] = {'\t', '\n', '\r', '\\'};
constexpr std::array<bool, 256> kSpecial = [] {
  std::array<bool, 256> special{};
  for (const char c : kEscaped) special[static_cast<unsigned char>(c)] = true;
  return special;
}();

bool Special(char c) { return kSpecial[static_cast<unsigned char>(c)]; }

// Most fields hold none of them: a search for each of the four, many bytes
// at a time, beats looking at every byte.
bool HasSpecial(std::string_view field) {
  return std::any_of(std::begin(kEscaped), std::end(kEscaped),
                     [field](char c) { return std::memchr(field.data(), c, field.size()) != nullptr; });
}

void AppendEscaped(std::string& line, std::string_view field) {
  if (!HasSpecial(field)) {
    line.append(field);
    return;
  }
  std::size_t run = 0;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (!Special(field[i])) continue;
    line.append(field.substr(run, i - run));
    line += '\\';
    line += field[i] == '\t' ? 't' : field[i] == '\n' ? 'n' : field[i] == '\r' ? 'r' : '\\';
    run = i + 1;
  }
  line.append(field.substr(run));
}

void AppendField(std::string& line, std::string_view field) {
  line += '\t';
  AppendEscaped(line, field);
}

// A field's text; its escapes were checked when the record was read.
std::string Unescaped(std::string_view field) {
  if (field.find('\\') == std::string_view::npos) return std::string(field);
  std::string text;
  text.reserve(field.size());
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '\\') {
      text += field[i];
      continue;
    }
    const char escaped = field[++i];
    text += escaped == 't' ? '\t' : escaped == 'n' ? '\n' : escaped == 'r' ? '\r' : escaped;
  }
  return text;
}

std::int64_t Number(std::string_view field) {
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (error != std::errc() || end != field.data() + field.size() || field.empty())
    throw UnreadableRecord("a number field holds \"" + std::string(field) + "\"");
  return value;
}

bool Flag(std::string_view field) {
  if (field != "0" && field != "1") throw UnreadableRecord("a flag field is neither 0 nor 1");
  return field == "1";
}

// Throws UnreadableRecord unless the field unescapes.
void CheckEscapes(std::string_view field) {
  for (auto slash = field.find('\\'); slash != std::string_view::npos; slash = field.find('\\', slash + 2)) {
    const char next = slash + 1 < field.size() ? field[slash + 1] : '\0';
    if (next != 't' && next != 'n' && next != 'r' && next != '\\')
      throw UnreadableRecord("a field holds a backslash that escapes nothing");
  }
}

// A line's fields, without its line end; fields is reused from line to line.
void SplitFields(std::string_view line, std::vector<std::string_view>& fields) {
  fields.clear();
  for (std::size_t from = 0;;) {
    const auto tab = line.find('\t', from);
    fields.push_back(line.substr(from, tab == std::string_view::npos ? tab : tab - from));
    if (tab == std::string_view::npos) return;
    from = tab + 1;
  }
}

void AppendNumber(std::string& text, std::int64_t number) {
  char digits[24];
  const auto [end, error] = std::to_chars(std::begin(digits), std::end(digits), number);
  text.append(digits, static_cast<std::size_t>(end - digits));
}

void AppendNumberField(std::string& line, std::int64_t number) {
  line += '\t';
  AppendNumber(line, number);
}

// Fields one after another, each behind its length.
void AppendKeyField(std::string& key, std::string_view field) {
  AppendNumber(key, static_cast<std::int64_t>(field.size()));
  key += ':';
  key.append(field);
}

std::string Key(std::string_view identity, std::string_view folder, std::string_view shape_key) {
  std::string key;
  key.reserve(identity.size() + folder.size() + shape_key.size() + 16);
  AppendKeyField(key, identity);
  AppendKeyField(key, folder);
  key.append(shape_key);
  return key;
}

// The shape's fields of a mail's line, each behind its tab.
std::string ShapeFields(const SaveShape& shape) {
  std::string fields;
  for (const std::string* field : {&shape.format, &shape.name_format, &shape.date_format,
                                   &shape.clip_address, &shape.clip_subject})
    AppendField(fields, *field);
  fields += shape.subfolders ? "\t1" : "\t0";
  AppendField(fields, shape.mail_folder);
  return fields;
}

// Appends the mail's line, with its line end.
void AppendLine(std::string& line, const MailEntry& mail, std::string_view shape_fields) {
  AppendEscaped(line, mail.identity);
  AppendField(line, mail.folder);
  line.append(shape_fields);
  for (const std::int64_t number : {std::int64_t{mail.writer}, mail.mail_modified, mail.mail_size})
    AppendNumberField(line, number);
  line += mail.whole ? "\t1" : "\t0";
  AppendField(line, mail.name);
  AppendNumberField(line, static_cast<std::int64_t>(mail.files.size()));
  for (const SavedFile& file : mail.files) {
    AppendField(line, file.path);
    AppendNumberField(line, file.stamp.size);
    AppendNumberField(line, file.stamp.modified);
  }
  line += '\n';
}

// The shape a line's fields 2 to 8 hold.
SaveShape ShapeOfFields(const std::vector<std::string_view>& fields) {
  return {.format = Unescaped(fields[2]),
          .name_format = Unescaped(fields[3]),
          .date_format = Unescaped(fields[4]),
          .clip_address = Unescaped(fields[5]),
          .clip_subject = Unescaped(fields[6]),
          .subfolders = Flag(fields[7]),
          .mail_folder = Unescaped(fields[8])};
}

// The key of a line already split into its fields. Most lines share one
// shape: its key is made once for them, kept in cache.
struct ShapeKeyCache {
  std::string_view fields;
  std::string key;
};

std::string KeyOfFields(const std::vector<std::string_view>& fields, ShapeKeyCache& cache) {
  const std::string_view shape_fields(fields[2].data(), fields[8].data() + fields[8].size() - fields[2].data());
  if (shape_fields != cache.fields) {
    cache.fields = shape_fields;
    cache.key = ShapeKey(ShapeOfFields(fields));
  }
  return Key(Unescaped(fields[0]), Unescaped(fields[1]), cache.key);
}

// The mail of a line whose fields were checked when the record was read.
SavedMail MailOf(std::string_view line) {
  std::vector<std::string_view> fields;
  fields.reserve(kFixedFields + 3);
  SplitFields(line.substr(0, line.size() - 1), fields);
  SavedMail mail;
  mail.identity = Unescaped(fields[0]);
  mail.folder = Unescaped(fields[1]);
  mail.shape = ShapeOfFields(fields);
  mail.writer = static_cast<int>(Number(fields[9]));
  mail.mail_modified = Number(fields[10]);
  mail.mail_size = Number(fields[11]);
  mail.whole = Flag(fields[12]);
  mail.name = Unescaped(fields[13]);
  for (std::size_t i = kFixedFields; i < fields.size(); i += 3)
    mail.files.push_back({Unescaped(fields[i]), {Number(fields[i + 1]), Number(fields[i + 2])}});
  return mail;
}

}  // namespace

// Each line is checked whole here, so that a damaged record is set aside
// before anything is saved; but only the fields of its key and its name are
// taken out: the rest is read when the mail is looked for.
SaveRecord SaveRecord::Parse(std::string_view text) {
  SaveRecord record;
  const auto first_end = text.find('\n');
  const std::string_view header = text.substr(0, first_end);
  if (header != std::string(kHeaderStart) + "1" && header != std::string(kHeaderStart).append(kVersion))
    throw UnreadableRecord("the first line is no record header");
  // As many mails as lines, give or take the header and the notes.
  std::size_t lines = 0;
  for (const char* at = text.data(); (at = static_cast<const char*>(std::memchr(at, '\n', text.data() + text.size() - at)));
       ++at)
    ++lines;
  record.mails_.reserve(lines);
  std::size_t line_number = 1;
  std::vector<std::string_view> fields;
  std::size_t mails_start = first_end == std::string_view::npos ? text.size() : first_end + 1;
  if (header.back() != '1' && mails_start < text.size() && text[mails_start] == '\t') {
    const auto end = text.find('\n', mails_start);
    if (end == std::string_view::npos) throw UnreadableRecord("the last line is cut");
    SplitFields(text.substr(mails_start, end - mails_start), fields);
    if (fields.size() < 3 || fields[1] != kNotesMark) throw UnreadableRecord("line 2 is no notes line");
    for (const std::string_view field : fields) CheckEscapes(field);
    record.notes_.passed_over = Unescaped(fields[2]);
    for (std::size_t i = 3; i < fields.size(); ++i) record.notes_.reasons.push_back(Unescaped(fields[i]));
    mails_start = end + 1;
    ++line_number;
  }
  // The mails' lines are kept as they are.
  record.lines_.assign(text.substr(std::min(mails_start, text.size())));
  text = record.lines_;
  ShapeKeyCache shapes;
  for (std::size_t start = 0; start < text.size();) {
    ++line_number;
    const auto end = text.find('\n', start);
    if (end == std::string_view::npos) throw UnreadableRecord("the last line is cut");
    const std::size_t line_start = start;
    start = end + 1;
    const std::string_view line = text.substr(line_start, end - line_start);
    SplitFields(line, fields);
    const auto where = [line_number] { return "line " + std::to_string(line_number); };
    if (fields.size() < kFixedFields || (fields.size() - kFixedFields) % 3 != 0)
      throw UnreadableRecord(where() + " has " + std::to_string(fields.size()) + " fields");
    for (const std::size_t flag : {7, 12}) Flag(fields[flag]);
    for (std::size_t i = 9; i < fields.size(); ++i)
      if (i != 12 && i != 13 && (i < kFixedFields || (i - kFixedFields) % 3 != 0)) Number(fields[i]);
    if (line.find('\\') != std::string_view::npos)
      for (const std::string_view field : fields) CheckEscapes(field);
    if (Number(fields[14]) != static_cast<std::int64_t>((fields.size() - kFixedFields) / 3))
      throw UnreadableRecord(where() + " miscounts its files");
    record.Keep(KeyOfFields(fields, shapes), line_start, start - line_start);
    const std::string name = Unescaped(fields[13]);
    if (!name.empty()) record.owners_[FoldCase(name)] = Unescaped(fields[0]);
  }
  return record;
}

std::string SaveRecord::Header() const {
  std::string header = std::string(kHeaderStart).append(kVersion) + '\n';
  if (notes_.Empty()) return header;
  header += '\t';
  header.append(kNotesMark);
  AppendField(header, notes_.passed_over);
  for (const std::string& reason : notes_.reasons) AppendField(header, reason);
  return header + '\n';
}

void SaveRecord::Keep(std::string key, std::size_t offset, std::size_t length) const {
  const auto [place, added] = mails_.try_emplace(std::move(key), Line{offset, length});
  if (!added) {
    place->second = Line{offset, length};
    stale_ = true;  // the line it replaces stays in the text until it is made anew
  }
}

// A run's own names are its name claims': the mails it adds need no owners.
// Nor are they looked up by the run that adds them: they are indexed only
// when a lookup, or an older record to be written over, needs them.
void SaveRecord::Put(const MailEntry& mail, const ShapeText& shape) {
  const std::size_t offset = lines_.size();
  AppendLine(lines_, mail, shape.fields);
  unindexed_.push_back({offset, lines_.size() - offset});
}

std::string_view SaveRecord::LineAt(const Line& line) const {
  return std::string_view(lines_).substr(line.offset, line.length);
}

const std::string& SaveRecord::Lines() const {
  if (stale_) {
    std::string lines;
    lines.reserve(lines_.size());
    for (auto& [key, line] : mails_) {
      const std::size_t offset = lines.size();
      lines.append(LineAt(line));
      line = Line{offset, line.length};
    }
    lines_ = std::move(lines);
    stale_ = false;
  }
  return lines_;
}

std::string SaveRecord::Text() const { return Header() + Lines(); }

void SaveRecord::WriteOver(const SaveRecord& older, const std::function<void(std::string_view)>& sink) const {
  sink(Header());
  // The older lines kept go in runs, not one by one.
  if (!older.mails_.empty()) {
    Index();
    std::string kept;
    for (const auto& [key, line] : older.mails_)
      if (!mails_.contains(key)) kept.append(older.LineAt(line));
    sink(kept);
  }
  sink(Lines());
}

std::string ShapeKey(const SaveShape& shape) {
  std::string key;
  for (const std::string* field : {&shape.format, &shape.name_format, &shape.date_format,
                                   &shape.clip_address, &shape.clip_subject, &shape.mail_folder})
    AppendKeyField(key, *field);
  key += shape.subfolders ? '1' : '0';
  return key;
}

std::optional<SavedMail> SaveRecord::Find(const std::string& identity, const std::string& folder,
                                          const std::string& shape_key) const {
  Index();
  const auto found = mails_.find(Key(identity, folder, shape_key));
  if (found == mails_.end()) return std::nullopt;
  return MailOf(LineAt(found->second));
}

void SaveRecord::Reserve(std::size_t more) {
  unindexed_.reserve(unindexed_.size() + more);
  lines_.reserve(lines_.size() + more * (lines_.size() / std::max<std::size_t>(mails_.size(), 1) + 320));
}

const std::string* SaveRecord::OwnerOf(std::string_view name) const {
  const auto found = owners_.find(FoldCase(name));
  return found == owners_.end() ? nullptr : &found->second;
}

ShapeText::ShapeText(const SaveShape& shape) : key(ShapeKey(shape)), fields(ShapeFields(shape)) {}

std::size_t SaveRecord::Size() const {
  Index();
  return mails_.size();
}

void SaveRecord::Index() const {
  if (unindexed_.empty()) return;
  mails_.reserve(mails_.size() + unindexed_.size());
  std::vector<std::string_view> fields;
  ShapeKeyCache shapes;
  for (const Line& line : unindexed_) {
    SplitFields(LineAt(line).substr(0, line.length - 1), fields);
    Keep(KeyOfFields(fields, shapes), line.offset, line.length);
  }
  unindexed_.clear();
}

void SaveRecord::Put(const SavedMail& mail) {
  const ShapeText shape(mail.shape);
  Put({.identity = mail.identity,
       .folder = mail.folder,
       .writer = mail.writer,
       .mail_modified = mail.mail_modified,
       .mail_size = mail.mail_size,
       .whole = mail.whole,
       .name = mail.name,
       .files = mail.files},
      shape);
}

}  // namespace qs
