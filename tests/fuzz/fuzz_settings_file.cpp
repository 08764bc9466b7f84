// The settings record's trip through the settings file: load arbitrary bytes as the file,
// save, load again, and save once more, at any pixel density and either separator.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/ini_document.h"
#include "settings/settings_io.h"
#include "settings/value_forms.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/fuzz_input.h"

namespace ripplet::fuzz {
namespace {

// Floats go through their text form; the rest of the record comes back exact.

void CheckSameSettings(const Settings& loaded, const Settings& reloaded,
                       std::string_view separator) {
  Settings expected = loaded;
  for (double Settings::*field :
       {&Settings::GraphRange, &Settings::GraphMiddle, &Settings::GraphSendRange}) {
    FUZZ_CHECK(FormatFloat(reloaded.*field, separator) == FormatFloat(loaded.*field, separator));
    expected.*field = reloaded.*field;
  }
  FUZZ_CHECK(reloaded == expected);
}

struct Loaded {
  Settings Record;
  WindowBounds Bounds{10, 20, 300, 60};  // the window's layout size before loading
  LineSpacings Spacings{13, 13, 13, 0};  // as measured
  LoadReport Report;
};

Loaded Load(const IniDocument& doc, int ppi, std::string_view separator) {
  Loaded loaded;
  loaded.Report =
      LoadSettingsFrom(doc, loaded.Record, loaded.Bounds, loaded.Spacings, ppi, separator);
  FUZZ_CHECK(!loaded.Record.ValueFont.Name.empty());
  return loaded;
}

IniDocument SaveAndReparse(IniDocument doc, const Loaded& loaded, int ppi,
                           std::string_view separator) {
  SaveSettingsTo(doc, loaded.Record, loaded.Bounds, ppi, separator);
  return IniDocument::Parse(doc.Serialize());
}

void CheckRoundTrip(const IniDocument& doc, int ppi, std::string_view separator) {
  const Loaded first = Load(doc, ppi, separator);
  const IniDocument saved = SaveAndReparse(doc, first, ppi, separator);
  const Loaded second = Load(saved, ppi, separator);
  CheckSameSettings(first.Record, second.Record, separator);
  FUZZ_CHECK(second.Bounds == first.Bounds);
  FUZZ_CHECK(second.Spacings == first.Spacings);
  FUZZ_CHECK(second.Report.BadColourValues.empty());  // bad colours were saved as defaults

  // The saved file is a fixed point: saving what it loads changes nothing.
  const IniDocument resaved = SaveAndReparse(saved, second, ppi, separator);
  FUZZ_CHECK(resaved.Serialize() == saved.Serialize());

  // A file made from nothing holds the whole record but for the custom colours, which
  // are written only when they hold a colour.
  const IniDocument fresh = SaveAndReparse(IniDocument{}, first, ppi, separator);
  Loaded from_fresh = Load(fresh, ppi, separator);
  from_fresh.Record.CustomColors = first.Record.CustomColors;
  CheckSameSettings(first.Record, from_fresh.Record, separator);
  FUZZ_CHECK(from_fresh.Bounds == first.Bounds);
}

}  // namespace
}  // namespace ripplet::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace ripplet;
  using namespace ripplet::fuzz;
  // The whole input is the file; its last bytes choose the density and the separator.
  FuzzInput in(data, size);
  const int ppi = in.Number<std::int32_t>();
  const std::string_view separator = in.Flag() ? "," : ".";
  CheckRoundTrip(IniDocument::Parse({reinterpret_cast<const char*>(data), size}), ppi, separator);
  return 0;
}
