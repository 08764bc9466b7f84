// The settings file's text model over arbitrary bytes: parse, serialize, read every key
// and write one value. (The settings record's trip through it is fuzz_settings_file.)
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/ansi_text.h"
#include "settings/ini_document.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/fuzz_input.h"

namespace ripplet::fuzz {
namespace {

constexpr std::size_t kMaxSections = 8;
constexpr std::size_t kMaxKeys = 32;

constexpr std::string_view kProgramSections[] = {"Ripplet",      "Settings", "Colors",
                                                 "CustomColors", "Font",     "Window"};
constexpr std::string_view kProgramKeys[] = {
    "Version", "AdapterName", "GraphRange", "GraphUnit", "Recv", "ColorA", "Name", "Size", "Top"};

std::vector<std::string> LinesOf(std::string_view serialized) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < serialized.size()) {
    const std::size_t end = serialized.find("\r\n", start);
    FUZZ_CHECK(end != std::string_view::npos);  // every line ends in CRLF
    lines.emplace_back(serialized.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::string FoldAscii(std::string_view text, bool upper) {
  std::string folded(text);
  for (char& c : folded) {
    if (upper && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (!upper && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; });
}

// Names that a line can hold: a section header "[name]" or a key line "name=value"
// reads back as the same name. The program's own names all are.
bool HoldableSection(std::string_view name) {
  return name.find_first_of("\r\n") == std::string_view::npos && TrimBlanks(name) == name;
}

bool HoldableKey(std::string_view name) {
  return HoldableSection(name) && !name.empty() && name.find('=') == std::string_view::npos &&
         name.front() != ';' && name.front() != '[';
}

struct Entry {
  std::string Section;
  std::string Key;
  std::optional<std::string> Value;
};

// Every key of every section reads a value, the same before and after a save.
std::vector<Entry> CheckReads(const IniDocument& doc, const IniDocument& reparsed) {
  std::vector<Entry> entries;
  const std::vector<std::string> sections = doc.SectionNames();
  FUZZ_CHECK(reparsed.SectionNames() == sections);
  for (std::size_t s = 0; s < sections.size() && s < kMaxSections; ++s) {
    const std::string& section = sections[s];
    FUZZ_CHECK(TrimBlanks(section) == section);
    const std::vector<std::string> keys = doc.KeyNames(section);
    FUZZ_CHECK(reparsed.KeyNames(section) == keys);
    for (std::size_t k = 0; k < keys.size() && k < kMaxKeys; ++k) {
      const std::string& key = keys[k];
      FUZZ_CHECK(!key.empty() && TrimBlanks(key) == key);
      FUZZ_CHECK(key.find('=') == std::string::npos);
      const auto value = doc.Get(section, key);
      FUZZ_CHECK(value.has_value());
      FUZZ_CHECK(value->find_first_of("\r\n") == std::string::npos);
      FUZZ_CHECK(reparsed.Get(section, key) == value);
      if (IsAscii(section) && IsAscii(key)) {
        FUZZ_CHECK(doc.Get(FoldAscii(section, true), FoldAscii(key, false)) == value);
      }
      entries.push_back({section, key, value});
    }
  }
  return entries;
}

// A write changes one line, or adds a key line, or adds a section and its key at the end.
void CheckOnlyOneLineChanged(const std::vector<std::string>& before,
                             const std::vector<std::string>& after) {
  if (after.size() == before.size()) {
    std::size_t changed = 0;
    for (std::size_t i = 0; i < before.size(); ++i) changed += before[i] != after[i];
    FUZZ_CHECK(changed <= 1);
  } else if (after.size() == before.size() + 1) {
    std::size_t i = 0;
    while (i < before.size() && before[i] == after[i]) ++i;
    FUZZ_CHECK(std::equal(before.begin() + static_cast<std::ptrdiff_t>(i), before.end(),
                          after.begin() + static_cast<std::ptrdiff_t>(i) + 1));
  } else {
    FUZZ_CHECK(after.size() == before.size() + 2);
    FUZZ_CHECK(std::equal(before.begin(), before.end(), after.begin()));
  }
}

void CheckSet(IniDocument doc, const std::vector<Entry>& entries, std::string_view section,
              std::string_view key, std::string_view value) {
  const std::vector<std::string> before = LinesOf(doc.Serialize());
  doc.Set(section, key, value);
  if (!HoldableSection(section) || !HoldableKey(key)) return;  // only: no crash

  // Get after Set returns the value; line breaks, which a line cannot hold, are blanks.
  std::string expected(value);
  std::replace(expected.begin(), expected.end(), '\r', ' ');
  std::replace(expected.begin(), expected.end(), '\n', ' ');
  FUZZ_CHECK(doc.Get(section, key) == expected);
  const std::string serialized = doc.Serialize();
  const IniDocument reparsed = IniDocument::Parse(serialized);
  FUZZ_CHECK(reparsed.Get(section, key) == expected);
  CheckOnlyOneLineChanged(before, LinesOf(serialized));

  // Every other value reads as before.
  for (const Entry& entry : entries) {
    if (EqualsIgnoreAsciiCase(entry.Section, section) && EqualsIgnoreAsciiCase(entry.Key, key)) {
      continue;
    }
    FUZZ_CHECK(reparsed.Get(entry.Section, entry.Key) == entry.Value);
  }
}

// A value with the edges that the read rules care about: blanks, quotes, line breaks.
std::string DressValue(std::string_view core, std::uint8_t dress) {
  std::string value(core);
  if (dress & 1) value.insert(0, " ");
  if (dress & 2) value += '\t';
  if (dress & 4) value = '"' + value + '"';
  if (dress & 8) value = '\'' + value + '\'';
  if (dress & 16) value.insert(value.size() / 2, "\r\n");
  if (dress & 32) value += '\r';
  return value;
}

std::string_view Pick(const std::vector<std::string>& found, const std::string_view* program,
                      std::size_t program_count, std::string_view fuzzed, std::uint8_t choice) {
  const std::size_t count = found.size() + program_count + 1;
  const std::size_t n = choice % count;
  if (n < found.size()) return found[n];
  if (n - found.size() < program_count) return program[n - found.size()];
  return fuzzed;
}

}  // namespace
}  // namespace ripplet::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace ripplet;
  using namespace ripplet::fuzz;
  // The whole input is the file; the same bytes, read from the end, steer the rest.
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  FuzzInput in(data, size);
  // The density and separator of fuzz_settings_file, which reads the same corpus.
  in.Number<std::int32_t>();
  in.Flag();
  const auto section_choice = in.Number<std::uint8_t>();
  const auto key_choice = in.Number<std::uint8_t>();
  const auto dress = in.Number<std::uint8_t>();
  const std::string_view fuzzed_section = in.Text(24);
  const std::string_view fuzzed_key = in.Text(24);
  const std::string_view value_core = in.Text(200);

  const IniDocument doc = IniDocument::Parse(bytes);
  const std::string serialized = doc.Serialize();
  FUZZ_CHECK(serialized.empty() || serialized.ends_with("\r\n"));
  const IniDocument reparsed = IniDocument::Parse(serialized);
  FUZZ_CHECK(reparsed.Serialize() == serialized);
  const std::vector<Entry> entries = CheckReads(doc, reparsed);

  const std::vector<std::string> sections = doc.SectionNames();
  const std::string_view section =
      Pick(sections, kProgramSections, std::size(kProgramSections), fuzzed_section, section_choice);
  const std::vector<std::string> keys = doc.KeyNames(section);
  const std::string_view key =
      Pick(keys, kProgramKeys, std::size(kProgramKeys), fuzzed_key, key_choice);
  CheckSet(doc, entries, section, key, DressValue(value_core, dress));
  return 0;
}
