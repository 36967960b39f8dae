#include "save/save_record.h"

#include <algorithm>
#include <charconv>

#include "save/name_claims.h"

namespace qs {

namespace {

constexpr std::string_view kHeader = "quillstow save record\t1";
constexpr std::size_t kFixedFields = 15;  // before the files' three each

bool Special(char c) { return c == '\t' || c == '\n' || c == '\r' || c == '\\'; }

// Each field after a tab; the line's first loses its own.
void AppendField(std::string& line, std::string_view field) {
  line += '\t';
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

std::string Unescaped(std::string_view field) {
  if (field.find('\\') == std::string_view::npos) return std::string(field);
  std::string text;
  text.reserve(field.size());
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '\\') {
      text += field[i];
      continue;
    }
    if (++i == field.size()) throw UnreadableRecord("a field ends in a lone backslash");
    switch (field[i]) {
      case 't': text += '\t'; break;
      case 'n': text += '\n'; break;
      case 'r': text += '\r'; break;
      case '\\': text += '\\'; break;
      default: throw UnreadableRecord("an unknown escape in a field");
    }
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

// Fields one after another, each behind its length.
void AppendKeyField(std::string& key, std::string_view field) {
  key += std::to_string(field.size());
  key += ':';
  key.append(field);
}

std::string Key(const std::string& identity, const std::string& folder, const std::string& shape_key) {
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

// The mail's line of the record's text, with its line end.
std::string LineOf(const SavedMail& mail, std::string_view shape_fields) {
  std::string line;
  line.reserve(256);
  AppendField(line, mail.identity);
  AppendField(line, mail.folder);
  line.append(shape_fields);
  for (const std::int64_t number : {std::int64_t{mail.writer}, mail.mail_modified, mail.mail_size})
    AppendField(line, std::to_string(number));
  line += mail.whole ? "\t1" : "\t0";
  AppendField(line, mail.name);
  AppendField(line, std::to_string(mail.files.size()));
  for (const SavedFile& file : mail.files) {
    AppendField(line, file.path);
    AppendField(line, std::to_string(file.stamp.size));
    AppendField(line, std::to_string(file.stamp.modified));
  }
  line.erase(0, 1);
  line += '\n';
  return line;
}

}  // namespace

SaveRecord SaveRecord::Parse(std::string_view text) {
  SaveRecord record;
  const auto first_end = text.find('\n');
  if (text.substr(0, first_end) != kHeader) throw UnreadableRecord("the first line is no record header");
  record.Reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')));
  std::size_t line_number = 1;
  std::vector<std::string_view> fields;
  // Most lines share one shape: its key is made once for them.
  SaveShape last_shape;
  std::string last_shape_key = ShapeKey(last_shape);
  for (std::size_t start = first_end == std::string_view::npos ? text.size() : first_end + 1;
       start < text.size();) {
    ++line_number;
    const auto end = text.find('\n', start);
    if (end == std::string_view::npos) throw UnreadableRecord("the last line is cut");
    const std::string_view line = text.substr(start, end - start);
    const std::size_t line_start = start;
    start = end + 1;
    fields.clear();
    for (std::size_t from = 0;;) {
      const auto tab = line.find('\t', from);
      fields.push_back(line.substr(from, tab == std::string_view::npos ? tab : tab - from));
      if (tab == std::string_view::npos) break;
      from = tab + 1;
    }
    if (fields.size() < kFixedFields || (fields.size() - kFixedFields) % 3 != 0)
      throw UnreadableRecord("line " + std::to_string(line_number) + " has " +
                             std::to_string(fields.size()) + " fields");
    SavedMail mail;
    mail.identity = Unescaped(fields[0]);
    mail.folder = Unescaped(fields[1]);
    mail.shape = {.format = Unescaped(fields[2]),
                  .name_format = Unescaped(fields[3]),
                  .date_format = Unescaped(fields[4]),
                  .clip_address = Unescaped(fields[5]),
                  .clip_subject = Unescaped(fields[6]),
                  .subfolders = Flag(fields[7]),
                  .mail_folder = Unescaped(fields[8])};
    mail.writer = static_cast<int>(Number(fields[9]));
    mail.mail_modified = Number(fields[10]);
    mail.mail_size = Number(fields[11]);
    mail.whole = Flag(fields[12]);
    mail.name = Unescaped(fields[13]);
    if (Number(fields[14]) != static_cast<std::int64_t>((fields.size() - kFixedFields) / 3))
      throw UnreadableRecord("line " + std::to_string(line_number) + " miscounts its files");
    for (std::size_t i = kFixedFields; i < fields.size(); i += 3)
      mail.files.push_back({Unescaped(fields[i]), {Number(fields[i + 1]), Number(fields[i + 2])}});
    if (!(mail.shape == last_shape)) {
      last_shape = mail.shape;
      last_shape_key = ShapeKey(last_shape);
    }
    // The line as read is the line the mail would be written as.
    record.Put(Prepared{.key = Key(mail.identity, mail.folder, last_shape_key),
                        .folded_name = FoldCase(mail.name),
                        .mail = std::move(mail),
                        .line = std::string(text.substr(line_start, start - line_start))});
  }
  return record;
}

std::string SaveRecord::Header() { return std::string(kHeader) + '\n'; }

const std::string& SaveRecord::Text() const {
  if (stale_) {
    std::size_t size = kHeader.size() + 1;
    for (const auto& [key, entry] : mails_) size += entry.line.size();
    text_ = Header();
    text_.reserve(size);
    for (const auto& [key, entry] : mails_) text_.append(entry.line);
    stale_ = false;
  }
  return text_;
}

std::string SaveRecord::TextOver(const SaveRecord& older) const {
  if (older.mails_.empty()) return Text();
  std::string text = Header();
  for (const auto& [key, entry] : older.mails_)
    if (!mails_.contains(key)) text.append(entry.line);
  text.append(Text(), kHeader.size() + 1);
  return text;
}

std::string ShapeKey(const SaveShape& shape) {
  std::string key;
  for (const std::string* field : {&shape.format, &shape.name_format, &shape.date_format,
                                   &shape.clip_address, &shape.clip_subject, &shape.mail_folder})
    AppendKeyField(key, *field);
  key += shape.subfolders ? '1' : '0';
  return key;
}

const SavedMail* SaveRecord::Find(const std::string& identity, const std::string& folder,
                                  const std::string& shape_key) const {
  const auto found = mails_.find(Key(identity, folder, shape_key));
  return found == mails_.end() ? nullptr : &found->second.mail;
}

void SaveRecord::Reserve(std::size_t more) {
  mails_.reserve(mails_.size() + more);
  owners_.reserve(owners_.size() + more);
  if (!stale_) text_.reserve(text_.size() + more * (text_.size() / std::max<std::size_t>(mails_.size(), 1) + 160));
}

std::vector<SavedMail> SaveRecord::Mails() const {
  std::vector<SavedMail> mails;
  for (const auto& [key, entry] : mails_) mails.push_back(entry.mail);
  return mails;
}

const std::string* SaveRecord::OwnerOf(std::string_view name) const {
  const auto found = owners_.find(FoldCase(name));
  return found == owners_.end() ? nullptr : &found->second;
}

ShapeText::ShapeText(const SaveShape& shape) : key(ShapeKey(shape)), fields(ShapeFields(shape)) {}

SaveRecord::Prepared SaveRecord::Prepare(SavedMail mail, const ShapeText& shape) {
  Prepared prepared{.key = Key(mail.identity, mail.folder, shape.key),
                    .folded_name = FoldCase(mail.name),
                    .mail = {},
                    .line = LineOf(mail, shape.fields)};
  prepared.mail = std::move(mail);
  return prepared;
}

void SaveRecord::Put(Prepared prepared) {
  if (!prepared.mail.name.empty()) owners_[std::move(prepared.folded_name)] = prepared.mail.identity;
  const auto [place, added] = mails_.try_emplace(std::move(prepared.key));
  if (added && !stale_) text_.append(prepared.line);
  else stale_ = true;
  place->second = Entry{std::move(prepared.mail), std::move(prepared.line)};
}

}  // namespace qs
