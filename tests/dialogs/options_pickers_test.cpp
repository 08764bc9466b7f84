// The Options dialog's colour and font buttons (with the platform's dialogs answered by the
// test, and once the real colour dialog driven from a timer), its modal run, its layout,
// and a screenshot for looking at.
#include <gtest/gtest.h>

#include <windows.h>

#include <colordlg.h>
#include <dlgs.h>

#include "tests/support/design_scale.h"

#include <cstdlib>
#include <string>

#include "settings/custom_colours.h"
#include "tests/dialogs/options_test_support.h"
#include "tests/support/message_box_watcher.h"
#include "win32/win_modal.h"

namespace ripplet {
namespace {

using testing::FindDialogWindow;
using testing::MessageBoxWatcher;
using testing::OptionsDialogTest;
using testing::PumpMessages;
using testing::TimerSteps;

// A control's rectangle in the dialog's client pixels.
RECT ItemRect(HWND dialog, int id) {
  RECT rect{};
  ::GetWindowRect(::GetDlgItem(dialog, id), &rect);
  ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

struct ColourCall {
  HWND Owner;
  COLORREF Colour;
  std::array<COLORREF, 16> Custom;
};

class OptionsPickers : public OptionsDialogTest {
 protected:
  OptionsPickers() {
    settings_.AdapterName = "lo";
    // A colour dialog that records what it was shown and answers from `answers_`.
    pickers_.ChooseColour = [this](HWND owner, COLORREF& colour, std::array<COLORREF, 16>& custom) {
      colour_calls_.push_back({owner, colour, custom});
      if (colour_answers_.empty()) return false;
      const auto answer = colour_answers_.front();
      colour_answers_.erase(colour_answers_.begin());
      if (!answer.first) return false;
      colour = answer.second;
      custom[1] = 0x00ABCDEF;  // the user also added a custom colour
      return true;
    };
    pickers_.ChooseFont = [this](HWND, LOGFONTW& font) {
      font_calls_.push_back(font);
      if (!font_answer_) return false;
      font = *font_answer_;
      return true;
    };
  }

  // The colour in the middle of a swatch, as painted.
  COLORREF SwatchPixel(int id) {
    ::UpdateWindow(Dialog());
    PumpMessages(50);
    RECT rect{};
    ::GetClientRect(Item(id), &rect);
    HDC dc = ::GetDC(Item(id));
    const COLORREF pixel = ::GetPixel(dc, rect.right / 2, rect.bottom / 2);
    ::ReleaseDC(Item(id), dc);
    return pixel;
  }

  std::vector<ColourCall> colour_calls_;
  std::vector<std::pair<bool, COLORREF>> colour_answers_;
  std::vector<LOGFONTW> font_calls_;
  std::optional<LOGFONTW> font_answer_;
};

TEST_F(OptionsPickers, ColourButtonsPickIntoTheSwatchBesideThemAndOkStoresThem) {
  settings_.CustomColors = {"Other=1", "colora=FF8040"};
  settings_.BackColor = 0xFF00000F;  // clBtnFace
  Open();
  EXPECT_EQ(SwatchPixel(IDC_OPTIONS_RECVCOLORSHAPE), 0x00FF0000u);
  EXPECT_EQ(SwatchPixel(IDC_OPTIONS_BACKCOLORSHAPE), ::GetSysColor(COLOR_BTNFACE));

  colour_answers_ = {{true, 0x00123456}, {false, 0}};
  Click(IDC_OPTIONS_SENDCOLORBTN);
  Click(IDC_OPTIONS_BACKCOLORBTN);  // cancelled
  ASSERT_EQ(colour_calls_.size(), 2u);
  EXPECT_EQ(colour_calls_[0].Owner, Dialog());
  EXPECT_EQ(colour_calls_[0].Colour, 0x000000FFu);     // starts at the swatch's colour
  EXPECT_EQ(colour_calls_[0].Custom[0], 0x00FF8040u);  // from the list, key without case
  EXPECT_EQ(colour_calls_[0].Custom[1], 0xFFFFFFFFu);  // missing: unset
  EXPECT_EQ(colour_calls_[1].Colour, ::GetSysColor(COLOR_BTNFACE));  // a system colour as RGB
  EXPECT_EQ(colour_calls_[1].Custom[1], 0x00ABCDEFu);                // kept from the first pick
  EXPECT_EQ(SwatchPixel(IDC_OPTIONS_SENDCOLORSHAPE), 0x00123456u);
  EXPECT_EQ(SwatchPixel(IDC_OPTIONS_BACKCOLORSHAPE), ::GetSysColor(COLOR_BTNFACE));

  Click(IDOK);
  EXPECT_EQ(settings_.RecvColor, 0x00FF0000u);
  EXPECT_EQ(settings_.SendColor, 0x00123456u);
  EXPECT_EQ(settings_.BackColor, 0xFF00000Fu);  // the cancel kept the system colour
  // All 16 written back in place or appended; unknown lines stay.
  ASSERT_EQ(settings_.CustomColors.size(), 17u);
  EXPECT_EQ(settings_.CustomColors[0], "Other=1");
  EXPECT_EQ(settings_.CustomColors[1], "ColorA=FF8040");
  EXPECT_EQ(settings_.CustomColors[2], "ColorB=ABCDEF");
  EXPECT_EQ(settings_.CustomColors[3], "ColorC=FFFFFFFF");
  EXPECT_EQ(settings_.CustomColors[16], "ColorP=FFFFFFFF");
}

TEST_F(OptionsPickers, PickedColoursAndCustomColoursAreLostByCancel) {
  settings_.CustomColors = {"ColorA=FF8040"};
  const Settings before = settings_;
  Open();
  colour_answers_ = {{true, 0x00010203}};
  Click(IDC_OPTIONS_RECVCOLORBTN);
  EXPECT_EQ(SwatchPixel(IDC_OPTIONS_RECVCOLORSHAPE), 0x00010203u);
  Click(IDCANCEL);
  EXPECT_EQ(form_->ModalResult(), IDCANCEL);
  EXPECT_EQ(settings_, before);

  // A cancelled colour dialog changes neither the swatch nor the custom colours.
  Open();
  colour_answers_ = {{false, 0}};
  Click(IDC_OPTIONS_MIDDLECOLORBTN);
  Click(IDOK);
  EXPECT_EQ(settings_, before);
}

TEST_F(OptionsPickers, CustomColourThatIsNotHexStopsTheColourDialog) {
  settings_.CustomColors = {"ColorB=XYZ"};
  Open();
  {
    MessageBoxWatcher watcher;
    Click(IDC_OPTIONS_RECVCOLORBTN);
    ASSERT_EQ(watcher.Seen().size(), 1u);
    EXPECT_EQ(watcher.Seen()[0].Text, L"'$XYZ' は整数ではありません.");
  }
  EXPECT_TRUE(colour_calls_.empty());
  EXPECT_EQ(SwatchPixel(IDC_OPTIONS_RECVCOLORSHAPE), 0x00FF0000u);
}

TEST_F(OptionsPickers, RealColourDialogIsOwnedByTheDialogAndAnswersWithCustomColours) {
  pickers_ = TOptionForm::PlatformPickers();
  settings_.CustomColors = {"ColorA=FF8040"};
  settings_.RecvColor = 0x000000FF;
  Open();
  HWND colour_dialog = nullptr;
  auto find_colour_dialog = [&] {
    colour_dialog = FindDialogWindow([&](HWND w) { return w != Dialog(); });
    return colour_dialog != nullptr;
  };
  {
    // Cancelled: nothing changes.
    TimerSteps steps({find_colour_dialog, [&] {
                        ::SendMessageW(colour_dialog, WM_COMMAND, IDCANCEL, 0);
                        return true;
                      }});
    Click(IDC_OPTIONS_RECVCOLORBTN);
    EXPECT_TRUE(steps.Done());
  }
  ASSERT_NE(colour_dialog, nullptr);
  {
    TimerSteps steps({find_colour_dialog, [&] {
                        EXPECT_EQ(::GetWindow(colour_dialog, GW_OWNER), Dialog());
                        EXPECT_FALSE(::IsWindowEnabled(Dialog()));
                        // The basic view: the custom part is the user's to open.
                        EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(colour_dialog, COLOR_MIX)));
                        RECT client{};
                        ::GetClientRect(colour_dialog, &client);
                        EXPECT_GE(ItemRect(colour_dialog, COLOR_RAINBOW).left, client.right)
                            << "opened full";
                        ::SendMessageW(colour_dialog, WM_COMMAND, IDOK, 0);
                        return true;
                      }});
    Click(IDC_OPTIONS_RECVCOLORBTN);
    EXPECT_TRUE(steps.Done());
  }
  Click(IDOK);
  EXPECT_EQ(settings_.RecvColor, 0x000000FFu);  // confirmed at the starting colour
  ASSERT_EQ(settings_.CustomColors.size(), 16u);
  EXPECT_EQ(settings_.CustomColors[0], "ColorA=FF8040");
  EXPECT_EQ(settings_.CustomColors[1], "ColorB=FFFFFFFF");
}

// The platform's own font dialog: started from the value font, screen fonts, no effects
// (underline, strike-out, colour) and no Apply button.
TEST_F(OptionsPickers, RealFontDialogStartsAtTheValueFontWithoutEffectsOrApply) {
  pickers_ = TOptionForm::PlatformPickers();
  settings_.ValueFont = {"MS UI Gothic", -13, 0, 1};
  Open();
  HWND font_dialog = nullptr;
  std::wstring face;
  bool effects_shown = true, apply_shown = true;
  TimerSteps steps({[&] {
                      font_dialog = FindDialogWindow([&](HWND w) { return w != Dialog(); });
                      return font_dialog != nullptr;
                    },
                    [&] {
                      EXPECT_EQ(::GetWindow(font_dialog, GW_OWNER), Dialog());
                      wchar_t text[LF_FACESIZE] = {};
                      ::GetDlgItemTextW(font_dialog, cmb1, text, LF_FACESIZE);
                      face = text;
                      effects_shown = false;
                      for (int id : {chx1, chx2, cmb4}) {
                        HWND item = ::GetDlgItem(font_dialog, id);
                        if (item != nullptr && ::IsWindowVisible(item)) effects_shown = true;
                      }
                      HWND apply = ::GetDlgItem(font_dialog, psh3);
                      apply_shown = apply != nullptr && ::IsWindowVisible(apply);
                      ::SendMessageW(font_dialog, WM_COMMAND, IDCANCEL, 0);
                      return true;
                    }});
  Click(IDC_OPTIONS_VALUEFONTBUTTON);
  EXPECT_TRUE(steps.Done());
  ASSERT_NE(font_dialog, nullptr);
  EXPECT_EQ(face, L"MS UI Gothic") << "initialised from the value font";
  EXPECT_FALSE(effects_shown);
  EXPECT_FALSE(apply_shown);
  Click(IDCANCEL);
}

TEST_F(OptionsPickers, FontChoiceReachesTheValueFontOnlyThroughOk) {
  settings_.ValueFont = {"MS UI Gothic", -13, 0x10, 1};  // a stray style bit kept from the file
  const Settings before = settings_;
  Open();
  Click(IDC_OPTIONS_VALUEFONTBUTTON);  // cancelled
  ASSERT_EQ(font_calls_.size(), 1u);
  EXPECT_STREQ(font_calls_[0].lfFaceName, L"MS UI Gothic");
  EXPECT_EQ(font_calls_[0].lfHeight, -13);
  EXPECT_EQ(font_calls_[0].lfWeight, FW_NORMAL);
  EXPECT_EQ(font_calls_[0].lfCharSet, 1);
  Click(IDOK);
  EXPECT_EQ(settings_, before);

  // Another face: its character set comes along.
  LOGFONTW chosen = font_calls_[0];
  chosen.lfHeight = -16;
  chosen.lfWeight = FW_BOLD;
  chosen.lfItalic = TRUE;
  chosen.lfCharSet = SHIFTJIS_CHARSET;
  wcscpy(chosen.lfFaceName, L"IPAGothic");
  font_answer_ = chosen;
  Open();
  Click(IDC_OPTIONS_VALUEFONTBUTTON);
  Click(IDCANCEL);
  EXPECT_EQ(settings_, before);
  Open();
  Click(IDC_OPTIONS_VALUEFONTBUTTON);
  Click(IDOK);
  EXPECT_EQ(settings_.ValueFont,
            (FontSpec{"IPAGothic", -16, kFontStyleBold | kFontStyleItalic, SHIFTJIS_CHARSET}));

  // The same face (another case) and script: the character set stays, the styles are the
  // dialog's four.
  chosen = FontToLogFont(settings_.ValueFont);
  wcscpy(chosen.lfFaceName, L"ipagothic");
  chosen.lfWeight = FW_NORMAL;
  chosen.lfItalic = FALSE;
  chosen.lfUnderline = TRUE;
  font_answer_ = chosen;
  settings_.ValueFont.Style |= 0x20;
  Open();
  Click(IDC_OPTIONS_VALUEFONTBUTTON);
  Click(IDOK);
  EXPECT_EQ(settings_.ValueFont,
            (FontSpec{"ipagothic", -16, kFontStyleUnderline, SHIFTJIS_CHARSET}));
}

TEST_F(OptionsPickers, MergeTakesTheCharacterSetWhenTheFaceOrTheScriptChanged) {
  const FontSpec current{"Arial", -13, 0, 1};
  LOGFONTW initial = FontToLogFont(current);
  LOGFONTW chosen = initial;
  chosen.lfCharSet = 0;
  EXPECT_EQ(MergeChosenFont(current, initial, chosen).Charset, 0);  // another script
  chosen.lfCharSet = 1;
  wcscpy(chosen.lfFaceName, L"ARIAL");
  EXPECT_EQ(MergeChosenFont(current, initial, chosen).Charset, 1);
  EXPECT_EQ(MergeChosenFont(current, initial, chosen).Name, "ARIAL");
  wcscpy(chosen.lfFaceName, L"Arial");
  EXPECT_EQ(MergeChosenFont(current, initial, chosen).Name, "Arial");
}

TEST_F(OptionsPickers, ShowOptionsDialogRunsInTheModalLoopWhileTimersTick) {
  HWND owner = ::CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
  static int ticks = 0;
  ticks = 0;
  const UINT_PTR ticker = ::SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) { ++ticks; });
  OptionsContext context{settings_, table_, ".", 96, {}, {}, {}};
  HWND seen = nullptr;
  bool owner_disabled = false;
  // Waits for the ticks rather than for a time, so a loaded machine cannot fail it.
  TimerSteps steps({[&] {
                      seen = FindDialogWindow([](HWND) { return true; });
                      return seen != nullptr && ticks > 5;
                    },
                    [&] {
                      owner_disabled = !::IsWindowEnabled(owner);
                      ::SetDlgItemTextW(seen, IDC_OPTIONS_INTERVALEDIT, L"300");
                      ::SendMessageW(::GetDlgItem(seen, IDOK), BM_CLICK, 0, 0);
                      return true;
                    }});
  EXPECT_TRUE(ShowOptionsDialog(owner, context));
  ::KillTimer(nullptr, ticker);
  EXPECT_TRUE(steps.Done());
  EXPECT_TRUE(owner_disabled);
  EXPECT_TRUE(::IsWindowEnabled(owner));
  EXPECT_FALSE(::IsWindow(seen));  // released after use
  EXPECT_GT(ticks, 5);
  EXPECT_EQ(settings_.Interval, 300);
  ::DestroyWindow(owner);
}

// The layout is given in pixels at 96 per inch for "MS UI Gothic" 9 pt, whose dialog base
// units are 6 x 12 there. The template's units must land on those pixels, scaled by the
// base units the dialog really got from its font (they grow with the density, and the
// harness' stand-in font is 13 px tall): a pixel off where a unit cannot reach, two after
// scaling.
TEST_F(OptionsPickers, LaysOutTheDesignsPixelsInDialogUnits) {
  std::vector<testing::FakeRow> rows;
  for (int i = 0; i < 12; ++i) rows.push_back({"adapter " + std::to_string(i)});
  SetRows(rows);
  Open();
  const testing::DesignScale scale(Dialog());
  const auto close_x = [&](LONG actual, int at96) { return scale.X(actual, at96); };
  const auto close_y = [&](LONG actual, int at96) { return scale.Y(actual, at96); };

  RECT client{};
  ::GetClientRect(Dialog(), &client);
  EXPECT_PRED2(close_x, client.right, 472);
  EXPECT_PRED2(close_y, client.bottom, 347);

  struct Designed {
    int id, left, top, width, height;
  };
  // Pixel rectangles of the design; the groups' children at the group's offset.
  const Designed designed[] = {
      {IDC_OPTIONS_ADAPTERGROUP, 8, 8, 457, 49},
      {IDC_OPTIONS_GRAPHGROUP, 8, 64, 225, 249},
      {IDC_OPTIONS_WINDOWGROUP, 240, 64, 225, 249},
      {IDC_OPTIONS_GRAPHRANGEEDIT, 136, 84, 81, 20},
      {IDC_OPTIONS_GRAPHSENDRANGEEDIT, 136, 132, 81, 20},
      {IDC_OPTIONS_BACKCOLORBTN, 37, 276, 88, 21},
      {IDC_OPTIONS_BACKCOLORSHAPE, 136, 276, 65, 21},
      {IDC_OPTIONS_SHOWVALUECHECK, 256, 88, 145, 17},
      {IDC_OPTIONS_HIDEWINDOWCHECK, 256, 148, 201, 17},
      {IDC_OPTIONS_INTERVALEDIT, 344, 200, 57, 20},
      {IDC_OPTIONS_DEFAULTHEIGHTBTN, 280, 280, 144, 21},
      {IDOK, 188, 321, 88, 21},
      {IDCANCEL, 282, 321, 88, 21},
      {IDC_OPTIONS_HELPBTN, 376, 321, 88, 21},
  };
  for (const Designed& d : designed) {
    const RECT r = ItemRect(Dialog(), d.id);
    EXPECT_PRED2(close_x, r.left, d.left) << d.id;
    EXPECT_PRED2(close_y, r.top, d.top) << d.id;
    EXPECT_PRED2(close_x, r.right - r.left, d.width) << d.id;
    EXPECT_PRED2(close_y, r.bottom - r.top, d.height) << d.id;
  }
  // The drop-down lists' closed height comes from their font, not from the template.
  const RECT adapters = ItemRect(Dialog(), IDC_OPTIONS_ADAPTERBOX);
  EXPECT_PRED2(close_x, adapters.left, 24);
  EXPECT_PRED2(close_y, adapters.top, 28);
  EXPECT_PRED2(close_x, adapters.right - adapters.left, 425);
  EXPECT_PRED2(close_x, ItemRect(Dialog(), IDC_OPTIONS_GRAPHUNITBOX).left, 104);

  // The lists drop down showing 8 adapters, and all 18 units.
  for (const auto& [id, visible] :
       {std::pair{IDC_OPTIONS_ADAPTERBOX, 8}, std::pair{IDC_OPTIONS_GRAPHUNITBOX, 18}}) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(::GetComboBoxInfo(Item(id), &info));
    ::SendMessageW(Item(id), CB_SHOWDROPDOWN, TRUE, 0);
    RECT list{};
    ::GetClientRect(info.hwndList, &list);
    const int item = static_cast<int>(::SendMessageW(Item(id), CB_GETITEMHEIGHT, 0, 0));
    ::SendMessageW(Item(id), CB_SHOWDROPDOWN, FALSE, 0);
    EXPECT_EQ(list.bottom / item, visible) << id;
  }

  // The up-downs sit right of their edits, as tall as they are.
  const RECT edit = ItemRect(Dialog(), IDC_OPTIONS_INTERVALEDIT);
  const RECT updown = ItemRect(Dialog(), IDC_OPTIONS_INTERVALUPDOWN);
  EXPECT_EQ(updown.left, edit.right);
  EXPECT_EQ(updown.top, edit.top);
  EXPECT_EQ(updown.bottom, edit.bottom);

  // The dialog font: "MS UI Gothic" 9 pt, so 12 px at 96 pixels per inch.
  LOGFONTW font{};
  ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(Dialog(), WM_GETFONT, 0, 0)), sizeof(font),
               &font);
  EXPECT_STREQ(font.lfFaceName, L"MS UI Gothic");
  EXPECT_EQ(font.lfHeight, -::MulDiv(9, testing::ScreenPpi(), 72));
}

// Holds the dialog open in the program's modal loop (so the keyboard works) for a
// screenshot: run with --gtest_also_run_disabled_tests --gtest_filter=*Screenshot* and take
// it from the harness display meanwhile. RIPPLET_SCREENSHOT_MS sets how long (8 s).
TEST_F(OptionsPickers, DISABLED_HoldOpenForScreenshot) {
  settings_.LockWindow = true;
  settings_.SnapWindow = true;
  settings_.AlphaBlend = 20;
  Open();
  const char* wait = std::getenv("RIPPLET_SCREENSHOT_MS");
  const DWORD hold = static_cast<DWORD>(wait ? std::atoi(wait) : 8000);
  const DWORD start = ::GetTickCount();
  TimerSteps steps({[&] {
                     if (::GetTickCount() - start < hold) return false;
                     ::PostMessageW(Dialog(), WM_COMMAND, IDCANCEL, 0);
                     return true;
                   }},
                   hold + 5000);
  EXPECT_EQ(form_->ShowModal(), IDCANCEL);
}

}  // namespace
}  // namespace ripplet
