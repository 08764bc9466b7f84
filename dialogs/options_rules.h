// The Options dialog's decisions that need no platform: the adapter list's order and
// selection, the unit box's selection and the unit the range edits are in, converting and
// checking the range edits, and the up-downs' positions.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ripplet {

// Orders two adapter descriptions (negative, zero, positive) without regard to case, as the
// platform's sorted list does; the shell passes the platform's comparison.
using TextCompare = std::function<int(std::string_view, std::string_view)>;

struct AdapterList {
  std::vector<std::string> Entries;     // in list order, the description bytes as stored
  std::optional<std::size_t> Selected;  // the first entry equal to the stored name
};

// The descriptions sorted (equal ones all kept, in table order); a stored name that none of
// them equals is appended after them, so an adapter that is absent now still shows.
AdapterList ListAdapters(std::vector<std::string> descriptions, std::string_view stored,
                         const TextCompare& compare);

struct UnitChoice {
  std::optional<std::size_t> Selected;  // index into kUnitTexts; none for another text
  // The unit the range edits are expressed in: the listed unit, or the stored text itself
  // when it is not one of the list (its divisor is still what the ranges were meant in).
  std::string Remembered;
};

// Matches the stored unit against the unit list without regard to ASCII case.
UnitChoice ChooseUnit(std::string_view stored);

// What OK stores: the picked unit, or the remembered one while the box shows none, so a
// unit text outside the list is kept rather than replaced by an empty text.
std::string UnitToStore(std::optional<std::size_t> selected, std::string_view remembered);

// The texts of GraphRangeEdit, GraphMiddleEdit and GraphSendRangeEdit, in this order.
using RangeTexts = std::array<std::string, 3>;

struct RangeConversion {
  RangeTexts Texts;                     // all three converted, or all three as they were
  std::optional<std::size_t> BadIndex;  // the first text that is not a number
};

// Multiplies each range by `ratio` and writes it back in the float form. A text that is not
// a number leaves all three unchanged, so the edits never end up in two different units.
RangeConversion ConvertRanges(const RangeTexts& texts, double ratio,
                              std::string_view decimal_separator);

enum class OptionsProblem { None, NoAdapter, BadNumber };

struct OptionsCheck {
  OptionsProblem Problem = OptionsProblem::None;
  std::size_t BadIndex = 0;        // the range edit at fault, for BadNumber
  std::array<double, 3> Ranges{};  // the three values, for None
};

// OK's checks in order: an adapter must be selected, then each range must be a number (an
// empty text is not). Zero, negative values and a middle above the range are accepted.
OptionsCheck CheckOptionInput(bool adapter_selected, const RangeTexts& texts,
                              std::string_view decimal_separator);

struct UpDownRange {
  std::int32_t Min;
  std::int32_t Max;
  std::int32_t Step;
};

inline constexpr UpDownRange kAlphaBlendRange{0, 99, 1};
inline constexpr UpDownRange kIntervalRange{10, 30000, 10};
inline constexpr UpDownRange kValueIntervalRange{1, 100, 1};

// A stored value outside the range starts at the nearest end of it.
std::int32_t UpDownStartPosition(std::int32_t stored, const UpDownRange& range) noexcept;

// The number an up-down takes from its edit: an optional sign and decimal digits, nothing
// else (no blanks, no thousands separators), within the range. Otherwise none, and the
// up-down keeps its previous position.
std::optional<std::int32_t> ParseUpDownText(std::wstring_view text,
                                            const UpDownRange& range) noexcept;

}  // namespace ripplet
