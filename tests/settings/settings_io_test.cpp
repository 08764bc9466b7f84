#include "settings/settings_io.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "settings/custom_colours.h"

namespace ripplet {
namespace {

struct Loaded {
  Settings settings;
  WindowBounds bounds{100, 200, 300, 60};  // the window's layout bounds
  LineSpacings spacings{5, 7, 9, 0};       // as measured
  LoadReport report;
};

Loaded Load(std::string_view text, int ppi = 96, std::string_view separator = ".") {
  Loaded l;
  l.report =
      LoadSettingsFrom(IniDocument::Parse(text), l.settings, l.bounds, l.spacings, ppi, separator);
  return l;
}

bool HasLine(const std::string& text, const std::string& line) {
  return ("\r\n" + text).find("\r\n" + line + "\r\n") != std::string::npos;
}

TEST(LoadSettings, AnEmptyFileGivesTheDefaults) {
  const Loaded l = Load("");
  EXPECT_EQ(l.settings, Settings{});
  EXPECT_EQ(l.settings.GraphUnit, "0.00k \x83\x6F\x83\x43\x83\x67/\x95\x62");
  EXPECT_EQ(l.bounds, (WindowBounds{32, 32, 300, 60}));
  EXPECT_EQ(l.spacings, (LineSpacings{5, 7, 9, 0}));
  EXPECT_TRUE(l.report.BadColourValues.empty());
}

TEST(LoadSettings, BrokenValuesFallBackFieldByField) {
  const Loaded l = Load(
      "[Settings]\r\nInterval=1000ms\r\nValueInterval=$A\r\nAlphaBlend=-5\r\n"
      "ShowValue=yes\r\nHideWindow=yes\r\nLockWindow=-1\r\n"
      "GraphRange=1,5\r\nGraphMiddle=1.5e3\r\nGraphSendRange=\r\nGraphUnit=\r\n");
  EXPECT_EQ(l.settings.Interval, 1000);
  EXPECT_EQ(l.settings.ValueInterval, 10);
  EXPECT_EQ(l.settings.AlphaBlend, -5);
  EXPECT_TRUE(l.settings.ShowValue);
  EXPECT_FALSE(l.settings.HideWindow);
  EXPECT_TRUE(l.settings.LockWindow);
  EXPECT_EQ(l.settings.GraphRange, 1000.0);
  EXPECT_EQ(l.settings.GraphMiddle, 1500.0);
  EXPECT_EQ(l.settings.GraphSendRange, 150.0);
  EXPECT_EQ(l.settings.GraphUnit, "");  // a text that is present is taken as it is
}

TEST(LoadSettings, FloatsUseTheRegionalSeparator) {
  const Loaded l = Load("[Settings]\r\nGraphRange=1,5\r\nGraphMiddle=1.5\r\n", 96, ",");
  EXPECT_EQ(l.settings.GraphRange, 1.5);
  EXPECT_EQ(l.settings.GraphMiddle, 900.0);
}

TEST(LoadSettings, ABadColourTakesItsDefaultIsReportedAndLoadingGoesOn) {
  const Loaded l = Load(
      "[Colors]\r\nRecv=Blue\r\nSend=clblue\r\nMiddle=255\r\nBack=\r\n"
      "[Font]\r\nSize=12\r\n[Window]\r\nTop=5\r\n");
  EXPECT_EQ(l.settings.RecvColor, kClBlue);
  EXPECT_EQ(l.settings.SendColor, 0x00FF0000u);
  EXPECT_EQ(l.settings.MiddleColor, 0x000000FFu);
  EXPECT_EQ(l.settings.BackColor, kClSilver);
  EXPECT_EQ(l.report.BadColourValues, (std::vector<std::string>{"Blue", ""}));
  EXPECT_EQ(l.settings.ValueFont.Height, -16);
  EXPECT_EQ(l.bounds.Top, 5);
}

TEST(LoadSettings, FontSizeFollowsThePixelsPerInchAndStyleKeepsItsLowByte) {
  const Loaded l = Load("[Font]\r\nName=\r\nSize=10\r\nStyle=261\r\n", 120);
  EXPECT_EQ(l.settings.ValueFont.Height, -17);
  EXPECT_EQ(l.settings.ValueFont.Style, 5);
  EXPECT_EQ(l.settings.ValueFont.Name, "MS UI Gothic");  // empty name keeps the face

  Loaded other;
  other.settings.ValueFont.Name = "Tahoma";
  LoadSettingsFrom(IniDocument::Parse("[Font]\r\nName=\r\n"), other.settings, other.bounds,
                   other.spacings, 96, ".");
  EXPECT_EQ(other.settings.ValueFont.Name, "Tahoma");
  EXPECT_EQ(other.settings.ValueFont.Height, -13);
}

TEST(LoadSettings, FontArithmeticRoundsHalfAwayFromZeroWithoutOverflow) {
  EXPECT_EQ(FontHeightFromSize(10, 96), -13);  // 13.33
  EXPECT_EQ(FontHeightFromSize(9, 96), -12);   // 12 exactly
  EXPECT_EQ(FontHeightFromSize(3, 96), -4);    // 4
  EXPECT_EQ(FontHeightFromSize(-3, 132), 6);   // -5.5 -> -6, negated
  EXPECT_EQ(FontSizeFromHeight(-13, 96), 10);  // 9.75
  EXPECT_EQ(FontSizeFromHeight(-17, 120), 10);
  EXPECT_EQ(FontSizeFromHeight(-4, 96), 3);
  // A size too large for a 32-bit height becomes the largest that fits, and that height
  // saves as that size: the file settles at once, at every density.
  for (const int ppi : {72, 96, 144, 168, 240, 480, 1440}) {
    for (const std::int32_t size : {2000000000, -2000000000}) {
      const std::int32_t height = FontHeightFromSize(size, ppi);
      const std::int32_t saved = FontSizeFromHeight(height, ppi);
      EXPECT_EQ(FontHeightFromSize(saved, ppi), height) << size << " at " << ppi;
      EXPECT_EQ(FontSizeFromHeight(FontHeightFromSize(saved, ppi), ppi), saved);
      if (ppi > 72) {
        EXPECT_GT(std::abs(std::int64_t{height}), 2147483647 - ppi / 72) << ppi;
      }
    }
  }
  EXPECT_EQ(FontHeightFromSize(2000000000, 144), -2147483646);  // 1073741823 points
  EXPECT_EQ(FontSizeFromHeight(std::numeric_limits<std::int32_t>::min(), 72),
            std::numeric_limits<std::int32_t>::max());
}

TEST(LoadSettings, LineSpacingsAreAddedNotAssigned) {
  const Loaded l =
      Load("[Settings]\r\nValueLineSpacing2=3\r\nValueLineSpacing4=-2\r\nValueLineSpacing1=x\r\n");
  EXPECT_EQ(l.spacings, (LineSpacings{5, 10, 9, -2}));
}

TEST(LoadSettings, CustomColoursAreTakenAsLinesWhateverTheKeys) {
  const Loaded l = Load("[CustomColors]\r\nColorB=FF8040\r\nodd = x \r\n; c=1\r\nColorA=\r\n");
  EXPECT_EQ(l.settings.CustomColors,
            (std::vector<std::string>{"ColorB=FF8040", "odd=x", "ColorA="}));
}

TEST(SaveSettings, AFileMadeFromNothingHasTheDocumentedSectionsAndLines) {
  IniDocument ini;
  SaveSettingsTo(ini, Settings{}, WindowBounds{32, 40, 300, 60}, 96, ".");
  EXPECT_EQ(ini.SectionNames(),
            (std::vector<std::string>{"Ripplet", "Settings", "Colors", "Font", "Window"}));
  const std::string text = ini.Serialize();
  for (const char* line : {"Version=152",
                           "AdapterName=",
                           "AutoAdapter=0",
                           "GraphRange=1000",
                           "GraphMiddle=900",
                           "GraphSendRange=150",
                           "GraphUnit=0.00k \x83\x6F\x83\x43\x83\x67/\x95\x62",
                           "ShowValue=1",
                           "LockWindow=0",
                           "SnapWindow=0",
                           "HideWindow=0",
                           "AlphaBlend=0",
                           "Interval=1000",
                           "ValueInterval=1",
                           "Recv=clBlue",
                           "Send=clRed",
                           "Middle=clGray",
                           "Back=clSilver",
                           "Name=MS UI Gothic",
                           "Size=10",
                           "Style=0",
                           "Top=40",
                           "Left=32",
                           "Width=300",
                           "Height=60"}) {
    EXPECT_TRUE(HasLine(text, line)) << line;
  }
  EXPECT_EQ(text.find("ValueLineSpacing"), std::string::npos);
  // Keys go in the order they are written.
  EXPECT_LT(text.find("Top="), text.find("Left="));
  EXPECT_LT(text.find("AdapterName="), text.find("AutoAdapter="));
  EXPECT_LT(text.find("AutoAdapter="), text.find("GraphRange="));
}

// The automatic choice is one boolean beside AdapterName, which keeps naming an adapter: a
// file without the key is a fixed choice, and a value that is no boolean falls back to it.
TEST(LoadSettings, TheAutomaticChoiceFallsBackToTheNamedAdapter) {
  EXPECT_FALSE(Load("[Settings]\r\nAdapterName=eth0\r\n").settings.AutoAdapter);
  EXPECT_EQ(Load("[Settings]\r\nAdapterName=eth0\r\n").settings.AdapterName, "eth0");
  EXPECT_TRUE(Load("[Settings]\r\nAdapterName=eth0\r\nautoadapter=1\r\n").settings.AutoAdapter);
  for (const char* bad : {"yes", "true", "", "1x", "0x"}) {
    const Loaded l =
        Load(std::string("[Settings]\r\nAdapterName=eth0\r\nAutoAdapter=") + bad + "\r\n");
    EXPECT_FALSE(l.settings.AutoAdapter) << bad;
    EXPECT_EQ(l.settings.AdapterName, "eth0") << bad;
  }
}

TEST(SaveSettings, WritesColoursByNameOrHexAndFloatsWithTheSeparator) {
  Settings s;
  s.RecvColor = 0x00FF8040u;
  s.SendColor = 0xFF00000Fu;
  s.GraphRange = 1.0 / 3.0;
  IniDocument ini;
  SaveSettingsTo(ini, s, WindowBounds{}, 96, ",");
  EXPECT_EQ(ini.Get("Colors", "Recv"), "$00FF8040");
  EXPECT_EQ(ini.Get("Colors", "Send"), "clBtnFace");
  EXPECT_EQ(ini.Get("Settings", "GraphRange"), "0,333333333333333");
}

TEST(SaveSettings, OnlyCustomColoursWithAValueAreWritten) {
  Settings s;
  s.CustomColors = {"ColorA=FF8040", "ColorB=FFFFFFFF", "ColorC=", "colora=000000", "junk"};
  IniDocument ini = IniDocument::Parse("[CustomColors]\r\nColorD=123456\r\n");
  SaveSettingsTo(ini, s, WindowBounds{}, 96, ".");
  // ColorA's value is its first line's; ColorD, not in the list, stays.
  EXPECT_EQ(ini.KeyNames("CustomColors"), (std::vector<std::string>{"ColorD", "ColorA"}));
  EXPECT_EQ(ini.Get("CustomColors", "ColorA"), "FF8040");
}

TEST(SaveSettings, ALoadSaveRoundTripKeepsARichFile) {
  const std::string file =
      "; my meter\r\n"
      "[Ripplet]\r\nVersion=152\r\n\r\n"
      "[Settings]\r\n"
      "AdapterName=\"Intel(R) Ethernet \"\r\nAutoAdapter=1\r\n"
      "GraphRange=0.333333333333333\r\nGraphMiddle=1E-5\r\nGraphSendRange=-1\r\n"
      "GraphUnit=0M \x83\x72\x83\x62\x83\x67/\x95\x62\r\n"
      "ShowValue=0\r\nLockWindow=1\r\nSnapWindow=1\r\nHideWindow=1\r\n"
      "AlphaBlend=40\r\nInterval=250\r\nValueInterval=4\r\nValueLineSpacing3=2\r\n\r\n"
      "[Colors]\r\nRecv=clLime\r\nSend=$00FF8040\r\nMiddle=clBtnFace\r\nBack=clBlack\r\n\r\n"
      "[CustomColors]\r\nColorA=FF8040\r\nColorP=0000FF\r\n\r\n"
      "[Font]\r\nName=\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E\r\nSize=12\r\n"
      "Style=133\r\n\r\n"
      "[Window]\r\nTop=-20\r\nLeft=1900\r\nWidth=250\r\nHeight=48\r\n\r\n"
      "[Plugins]\r\nkept=yes\r\n";
  Loaded l = Load(file, 120);
  EXPECT_EQ(l.settings.AdapterName, "Intel(R) Ethernet ");
  EXPECT_TRUE(l.settings.AutoAdapter);
  EXPECT_EQ(l.spacings[2], 11);
  IniDocument ini = IniDocument::Parse(file);
  SaveSettingsTo(ini, l.settings, l.bounds, 120, ".");
  EXPECT_EQ(ini.Serialize(), file);
}

TEST(SaveSettings, TheUsageStartDayIsWrittenOnceSetAndSetBackToo) {
  Loaded l = Load("[Settings]\r\nInterval=250\r\n");
  EXPECT_EQ(l.settings.UsageStartDay, 1);
  IniDocument ini = IniDocument::Parse("[Settings]\r\nInterval=250\r\n");
  SaveSettingsTo(ini, l.settings, l.bounds, 96, ".");
  EXPECT_FALSE(ini.Get("Usage", "PeriodStartDay").has_value()) << "never set: not written";

  Settings changed = l.settings;
  changed.UsageStartDay = 25;
  SaveSettingsTo(ini, changed, l.bounds, 96, ".");
  EXPECT_EQ(ini.Get("Usage", "PeriodStartDay"), "25");
  EXPECT_EQ(Load(ini.Serialize()).settings.UsageStartDay, 25);
  // Back to the default: over a file loading read, and over one it did not.
  SaveSettingsTo(ini, l.settings, l.bounds, 96, ".");
  EXPECT_EQ(ini.Get("Usage", "PeriodStartDay"), "1");
  ini.Set("Usage", "PeriodStartDay", "25");
  SaveChangedSettingsTo(ini, changed, l.bounds, l.settings, l.bounds, 96, ".");
  EXPECT_EQ(ini.Get("Usage", "PeriodStartDay"), "1");
}

// The size is stored with the density it was taken at, right after it; a file without the
// key (an older version's) or with a value no monitor has loads as before, density unknown.
// A save over a file the program did not read writes the density whenever it writes a size,
// so a stale density never rescales a size taken at another.
TEST(SaveSettings, TheDensityGoesWithTheSizeAndAFileWithoutItLoadsAsBefore) {
  Loaded l = Load("[Window]\r\nWidth=515\r\nHeight=121\r\nPixelsPerInch=144\r\n");
  EXPECT_EQ(l.bounds, (WindowBounds{32, 32, 515, 121, 144}));
  EXPECT_TRUE(l.report.WidthStored);
  EXPECT_TRUE(l.report.HeightStored);
  for (const char* value : {"", "0", "47", "961", "-96", "abc"}) {
    EXPECT_EQ(Load(std::string("[Window]\r\nPixelsPerInch=") + value + "\r\n").bounds.Density, 0)
        << value;
  }
  const Loaded old = Load("[Window]\r\nWidth=361\r\n");
  EXPECT_EQ(old.bounds, (WindowBounds{32, 32, 361, 60, 0}));
  EXPECT_TRUE(old.report.WidthStored);
  EXPECT_FALSE(old.report.HeightStored);

  IniDocument ini;
  SaveSettingsTo(ini, Settings{}, WindowBounds{32, 40, 361, 85, 96}, 96, ".");
  EXPECT_NE(ini.Serialize().find("Width=361\r\nHeight=85\r\nPixelsPerInch=96\r\n"),
            std::string::npos)
      << ini.Serialize();
  IniDocument unknown;
  SaveSettingsTo(unknown, Settings{}, WindowBounds{32, 40, 361, 85, 0}, 96, ".");
  EXPECT_FALSE(unknown.Get("Window", "PixelsPerInch").has_value());

  // Not read at start: only the changes are written, and the density goes with a new size.
  const WindowBounds before{32, 40, 361, 85, 96};
  IniDocument foreign = IniDocument::Parse("[Window]\r\nWidth=515\r\nPixelsPerInch=144\r\n");
  SaveChangedSettingsTo(foreign, Settings{}, before, Settings{}, {32, 40, 361, 85, 96}, 96, ".");
  EXPECT_EQ(foreign.Get("Window", "PixelsPerInch"), "144") << "nothing changed, nothing written";
  SaveChangedSettingsTo(foreign, Settings{}, before, Settings{}, {32, 40, 400, 85, 96}, 96, ".");
  EXPECT_EQ(foreign.Get("Window", "Width"), "400");
  EXPECT_EQ(foreign.Get("Window", "PixelsPerInch"), "96");
}

TEST(CustomColours, ReadAndWriteTheSixteenDialogEntries) {
  std::vector<std::string> lines = {"colorb=ff8040", "ColorC=", "ColorA=FFFFFFFF", "Other=1"};
  const CustomColourRead read = ReadCustomColours(lines);
  ASSERT_FALSE(read.BadValue.has_value());
  EXPECT_EQ(read.Colours[0], kUnsetCustomColour);
  EXPECT_EQ(read.Colours[1], 0x00FF8040u);
  EXPECT_EQ(read.Colours[2], kUnsetCustomColour);
  EXPECT_EQ(read.Colours[15], kUnsetCustomColour);

  CustomColourArray colours = read.Colours;
  colours[0] = 0x000000FFu;
  colours[15] = 0x00123456u;
  WriteCustomColours(lines, colours);
  EXPECT_EQ(lines[0], "ColorB=FF8040");
  EXPECT_EQ(lines[1], "ColorC=FFFFFFFF");
  EXPECT_EQ(lines[2], "ColorA=0000FF");
  EXPECT_EQ(lines[3], "Other=1");
  EXPECT_EQ(lines.back(), "ColorP=123456");
  EXPECT_EQ(lines.size(), 4u + 13u);
  EXPECT_EQ(ReadCustomColours(lines).Colours, colours);
}

TEST(CustomColours, AValueThatIsNotHexIsReportedWithItsDollar) {
  EXPECT_EQ(ReadCustomColours({"ColorA=12", "ColorB=red"}).BadValue, "$red");
  EXPECT_EQ(ReadCustomColours({"ColorA=123456789"}).BadValue, "$123456789");
}

}  // namespace
}  // namespace ripplet
