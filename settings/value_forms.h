// The text forms of the values in the settings file: integer, boolean, float and
// colour. All are locale-free except for the decimal separator, which the caller
// passes in as ANSI bytes (the user's regional one; "." when it is empty).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ripplet {

// Leading blanks (code 32 only), an optional sign, then either "$", "x", "X", "0x"
// or "0X" and 1 to 8 hex digits (any 32-bit pattern: "$FFFFFFFF" is -1), or decimal
// digits that fit a 32-bit signed integer. Nothing may follow. "-" negates.
std::optional<std::int32_t> ParseInteger(std::string_view text) noexcept;
std::string FormatInteger(std::int32_t value);

// An integer by the rule above, non-zero meaning true; broken text gives the default.
bool ParseBoolean(std::string_view text, bool default_value) noexcept;
std::string FormatBoolean(bool value);

// Optional blanks, optional sign, digits with an optional decimal separator and
// fraction (a lone separator is 0), optional exponent ("E"/"e", sign, digits),
// optional trailing blanks. Empty, broken or overflowing text gives nullopt;
// a value too small for a double reads as zero.
std::optional<double> ParseFloat(std::string_view text, std::string_view decimal_separator);
// The same texts read with a 64-bit mantissa, for arithmetic that must not round to a double
// first (a range converted to another unit).
std::optional<long double> ParseExtendedFloat(std::string_view text,
                                              std::string_view decimal_separator);

// General format, 15 significant digits: fixed notation while the decimal exponent
// lies in -3..15, else "1.5E-5" style. Not-a-number and infinities, which no reading
// produces, give "NAN", "INF" and "-INF" (they read back as broken text).
std::string FormatFloat(double value, std::string_view decimal_separator);
std::string FormatFloat(long double value, std::string_view decimal_separator);

// A colour name (without regard to ASCII case) or an integer by the rule above.
std::optional<std::uint32_t> ParseColour(std::string_view text) noexcept;

// The colour's name when it has one, else "$" and 8 upper-case hex digits.
std::string FormatColour(std::uint32_t colour);

// At least `min_digits` upper-case hex digits, without a prefix.
std::string HexDigits(std::uint32_t value, int min_digits);

}  // namespace ripplet
