#include "settings/custom_colours.h"

#include <algorithm>

#include "settings/ansi_text.h"
#include "settings/value_forms.h"

namespace ripplet {

std::optional<std::string_view> LineName(std::string_view line) noexcept {
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return line.substr(0, eq);
}

std::optional<std::string_view> FindLineValue(const std::vector<std::string>& lines,
                                              std::string_view name) noexcept {
  for (const std::string& line : lines) {
    const auto line_name = LineName(line);
    if (line_name && EqualsIgnoreAsciiCase(*line_name, name)) {
      return std::string_view(line).substr(line_name->size() + 1);
    }
  }
  return std::nullopt;
}

std::string CustomColourKey(std::size_t index) {
  return "Color" + std::string(1, static_cast<char>('A' + index));
}

CustomColourRead ReadCustomColours(const std::vector<std::string>& lines) {
  CustomColourRead read;
  for (std::size_t i = 0; i < read.Colours.size(); ++i) {
    const auto value = FindLineValue(lines, CustomColourKey(i));
    if (!value || value->empty()) {
      read.Colours[i] = kUnsetCustomColour;
      continue;
    }
    const std::string text = '$' + std::string(*value);
    const auto number = ParseInteger(text);
    if (!number) {
      read.BadValue = text;
      return read;
    }
    read.Colours[i] = static_cast<std::uint32_t>(*number);
  }
  return read;
}

void WriteCustomColours(std::vector<std::string>& lines, const CustomColourArray& colours) {
  for (std::size_t i = 0; i < colours.size(); ++i) {
    const std::string key = CustomColourKey(i);
    std::string line = key + '=' + HexDigits(colours[i], 6);
    const auto existing =
        std::find_if(lines.begin(), lines.end(), [&key](const std::string& candidate) {
          const auto name = LineName(candidate);
          return name && EqualsIgnoreAsciiCase(*name, key);
        });
    if (existing != lines.end()) {
      *existing = std::move(line);
    } else {
      lines.push_back(std::move(line));
    }
  }
}

}  // namespace ripplet
