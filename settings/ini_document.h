// The settings file as text: lines of ANSI bytes, never decoded.
//
// Reads follow the platform's private-profile rules: section and key names match
// without regard to ASCII case, the first matching section and key win, keys and
// values are trimmed of blanks and tabs, and a value in a matching pair of quotes
// loses them. Writes change only the one line they concern, so comments, unknown
// sections and keys we never write survive a save byte for byte.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ripplet {

class IniDocument {
 public:
  // Accepts CRLF, LF or CR line ends (also mixed).
  static IniDocument Parse(std::string_view bytes);

  // The lines as given (without line ends), for a file decoded from another encoding.
  static IniDocument FromLines(std::vector<std::string> lines);

  // Every line ends in CRLF.
  std::string Serialize() const;

  // Line by line, and for each the index of the line it was parsed from when no write has
  // changed it, so an encoder can give untouched lines back exactly as they came.
  static constexpr std::size_t kChangedLine = static_cast<std::size_t>(-1);
  std::size_t LineCount() const noexcept { return lines_.size(); }
  const std::string& Line(std::size_t i) const { return lines_[i]; }
  std::size_t SourceLine(std::size_t i) const { return sources_[i]; }

  std::optional<std::string> Get(std::string_view section, std::string_view key) const;

  // The key names of the first matching section, in file order.
  std::vector<std::string> KeyNames(std::string_view section) const;

  // The names of all section headers, in file order (duplicates included).
  std::vector<std::string> SectionNames() const;

  // Replaces the first matching key's value in place, or appends the key after the
  // last non-blank line of its section, or appends the section at the end.
  // Get(section, key) afterwards returns value: a value that the read rules would
  // change (outer blanks, an enclosing pair of quotes) is written inside double
  // quotes, and line breaks, which a line cannot hold, become blanks.
  // Names are written as given: the caller passes names a line can hold (no line break,
  // no outer blanks; a key also without '=' and not starting with ';' or '['), as all of
  // the program's own names are. Other names break nothing but may not read back.
  void Set(std::string_view section, std::string_view key, std::string_view value);

 private:
  struct SectionRange {
    std::size_t header;  // index of the "[name]" line
    std::size_t end;     // one past the section's last line
  };

  std::optional<SectionRange> FindSection(std::string_view section) const;
  std::optional<std::size_t> FindKey(const SectionRange& range, std::string_view key) const;

  std::vector<std::string> lines_;
  std::vector<std::size_t> sources_;  // parallel to lines_
};

}  // namespace ripplet
