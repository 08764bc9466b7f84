#include "usage/usage_csv.h"

#include <array>
#include <charconv>
#include <optional>
#include <vector>

namespace ripplet {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Reads one record's fields from `text` at `pos`, counting the line ends it passes.
// Returns false for a malformed record (a quote inside an unquoted field, text after a
// closing quote, or a quoted field that never closes).
class RecordReader {
 public:
  explicit RecordReader(std::string_view text) : text_(text) {}

  bool AtEnd() const noexcept { return pos_ >= text_.size(); }
  std::size_t Line() const noexcept { return line_; }

  // A line holding nothing (blank lines between rows).
  bool SkipBlankLine() noexcept {
    if (text_.substr(pos_).starts_with("\r\n")) {
      pos_ += 2;
    } else if (text_.substr(pos_).starts_with("\n")) {
      pos_ += 1;
    } else {
      return false;
    }
    ++line_;
    return true;
  }

  bool Read(std::vector<std::string>& fields) {
    fields.clear();
    for (;;) {
      std::string field;
      if (!ReadField(field)) return false;
      fields.push_back(std::move(field));
      if (pos_ >= text_.size()) return true;
      const char c = text_[pos_];
      if (c == ',') {
        ++pos_;
        continue;
      }
      if (EndOfLine()) return true;
      return false;
    }
  }

 private:
  bool EndOfLine() noexcept {
    if (text_.substr(pos_).starts_with("\r\n")) {
      pos_ += 2;
    } else if (text_[pos_] == '\n') {
      pos_ += 1;
    } else {
      return false;
    }
    ++line_;
    return true;
  }

  bool ReadField(std::string& field) {
    if (pos_ < text_.size() && text_[pos_] == '"') {
      ++pos_;
      for (;;) {
        if (pos_ >= text_.size()) return false;  // never closed
        const char c = text_[pos_++];
        if (c == '"') {
          if (pos_ < text_.size() && text_[pos_] == '"') {
            field += '"';
            ++pos_;
            continue;
          }
          return pos_ >= text_.size() || text_[pos_] == ',' || text_[pos_] == '\r' ||
                 text_[pos_] == '\n';
        }
        if (c == '\n') ++line_;
        field += c;
      }
    }
    while (pos_ < text_.size()) {
      const char c = text_[pos_];
      if (c == ',' || c == '\n' || (c == '\r' && text_.substr(pos_).starts_with("\r\n"))) break;
      if (c == '"' || c == '\r') return false;
      field += c;
      ++pos_;
    }
    return true;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  std::size_t line_ = 1;
};

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::optional<std::uint64_t> ParseCount(std::string_view text) noexcept {
  if (text.empty()) return std::nullopt;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
  }
  std::uint64_t value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc{} || result.ptr != text.data() + text.size()) return std::nullopt;
  return value;
}

bool IsHeader(const std::vector<std::string>& fields) {
  static constexpr std::array<std::string_view, 4> kNames = {"date", "adapter", "received", "sent"};
  if (fields.size() != kNames.size()) return false;
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    if (!EqualsIgnoringAsciiCase(fields[i], kNames[i])) return false;
  }
  return true;
}

// A field that needs quotes (RFC 4180): one holding a comma, a quote or a line break, and
// one with blanks at an edge, which a spreadsheet would trim.
void AppendField(std::string& out, std::string_view field) {
  const bool quoted = field.find_first_of(",\"\r\n") != std::string_view::npos ||
                      (!field.empty() && (field.front() == ' ' || field.back() == ' '));
  if (!quoted) {
    out += field;
    return;
  }
  out += '"';
  for (const char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

}  // namespace

UsageCsvRead ParseUsageCsv(std::string_view bytes) {
  if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
  UsageCsvRead result;
  RecordReader reader(bytes);
  std::vector<std::string> fields;
  bool header_seen = false;
  while (!reader.AtEnd()) {
    if (reader.SkipBlankLine()) continue;
    const std::size_t line = reader.Line();
    if (!reader.Read(fields)) {
      result.Line = line;
      return result;
    }
    if (!header_seen) {
      if (!IsHeader(fields)) {
        result.Line = line;
        return result;
      }
      header_seen = true;
      continue;
    }
    const auto date = fields.size() == 4 ? ParseIsoDate(fields[0]) : std::nullopt;
    const auto received = fields.size() == 4 ? ParseCount(fields[2]) : std::nullopt;
    const auto sent = fields.size() == 4 ? ParseCount(fields[3]) : std::nullopt;
    if (!date || !received || !sent) {
      result.Line = line;
      return result;
    }
    // A row that a hand edit doubled is summed, not dropped.
    result.Rows[UsageKey{*date, std::move(fields[1])}] += ByteCounts{*received, *sent};
  }
  result.Ok = true;
  return result;
}

std::string FormatUsageCsv(const UsageTable& rows) {
  std::string out(kByteOrderMark);
  out += kUsageCsvHeader;
  out += "\r\n";
  for (const auto& [key, counts] : rows) {
    out += FormatIsoDate(key.first);
    out += ',';
    AppendField(out, key.second);
    out += ',';
    out += std::to_string(counts.Received);
    out += ',';
    out += std::to_string(counts.Sent);
    out += "\r\n";
  }
  return out;
}

UsageSaveText MergeIntoUsageFile(const std::optional<std::string_view>& existing,
                                 const UsageTable& unsaved) {
  UsageTable rows;
  if (existing) {
    UsageCsvRead read = ParseUsageCsv(*existing);
    if (!read.Ok) return {false, {}, read.Line};
    rows = std::move(read.Rows);
  }
  MergeUsage(rows, unsaved);
  return {true, FormatUsageCsv(rows), 0};
}

}  // namespace ripplet
