#include "JoplinRestUtils/Import/ImportJournal.hpp"

#include <algorithm>
#include <charconv>

#include "Kestrel/CommonLib/Diagnostics.hpp"
#include "Kestrel/CommonLib/Text/Sha256.hpp"
#include "Platform/Files/Files.hpp"
#include "Platform/Files/PathRules.hpp"

namespace JoplinRestUtils {
namespace {

constexpr std::string_view kVersionLine = "quillpost import journal ";

std::string Escaped(std::string_view field) {
  std::string out;
  out.reserve(field.size());
  for (const char c : field) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::vector<std::string> SplitFields(std::string_view line) {
  std::vector<std::string> fields(1);
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '\t') {
      fields.emplace_back();
    } else if (c == '\\' && i + 1 < line.size()) {
      const char next = line[++i];
      fields.back() += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

std::string RecordLine(TJournalRecord kind, const std::vector<std::string>& fields) {
  std::string line(1, static_cast<char>(kind));
  for (const auto& field : fields)
    line += "\t" + Escaped(field);
  return line + "\n";
}

template <typename Number>
bool ReadNumber(const std::string& text, Number& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

bool ApplyStamp(TImportJournal& journal, const std::vector<std::string>& fields) {
  TJournalStamp stamp;
  if (fields.size() != 4 || !ReadNumber(fields[1], stamp.Stamp.Size) ||
      !ReadNumber(fields[2], stamp.Stamp.ModifiedNanoseconds))
    return false;
  stamp.ContentHash = fields[3];
  journal.Stamps[fields[0]] = std::move(stamp);
  return true;
}

template <typename Map>
std::vector<const typename Map::value_type*> SortedEntries(const Map& map) {
  std::vector<const typename Map::value_type*> entries;
  entries.reserve(map.size());
  for (const auto& entry : map)
    entries.push_back(&entry);
  std::sort(entries.begin(), entries.end(),
            [](const auto* a, const auto* b) { return a->first < b->first; });
  return entries;
}

}  // namespace

std::string DeletedName(TDeletedInJoplin deleted) {
  return deleted == TDeletedInJoplin::Trashed ? "trashed" : "erased";
}

bool ApplyJournalRecord(TImportJournal& journal, TJournalRecord kind,
                        const std::vector<std::string>& fields) {
  switch (kind) {
    case TJournalRecord::Target:
      if (fields.size() != 1)
        return false;
      journal.TargetId = fields[0];
      return true;
    case TJournalRecord::Cursor:
      if (fields.size() != 1)
        return false;
      journal.Cursor = fields[0];
      return true;
    case TJournalRecord::Folder:
      if (fields.size() != 2)
        return false;
      journal.Folders[fields[0]] = fields[1];
      return true;
    case TJournalRecord::Note:
      if (fields.size() != 3)
        return false;
      journal.Notes[fields[0]] = {fields[1], fields[2]};
      return true;
    case TJournalRecord::DeletedInJoplin: {
      const auto note = journal.Notes.find(fields.empty() ? std::string() : fields[0]);
      if (fields.size() != 2 || note == journal.Notes.end())
        return false;
      note->second.Deleted =
          fields[1] == "trashed" ? TDeletedInJoplin::Trashed : TDeletedInJoplin::Erased;
      return true;
    }
    case TJournalRecord::Forget:
      if (fields.size() != 1)
        return false;
      journal.Notes.erase(fields[0]);
      return true;
    case TJournalRecord::Resource:
      if (fields.size() != 2)
        return false;
      journal.Resources[fields[0]] = fields[1];
      return true;
    case TJournalRecord::Stamp:
      return ApplyStamp(journal, fields);
  }
  return false;
}

std::string JournalText(const TImportJournal& journal) {
  std::string text = std::string(kVersionLine) + std::to_string(kJournalVersion) + "\n";
  text += RecordLine(TJournalRecord::Target, {journal.TargetId});
  if (!journal.Cursor.empty())
    text += RecordLine(TJournalRecord::Cursor, {journal.Cursor});
  for (const auto& [rel, id] : journal.Folders)
    text += RecordLine(TJournalRecord::Folder, {rel, id});
  for (const auto& [rel, note] : journal.Notes) {
    text += RecordLine(TJournalRecord::Note, {rel, note.Id, note.Digest});
    if (note.Deleted != TDeletedInJoplin::No)
      text += RecordLine(TJournalRecord::DeletedInJoplin, {rel, DeletedName(note.Deleted)});
  }
  // In key order, so that the same journal is always the same text.
  for (const auto* entry : SortedEntries(journal.Resources))
    text += RecordLine(TJournalRecord::Resource, {entry->first, entry->second});
  for (const auto* entry : SortedEntries(journal.Stamps)) {
    const TJournalStamp& seen = entry->second;
    text += RecordLine(TJournalRecord::Stamp,
                       {entry->first, std::to_string(seen.Stamp.Size),
                        std::to_string(seen.Stamp.ModifiedNanoseconds), seen.ContentHash});
  }
  return text;
}

TImportJournal ParseJournal(std::string_view text, const std::string& source) {
  const size_t firstEnd = text.find('\n');
  const std::string_view first = text.substr(0, firstEnd);
  int version = 0;
  if (first.substr(0, kVersionLine.size()) != kVersionLine ||
      !ReadNumber(std::string(first.substr(kVersionLine.size())), version))
    throw EImportJournalError(Kestrel::CommonLib::QuotedPath(source) +
                              " is no import journal; move it away to import afresh");
  if (version != kJournalVersion)
    throw EImportJournalError(Kestrel::CommonLib::QuotedPath(source) + " is a journal of version " +
                              std::to_string(version) + ", which this Quillpost (version " +
                              std::to_string(kJournalVersion) + " journals) cannot read");
  TImportJournal journal;
  journal.Found = true;
  size_t start = firstEnd == std::string_view::npos ? text.size() : firstEnd + 1;
  while (start < text.size()) {
    const size_t end = text.find('\n', start);
    // A record without its line end was cut off while it was written.
    if (end == std::string_view::npos)
      break;
    const std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (line.size() < 2 || line[1] != '\t')
      continue;
    ApplyJournalRecord(journal, static_cast<TJournalRecord>(line[0]), SplitFields(line.substr(2)));
  }
  return journal;
}

std::string JournalPathFor(const std::string& serverUrl, const std::string& treeRoot,
                           const std::string& target) {
  std::string key = serverUrl;
  key += '\0';
  key += treeRoot;
  key += '\0';
  key += target;
  const std::string state = Platform::UserStateDirectory();
  const char delimiter = Platform::PathDelimiter();
  return state + delimiter + "quillpost" + delimiter + "import-" +
         Kestrel::CommonLib::Sha256Hex(key).substr(0, 24) + ".journal";
}

TImportJournal TJournalFile::Load(const std::string& path) {
  std::string text, failure;
  if (!Platform::PathExists(path))
    return {};
  if (!Platform::ReadWholeFile(path, text, std::uint64_t{1} << 30, failure))
    throw EImportJournalError("the import journal " + Kestrel::CommonLib::QuotedPath(path) +
                              " cannot be read: " + failure);
  return ParseJournal(text, path);
}

void TJournalFile::Begin(const std::string& path, const TImportJournal& journal) {
  FPath = path;
  std::string failure;
  const std::string folder(
      Platform::DirectoryPart(path, path.rfind(Platform::PathDelimiter()) + 1));
  if (!Platform::MakeDirectories(folder, failure) ||
      !Platform::ReplaceFileAtomically(path, JournalText(journal), failure) ||
      !FFile.Open(path, failure))
    throw EImportJournalError("the import journal cannot be written: " + failure);
}

void TJournalFile::Record(TImportJournal& journal, TJournalRecord kind,
                          std::vector<std::string> fields) {
  ApplyJournalRecord(journal, kind, fields);
  if (!FFile.Append(RecordLine(kind, fields)))
    throw EImportJournalError("the import journal " + Kestrel::CommonLib::QuotedPath(FPath) +
                              " cannot be written; the import stops here and can be run again");
}

}  // namespace JoplinRestUtils
