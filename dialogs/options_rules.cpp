#include "dialogs/options_rules.h"

#include <algorithm>

#include "display/units.h"
#include "settings/ansi_text.h"
#include "settings/value_forms.h"

namespace ripplet {

AdapterList ListAdapters(std::vector<std::string> descriptions, std::string_view stored,
                         const TextCompare& compare) {
  AdapterList list;
  // A stable sort keeps equal descriptions in table order, so the first row's wins.
  std::stable_sort(descriptions.begin(), descriptions.end(),
                   [&](const std::string& a, const std::string& b) { return compare(a, b) < 0; });
  list.Entries = std::move(descriptions);
  for (std::size_t i = 0; i < list.Entries.size(); ++i) {
    if (compare(list.Entries[i], stored) == 0) {
      list.Selected = i;
      break;
    }
  }
  if (!list.Selected && !stored.empty()) {
    list.Entries.emplace_back(stored);
    list.Selected = list.Entries.size() - 1;
  }
  return list;
}

UnitChoice ChooseUnit(std::string_view stored) {
  for (std::size_t i = 0; i < kUnitTexts.size(); ++i) {
    if (EqualsIgnoreAsciiCase(kUnitTexts[i], stored)) return {i, std::string(kUnitTexts[i])};
  }
  return {std::nullopt, std::string(stored)};
}

std::string UnitToStore(std::optional<std::size_t> selected, std::string_view remembered) {
  if (selected && *selected < kUnitTexts.size()) return std::string(kUnitTexts[*selected]);
  return std::string(remembered);
}

RangeConversion ConvertRanges(const RangeTexts& texts, double ratio,
                              std::string_view decimal_separator) {
  RangeConversion result{texts, std::nullopt};
  RangeTexts converted;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    // Read and multiplied with a 64-bit mantissa: a double product can differ in the 15th digit.
    const auto value = ParseExtendedFloat(texts[i], decimal_separator);
    if (!value) {
      result.BadIndex = i;
      return result;
    }
    converted[i] = FormatFloat(*value * static_cast<long double>(ratio), decimal_separator);
  }
  result.Texts = std::move(converted);
  return result;
}

OptionsCheck CheckOptionInput(bool adapter_selected, const RangeTexts& texts,
                              std::string_view decimal_separator) {
  OptionsCheck check;
  if (!adapter_selected) {
    check.Problem = OptionsProblem::NoAdapter;
    return check;
  }
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const auto value = ParseFloat(texts[i], decimal_separator);
    if (!value) {
      check.Problem = OptionsProblem::BadNumber;
      check.BadIndex = i;
      return check;
    }
    check.Ranges[i] = *value;
  }
  return check;
}

std::int32_t UpDownStartPosition(std::int32_t stored, const UpDownRange& range) noexcept {
  return std::clamp(stored, range.Min, range.Max);
}

std::optional<std::int32_t> ParseUpDownText(std::wstring_view text,
                                            const UpDownRange& range) noexcept {
  std::size_t i = 0;
  bool negative = false;
  if (!text.empty() && (text[0] == L'-' || text[0] == L'+')) {
    negative = text[0] == L'-';
    i = 1;
  }
  if (i == text.size()) return std::nullopt;
  std::int64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < L'0' || text[i] > L'9') return std::nullopt;
    magnitude = magnitude * 10 + (text[i] - L'0');
    if (magnitude > 0x7FFFFFFF) return std::nullopt;  // far outside every range
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value < range.Min || value > range.Max) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

}  // namespace ripplet
