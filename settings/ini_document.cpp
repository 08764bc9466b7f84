#include "settings/ini_document.h"

#include "settings/ansi_text.h"

namespace ripplet {
namespace {

// A section header: first non-blank character '[', name up to the last ']'.
std::optional<std::string_view> SectionNameOf(std::string_view line) {
  // Most lines are no header: tell that from the first non-blank before trimming.
  const std::size_t first = line.find_first_not_of(" \t");
  if (first == std::string_view::npos || line[first] != '[') return std::nullopt;
  const std::string_view trimmed = TrimBlanks(line);
  const std::size_t close = trimmed.rfind(']');
  if (close == std::string_view::npos || close == 0) return std::nullopt;
  return TrimBlanks(trimmed.substr(1, close - 1));
}

struct KeyLine {
  std::string_view name;       // trimmed
  std::string_view raw_value;  // everything after the first '='
};

// A key line: not a comment, holds '=', and has a non-empty name.
std::optional<KeyLine> KeyLineOf(std::string_view line) {
  const std::string_view trimmed = TrimBlanks(line);
  if (trimmed.empty() || trimmed.front() == ';') return std::nullopt;
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  const std::string_view name = TrimBlanks(line.substr(0, eq));
  if (name.empty()) return std::nullopt;
  return KeyLine{name, line.substr(eq + 1)};
}

bool IsQuote(char c) { return c == '"' || c == '\''; }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsBlankLine(std::string_view line) { return TrimBlanks(line).empty(); }

std::string ReadValue(std::string_view raw) {
  std::string_view value = TrimBlanks(raw);
  if (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

// The inverse of ReadValue for any value without line breaks.
std::string EncodeValue(std::string_view value) {
  std::string text(value);
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  const bool needs_quotes =
      !text.empty() && (IsBlank(text.front()) || IsBlank(text.back()) ||
                        (text.size() >= 2 && IsQuote(text.front()) && text.back() == text.front()));
  return needs_quotes ? '"' + text + '"' : text;
}

}  // namespace

IniDocument IniDocument::Parse(std::string_view bytes) {
  IniDocument doc;
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < bytes.size()) {
    const char c = bytes[i];
    if (c == '\r' || c == '\n') {
      doc.lines_.emplace_back(bytes.substr(start, i - start));
      i += (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2u : 1u;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < bytes.size()) doc.lines_.emplace_back(bytes.substr(start));
  for (std::size_t n = 0; n < doc.lines_.size(); ++n) doc.sources_.push_back(n);
  return doc;
}

IniDocument IniDocument::FromLines(std::vector<std::string> lines) {
  IniDocument doc;
  doc.lines_ = std::move(lines);
  for (std::size_t n = 0; n < doc.lines_.size(); ++n) doc.sources_.push_back(n);
  return doc;
}

std::string IniDocument::Serialize() const {
  std::string out;
  for (const std::string& line : lines_) {
    out += line;
    out += "\r\n";
  }
  return out;
}

std::optional<IniDocument::SectionRange> IniDocument::FindSection(std::string_view section) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const auto name = SectionNameOf(lines_[i]);
    if (!name || !EqualsIgnoreAsciiCase(*name, section)) continue;
    std::size_t end = i + 1;
    while (end < lines_.size() && !SectionNameOf(lines_[end])) ++end;
    return SectionRange{i, end};
  }
  return std::nullopt;
}

std::optional<std::size_t> IniDocument::FindKey(const SectionRange& range,
                                                std::string_view key) const {
  for (std::size_t i = range.header + 1; i < range.end; ++i) {
    const auto entry = KeyLineOf(lines_[i]);
    if (entry && EqualsIgnoreAsciiCase(entry->name, key)) return i;
  }
  return std::nullopt;
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
  const auto range = FindSection(section);
  if (!range) return std::nullopt;
  const auto index = FindKey(*range, key);
  if (!index) return std::nullopt;
  return ReadValue(KeyLineOf(lines_[*index])->raw_value);
}

std::vector<std::string> IniDocument::KeyNames(std::string_view section) const {
  std::vector<std::string> names;
  const auto range = FindSection(section);
  if (!range) return names;
  for (std::size_t i = range->header + 1; i < range->end; ++i) {
    if (const auto entry = KeyLineOf(lines_[i])) names.emplace_back(entry->name);
  }
  return names;
}

std::vector<std::string> IniDocument::SectionNames() const {
  std::vector<std::string> names;
  for (const std::string& line : lines_) {
    if (const auto name = SectionNameOf(line)) names.emplace_back(*name);
  }
  return names;
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  const std::string encoded = EncodeValue(value);
  const auto range = FindSection(section);
  if (!range) {
    lines_.push_back('[' + std::string(section) + ']');
    lines_.push_back(std::string(key) + '=' + encoded);
    sources_.insert(sources_.end(), 2, kChangedLine);
    return;
  }
  if (const auto index = FindKey(*range, key)) {
    const KeyLine entry = *KeyLineOf(lines_[*index]);
    // A value that already reads the same keeps the user's layout of the line.
    if (ReadValue(entry.raw_value) == value) return;
    // Keep the key as the file spells it; only the value changes.
    std::string line(entry.name);
    line += '=';
    line += encoded;
    lines_[*index] = std::move(line);
    sources_[*index] = kChangedLine;
    return;
  }
  // New keys go after the section's last non-blank line, so blank lines that
  // separate it from the next section stay between them.
  std::size_t insert_at = range->end;
  while (insert_at > range->header + 1 && IsBlankLine(lines_[insert_at - 1])) --insert_at;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insert_at),
                std::string(key) + '=' + encoded);
  sources_.insert(sources_.begin() + static_cast<std::ptrdiff_t>(insert_at), kChangedLine);
}

}  // namespace ripplet
