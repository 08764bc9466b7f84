#include "settings/ini_text.h"

namespace ripplet {
namespace {

constexpr char16_t kCr = u'\r';
constexpr char16_t kLf = u'\n';

void AppendUtf16Le(std::string& out, std::u16string_view text) {
  for (const char16_t unit : text) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
  }
}

}  // namespace

IniText IniText::Decode(std::string_view bytes, const AnsiCodec& codec) {
  IniText text;
  if (bytes.size() < 2 || static_cast<unsigned char>(bytes[0]) != 0xFF ||
      static_cast<unsigned char>(bytes[1]) != 0xFE) {
    text.document_ = IniDocument::Parse(bytes);
    return text;
  }
  text.utf16_ = true;
  bytes.remove_prefix(2);
  std::u16string units;
  units.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    units += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                   (static_cast<unsigned char>(bytes[i + 1]) << 8));
  }
  if (bytes.size() % 2 != 0) text.odd_byte_.assign(1, bytes.back());

  // Lines end in CR LF, LF or CR, as in an ANSI file.
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < units.size()) {
    std::size_t end = start;
    while (end < units.size() && units[end] != kCr && units[end] != kLf) ++end;
    std::size_t next = end;
    if (next < units.size()) {
      next += (units[next] == kCr && next + 1 < units.size() && units[next + 1] == kLf) ? 2u : 1u;
    }
    text.source_lines_.push_back(units.substr(start, next - start));
    lines.push_back(codec.ToAnsi(std::u16string_view(units).substr(start, end - start)));
    start = next;
  }
  text.document_ = IniDocument::FromLines(std::move(lines));
  return text;
}

std::string IniText::Encode(const AnsiCodec& codec) const {
  if (!utf16_) return document_.Serialize();
  std::string out = "\xFF\xFE";
  bool open_line = false;  // the last line written has no line end yet
  for (std::size_t i = 0; i < document_.LineCount(); ++i) {
    if (open_line) AppendUtf16Le(out, u"\r\n");
    const std::size_t source = document_.SourceLine(i);
    if (source != IniDocument::kChangedLine) {
      const std::u16string& line = source_lines_[source];
      AppendUtf16Le(out, line);
      open_line = line.empty() || (line.back() != kCr && line.back() != kLf);
    } else {
      AppendUtf16Le(out, codec.FromAnsi(document_.Line(i)));
      AppendUtf16Le(out, u"\r\n");
      open_line = false;
    }
  }
  // A last byte that made no unit stays at the end, unless lines were added after it.
  if (!odd_byte_.empty() && document_.LineCount() > 0 &&
      document_.SourceLine(document_.LineCount() - 1) == source_lines_.size() - 1) {
    out += odd_byte_;
  }
  return out;
}

}  // namespace ripplet
