#include "display/units.h"

#include <cstddef>
#include <limits>

namespace ripplet {

// The Japanese words are Shift-JIS: バイト/秒 is 83 6F 83 43 83 67 2F 95 62,
// ビット/秒 is 83 72 83 62 83 67 2F 95 62.
const std::array<std::string_view, kUnitCount> kUnitTexts = {
    "0 \x83\x6F\x83\x43\x83\x67/\x95\x62",       // 0 バイト/秒
    "0k \x83\x6F\x83\x43\x83\x67/\x95\x62",      // 0k バイト/秒
    "0.0k \x83\x6F\x83\x43\x83\x67/\x95\x62",    // 0.0k バイト/秒
    "0.00k \x83\x6F\x83\x43\x83\x67/\x95\x62",   // 0.00k バイト/秒
    "0.000k \x83\x6F\x83\x43\x83\x67/\x95\x62",  // 0.000k バイト/秒
    "0M \x83\x6F\x83\x43\x83\x67/\x95\x62",      // 0M バイト/秒
    "0.0M \x83\x6F\x83\x43\x83\x67/\x95\x62",    // 0.0M バイト/秒
    "0.00M \x83\x6F\x83\x43\x83\x67/\x95\x62",   // 0.00M バイト/秒
    "0.000M \x83\x6F\x83\x43\x83\x67/\x95\x62",  // 0.000M バイト/秒
    "0 \x83\x72\x83\x62\x83\x67/\x95\x62",       // 0 ビット/秒
    "0k \x83\x72\x83\x62\x83\x67/\x95\x62",      // 0k ビット/秒
    "0.0k \x83\x72\x83\x62\x83\x67/\x95\x62",    // 0.0k ビット/秒
    "0.00k \x83\x72\x83\x62\x83\x67/\x95\x62",   // 0.00k ビット/秒
    "0.000k \x83\x72\x83\x62\x83\x67/\x95\x62",  // 0.000k ビット/秒
    "0M \x83\x72\x83\x62\x83\x67/\x95\x62",      // 0M ビット/秒
    "0.0M \x83\x72\x83\x62\x83\x67/\x95\x62",    // 0.0M ビット/秒
    "0.00M \x83\x72\x83\x62\x83\x67/\x95\x62",   // 0.00M ビット/秒
    "0.000M \x83\x72\x83\x62\x83\x67/\x95\x62",  // 0.000M ビット/秒
};

const std::string_view kDefaultUnitText = kUnitTexts[3];

namespace {

// "ビット" in Shift-JIS: its presence makes a unit count bits, not bytes.
constexpr std::string_view kBitWord = "\x83\x72\x83\x62\x83\x67";

bool IsLeadByte(unsigned char c) noexcept {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

char UpperAscii(unsigned char c) noexcept {
  return static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
}

// Compares `needle` with the text at `start` (a character start), both
// upper-cased as code page 932 does it: ASCII letters only, and never a trail
// byte, which may look like 'a'-'z' (ッ is 83 62) and must stay as it is.
bool MatchesAt(std::string_view text, std::size_t start, std::string_view needle) noexcept {
  bool text_trail = false;
  bool needle_trail = false;
  for (std::size_t j = 0; j < needle.size(); ++j) {
    const auto t = static_cast<unsigned char>(text[start + j]);
    const auto n = static_cast<unsigned char>(needle[j]);
    const char ut = text_trail ? static_cast<char>(t) : UpperAscii(t);
    const char un = needle_trail ? static_cast<char>(n) : UpperAscii(n);
    if (ut != un) return false;
    text_trail = !text_trail && IsLeadByte(t);
    needle_trail = !needle_trail && IsLeadByte(n);
  }
  return true;
}

}  // namespace

bool ContainsIgnoreCase(std::string_view text, std::string_view needle) noexcept {
  if (text.empty() || needle.empty()) return false;
  // Try each character start only, so a match never begins on a trail byte.
  std::size_t i = 0;
  while (text.size() - i >= needle.size()) {
    if (MatchesAt(text, i, needle)) return true;
    i += IsLeadByte(static_cast<unsigned char>(text[i])) ? 2u : 1u;
    if (i > text.size()) break;  // a lead byte that ends the text
  }
  return false;
}

UnitParams ParseUnit(std::string_view unit_text) noexcept {
  UnitParams params{1.0, 0};
  // 'k' is tested before 'M', so a text holding both counts as kilo.
  if (ContainsIgnoreCase(unit_text, "k")) {
    params = {1000.0, 'k'};
  } else if (ContainsIgnoreCase(unit_text, "M")) {
    params = {1000000.0, 'M'};
  }
  if (ContainsIgnoreCase(unit_text, kBitWord)) params.Divisor /= 8.0;
  return params;
}

double UnitDivisor(std::string_view unit_text) noexcept { return ParseUnit(unit_text).Divisor; }

int UnitDecimals(std::string_view unit_text) noexcept {
  // '.' is never a trail byte in code page 932, so a plain byte search is safe.
  const std::size_t dot = unit_text.find('.');
  if (dot == std::string_view::npos) return 0;
  int count = 0;
  for (std::size_t i = dot + 1; i < unit_text.size() && unit_text[i] == '0'; ++i) {
    if (count == std::numeric_limits<int>::max()) break;
    ++count;
  }
  return count;
}

double UnitRatio(std::string_view source, std::string_view target) noexcept {
  return UnitDivisor(source) / UnitDivisor(target);
}

}  // namespace ripplet
