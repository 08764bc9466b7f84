// The About dialog in-process under wine: created from its template over a hidden owner,
// read back, and driven through the program's own modal loop.
#include "dialogs/about_dialog.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "tests/support/design_scale.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <numeric>
#include <string>
#include <vector>

#include "dialogs/about_texts.h"
#include "resources/about_ids.h"
#include "tests/dialogs/modal_steps.h"
#include "win32/app_error.h"
#include "win32/win_application.h"
#include "win32/win_text.h"

namespace ripplet {
namespace {

using testing::Do;
using testing::FindOtherThreadDialog;
using testing::FindThreadDialog;
using testing::ModalSteps;
using testing::PostKey;

constexpr wchar_t kCaption[] = L"バージョン情報";

std::wstring ItemText(HWND dialog, int id) { return WindowText(::GetDlgItem(dialog, id)); }

LOGFONTW FontOf(HWND window) {
  LOGFONTW font{};
  ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0)), sizeof(font),
               &font);
  return font;
}

// A control's rectangle in its dialog's client pixels.
RECT ItemRect(HWND dialog, int id) {
  RECT rect{};
  ::GetWindowRect(::GetDlgItem(dialog, id), &rect);
  ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// The control as it paints itself, pixel by pixel (0x00RRGGBB).
std::vector<std::uint32_t> Rendering(HWND control) {
  RECT r{};
  ::GetClientRect(control, &r);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), r.right, -r.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  HDC dc = ::CreateCompatibleDC(nullptr);
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = ::SelectObject(dc, bitmap);
  ::SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  ::GdiFlush();
  const auto* p = static_cast<const std::uint32_t*>(bits);
  std::vector<std::uint32_t> pixels(
      p, p + static_cast<size_t>(r.right) * static_cast<size_t>(r.bottom));
  ::SelectObject(dc, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(dc);
  return pixels;
}

struct LinkCall {
  HWND Parent;
  std::wstring Target;
};

class AboutTest : public ::testing::Test {
 protected:
  AboutTest() {
    owner_ = ::CreateWindowExW(0, L"Static", L"owner", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                               ::GetModuleHandleW(nullptr), nullptr);
  }
  ~AboutTest() override { ::DestroyWindow(owner_); }

  TAboutForm::LinkOpener Recorder() {
    return [this](HWND parent, const std::wstring& target) { calls_.push_back({parent, target}); };
  }

  HWND owner_ = nullptr;
  std::vector<LinkCall> calls_;
};

TEST_F(AboutTest, ShowsTheTextsFontsAndFrameOfItsDesign) {
  TAboutForm form(Recorder());
  form.Create(owner_);
  form.FormShow();
  HWND dialog = form.Handle();
  ASSERT_TRUE(::IsWindow(dialog));

  EXPECT_EQ(WindowText(dialog), kCaption);
  EXPECT_EQ(ItemText(dialog, IDC_ABOUT_NAMELABEL), L"Ripplet");
  EXPECT_EQ(ItemText(dialog, IDC_ABOUT_PLATFORMLABEL), L"for Win32");
  EXPECT_EQ(ItemText(dialog, IDC_ABOUT_NOTICELABEL), L"Copyright (C) 2026 The Ripplet developers");
  EXPECT_EQ(ItemText(dialog, IDC_ABOUT_MAILCAPTION), L"E-mail :");
  EXPECT_EQ(ItemText(dialog, IDC_ABOUT_URLCAPTION), L"URL :");
  EXPECT_EQ(ItemText(dialog, IDC_ABOUT_MAILLABEL), kAboutMailAddress);
  EXPECT_EQ(ItemText(dialog, IDC_ABOUT_URLLABEL), kAboutWebAddress);
  EXPECT_EQ(ItemText(dialog, IDOK), L"OK");

  // A dialog frame with a close box only: no sizing border, no minimise or maximise.
  const LONG_PTR style = ::GetWindowLongPtrW(dialog, GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU), WS_CAPTION | WS_SYSMENU);
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
  EXPECT_EQ(::GetWindow(dialog, GW_OWNER), owner_);
  // OK is the first tab stop, then the two links.
  HWND ok = ::GetDlgItem(dialog, IDOK);
  EXPECT_EQ(::GetNextDlgTabItem(dialog, nullptr, FALSE), ok);
  EXPECT_EQ(::GetNextDlgTabItem(dialog, ok, FALSE), ::GetDlgItem(dialog, IDC_ABOUT_MAILLABEL));
  EXPECT_EQ(::GetNextDlgTabItem(dialog, ::GetDlgItem(dialog, IDC_ABOUT_MAILLABEL), FALSE),
            ::GetDlgItem(dialog, IDC_ABOUT_URLLABEL));
  EXPECT_EQ(::GetNextDlgTabItem(dialog, ::GetDlgItem(dialog, IDC_ABOUT_URLLABEL), FALSE), ok);

  const int ppi = testing::ScreenPpi();
  const LOGFONTW dialog_font = FontOf(dialog);
  EXPECT_STREQ(dialog_font.lfFaceName, L"MS UI Gothic");
  EXPECT_EQ(dialog_font.lfHeight, -::MulDiv(9, ppi, 72));
  const LOGFONTW name_font = FontOf(::GetDlgItem(dialog, IDC_ABOUT_NAMELABEL));
  EXPECT_STREQ(name_font.lfFaceName, L"ＭＳ Ｐゴシック");
  EXPECT_EQ(name_font.lfHeight, -::MulDiv(16, ppi, 96));
  EXPECT_EQ(name_font.lfWeight, FW_BOLD);
  const LOGFONTW version_font = FontOf(::GetDlgItem(dialog, IDC_ABOUT_VERSIONLABEL));
  EXPECT_STREQ(version_font.lfFaceName, L"MS UI Gothic");
  EXPECT_EQ(version_font.lfHeight, -::MulDiv(13, ppi, 96));

  // The icon shows a copy of the executable's main icon.
  EXPECT_NE(::SendDlgItemMessageW(dialog, IDC_ABOUT_ICONIMAGE, STM_GETICON, 0, 0), 0);
}

// The layout is given in pixels at 96 per inch for "MS UI Gothic" 9 pt, whose dialog base
// units are 6 x 12 there. The template's dialog units must land on those pixels, scaled by
// the base units the dialog really got from its font (they grow with the density, and a
// stand-in font may be taller): a pixel off where a unit cannot reach, two after scaling.
TEST_F(AboutTest, LaysOutTheDesignsPixelsInDialogUnits) {
  TAboutForm form(Recorder());
  form.Create(owner_);
  form.FormShow();
  HWND dialog = form.Handle();
  const testing::DesignScale scale(dialog);
  const auto close_x = [&](LONG actual, int at96) { return scale.X(actual, at96); };
  const auto close_y = [&](LONG actual, int at96) { return scale.Y(actual, at96); };

  RECT client{};
  ::GetClientRect(dialog, &client);
  EXPECT_PRED2(close_x, client.right, 316);
  EXPECT_PRED2(close_y, client.bottom, 182);

  struct Expected {
    int id, left, top, width, height;
  };
  for (const Expected& e :
       {Expected{IDC_ABOUT_BEVEL1, 38, 16, 241, 53}, Expected{IDC_ABOUT_ICONIMAGE, 52, 28, 32, 32},
        Expected{IDOK, 114, 152, 88, 21}}) {
    const RECT r = ItemRect(dialog, e.id);
    EXPECT_PRED2(close_x, r.left, e.left) << e.id;
    EXPECT_PRED2(close_y, r.top, e.top) << e.id;
    EXPECT_PRED2(close_x, r.right - r.left, e.width) << e.id;
    EXPECT_PRED2(close_y, r.bottom - r.top, e.height) << e.id;
  }
  EXPECT_PRED2(close_x, ItemRect(dialog, IDC_ABOUT_NAMELABEL).left, 110);
  EXPECT_PRED2(close_y, ItemRect(dialog, IDC_ABOUT_NAMELABEL).top, 27);
  EXPECT_PRED2(close_x, ItemRect(dialog, IDC_ABOUT_VERSIONLABEL).right, 258);
  EXPECT_PRED2(close_y, ItemRect(dialog, IDC_ABOUT_VERSIONLABEL).top, 29);
  EXPECT_PRED2(close_x, ItemRect(dialog, IDC_ABOUT_PLATFORMLABEL).left, 160);
  EXPECT_PRED2(close_y, ItemRect(dialog, IDC_ABOUT_PLATFORMLABEL).top, 47);
  EXPECT_PRED2(close_x, ItemRect(dialog, IDC_ABOUT_NOTICELABEL).left, 23);
  EXPECT_PRED2(close_x, ItemRect(dialog, IDC_ABOUT_NOTICELABEL).right, 23 + 269);
  EXPECT_PRED2(close_y, ItemRect(dialog, IDC_ABOUT_NOTICELABEL).top, 82);
  EXPECT_PRED2(close_x, ItemRect(dialog, IDC_ABOUT_MAILCAPTION).right, 104);
  EXPECT_PRED2(close_x, ItemRect(dialog, IDC_ABOUT_URLCAPTION).right, 104);
  for (const auto& [id, top] : {std::pair{IDC_ABOUT_MAILLABEL, 104}, {IDC_ABOUT_URLLABEL, 120}}) {
    const RECT r = ItemRect(dialog, id);
    EXPECT_PRED2(close_x, r.left, 112) << id;
    EXPECT_PRED2(close_y, r.top, top) << id;
    // Fitted to its text, so only the text takes the click; and it fits inside the dialog.
    EXPECT_LT(r.right - r.left, client.right - r.left);
    EXPECT_GT(r.right - r.left, 0);
  }
}

// The version label and its tooltip say what the executable's version record says.
// The width of `id`'s text in the font it has now.
int TextWidthOf(HWND dialog, int id) {
  HWND label = ::GetDlgItem(dialog, id);
  const std::wstring text = WindowText(label);
  HDC dc = ::GetDC(label);
  HGDIOBJ old =
      ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(label, WM_GETFONT, 0, 0)));
  RECT r{};
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  ::SelectObject(dc, old);
  ::ReleaseDC(label, dc);
  return r.right - r.left;
}

// At a change of density the labels with fonts of their own get them anew at the new
// density, are fitted to their texts again once the dialog is laid out anew, and the icon is
// drawn again at its image's new size. (Wine lays out no dialog at a change of density: the
// test sizes the image as the system's dialog manager would.)
TEST_F(AboutTest, AChangeOfDensityRemakesTheLabelsFontsAndTheIcon) {
  TAboutForm form(Recorder());
  form.Create(owner_);
  form.FormShow();
  HWND dialog = form.Handle();
  const int ppi = testing::ScreenPpi();
  const int to = ppi == 144 ? 96 : 144;
  const LOGFONTW link_before = FontOf(::GetDlgItem(dialog, IDC_ABOUT_MAILLABEL));
  const LONG version_right = ItemRect(dialog, IDC_ABOUT_VERSIONLABEL).right;
  const int icon_size = ::MulDiv(32, to, 96);
  ::SetWindowPos(::GetDlgItem(dialog, IDC_ABOUT_ICONIMAGE), nullptr, 0, 0, icon_size, icon_size,
                 SWP_NOMOVE | SWP_NOZORDER);
  RECT suggested{};
  ::GetWindowRect(dialog, &suggested);
  ::SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);

  const LOGFONTW name = FontOf(::GetDlgItem(dialog, IDC_ABOUT_NAMELABEL));
  EXPECT_STREQ(name.lfFaceName, L"ＭＳ Ｐゴシック");
  EXPECT_EQ(name.lfHeight, -::MulDiv(16, to, 96));
  EXPECT_EQ(name.lfWeight, FW_BOLD);
  EXPECT_EQ(FontOf(::GetDlgItem(dialog, IDC_ABOUT_VERSIONLABEL)).lfHeight, -::MulDiv(13, to, 96));
  for (int id : {IDC_ABOUT_MAILLABEL, IDC_ABOUT_URLLABEL}) {
    const LOGFONTW link = FontOf(::GetDlgItem(dialog, id));
    EXPECT_EQ(link.lfHeight, ::MulDiv(link_before.lfHeight, to, ppi)) << id;
    EXPECT_TRUE(link.lfUnderline) << id;
  }
  // Each fitted label is as wide as its text in its new font; the version keeps its right edge.
  for (int id : {IDC_ABOUT_VERSIONLABEL, IDC_ABOUT_MAILLABEL, IDC_ABOUT_URLLABEL}) {
    const RECT r = ItemRect(dialog, id);
    EXPECT_EQ(r.right - r.left, TextWidthOf(dialog, id)) << id;
  }
  EXPECT_EQ(ItemRect(dialog, IDC_ABOUT_VERSIONLABEL).right, version_right);
  // The icon drawn anew at the image's size.
  const auto icon = reinterpret_cast<HICON>(
      ::SendDlgItemMessageW(dialog, IDC_ABOUT_ICONIMAGE, STM_GETICON, 0, 0));
  ICONINFO info{};
  ASSERT_TRUE(::GetIconInfo(icon, &info));
  BITMAP bitmap{};
  ::GetObjectW(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
  EXPECT_EQ(bitmap.bmWidth, icon_size);
  if (info.hbmColor != nullptr) ::DeleteObject(info.hbmColor);
  ::DeleteObject(info.hbmMask);
}

TEST_F(AboutTest, VersionAndTooltipMatchTheVersionRecord) {
  HRSRC found = ::FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16));  // RT_VERSION
  ASSERT_NE(found, nullptr);
  const auto* bytes =
      static_cast<const unsigned char*>(::LockResource(::LoadResource(nullptr, found)));
  const DWORD size = ::SizeofResource(nullptr, found);
  const VS_FIXEDFILEINFO* info = nullptr;
  for (DWORD at = 0; at + sizeof(VS_FIXEDFILEINFO) <= size; at += 4) {
    DWORD signature = 0;
    std::memcpy(&signature, bytes + at, sizeof(signature));
    if (signature == 0xFEEF04BD) {
      info = reinterpret_cast<const VS_FIXEDFILEINFO*>(bytes + at);
      break;
    }
  }
  ASSERT_NE(info, nullptr);

  TAboutForm form(Recorder());
  form.Create(owner_);
  HWND dialog = form.Handle();
  EXPECT_EQ(ItemText(dialog, IDC_ABOUT_VERSIONLABEL),
            L"version " + std::to_wstring(HIWORD(info->dwFileVersionMS)) + L"." +
                std::to_wstring(LOWORD(info->dwFileVersionMS)));

  ASSERT_NE(form.Tooltip(), nullptr);
  EXPECT_EQ(::SendMessageW(form.Tooltip(), TTM_GETTOOLCOUNT, 0, 0), 1);
  wchar_t text[80] = {};
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = dialog;
  tool.uId = reinterpret_cast<UINT_PTR>(::GetDlgItem(dialog, IDC_ABOUT_VERSIONLABEL));
  tool.lpszText = text;
  ::SendMessageW(form.Tooltip(), TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
  // The build number after the '#' is the version resource's.
  const std::wstring tooltip(text);
  EXPECT_TRUE(tooltip.starts_with(L"Build")) << tooltip;
  EXPECT_EQ(tooltip.substr(tooltip.find(L'#') + 1), std::to_wstring(LOWORD(info->dwFileVersionLS)));
}

TEST_F(AboutTest, LinksLookLikeLinksAndTheRestDoesNot) {
  TAboutForm form(Recorder());
  form.Create(owner_);
  form.FormShow();
  HWND dialog = form.Handle();
  HDC dc = ::CreateCompatibleDC(nullptr);
  const auto text_colour = [&](int id) {
    ::SetTextColor(dc, RGB(1, 2, 3));
    ::SendMessageW(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
    return ::GetTextColor(dc);
  };
  const auto cursor_over = [&](int id) {
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    ::SendMessageW(dialog, WM_SETCURSOR, reinterpret_cast<WPARAM>(::GetDlgItem(dialog, id)),
                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return ::GetCursor();
  };
  const HCURSOR hand = ::LoadCursorW(nullptr, IDC_HAND);
  for (int id : {IDC_ABOUT_MAILLABEL, IDC_ABOUT_URLLABEL}) {
    const auto pixels = Rendering(::GetDlgItem(dialog, id));
    EXPECT_GT(std::count(pixels.begin(), pixels.end(), 0x0000FFu), 10) << "blue text " << id;
    EXPECT_TRUE(FontOf(::GetDlgItem(dialog, id)).lfUnderline) << id;
    EXPECT_EQ(cursor_over(id), hand) << id;
  }
  EXPECT_EQ(text_colour(IDC_ABOUT_VERSIONLABEL), RGB(0, 0, 0));
  for (int id : {IDC_ABOUT_MAILCAPTION, IDC_ABOUT_NOTICELABEL}) {
    EXPECT_NE(text_colour(id), RGB(0, 0, 255)) << id;
    EXPECT_FALSE(FontOf(::GetDlgItem(dialog, id)).lfUnderline) << id;
    EXPECT_NE(cursor_over(id), hand) << id;
  }
  ::DeleteDC(dc);
}

// Clicks arrive as the mouse delivers them, inside the modal loop; the dialog stays open
// after each, and the link gives the focus back: the next Enter closes the dialog and
// opens nothing.
TEST_F(AboutTest, ClickingALinkHandsItsTargetToTheShellAndKeepsTheDialogOpen) {
  TAboutForm form(Recorder());
  form.Create(owner_);
  HWND dialog = form.Handle();
  const auto click = [dialog](int id) {
    return Do([dialog, id] {
      HWND label = ::GetDlgItem(dialog, id);
      ::PostMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
      ::PostMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    });
  };
  const HWND ok = ::GetDlgItem(dialog, IDOK);
  bool open_after_clicks = false;
  HWND focus_after_clicks = nullptr;
  ModalSteps steps({click(IDC_ABOUT_MAILLABEL), click(IDC_ABOUT_URLLABEL), Do([&] {
                      open_after_clicks = ::IsWindowVisible(dialog) != FALSE;
                      focus_after_clicks = ::GetFocus();
                      // Enter goes where the keyboard focus is.
                      PostKey(::GetFocus() != nullptr ? ::GetFocus() : dialog, VK_RETURN);
                    })},
                   [&] { return form.Handle(); });
  EXPECT_EQ(form.ShowModal(), IDOK) << "Enter after a click closes the dialog";
  EXPECT_FALSE(steps.WatchdogFired());
  EXPECT_TRUE(open_after_clicks);
  EXPECT_EQ(focus_after_clicks, ok) << "a click left a link focused";

  ASSERT_EQ(calls_.size(), 2u);
  EXPECT_EQ(calls_[0].Target, std::wstring(L"mailto:") + kAboutMailAddress);
  EXPECT_EQ(calls_[1].Target, kAboutWebAddress);
  EXPECT_EQ(calls_[0].Parent, dialog);
  EXPECT_EQ(calls_[1].Parent, dialog);
}

// From the keyboard: Tab goes from OK to each link, which then shows the focus; Enter and
// Space open the focused link and the dialog stays; each link still reports its address.
TEST_F(AboutTest, TheKeyboardReachesEachLinkShowsItsFocusAndOpensIt) {
  TAboutForm form(Recorder());
  form.Create(owner_);
  HWND dialog = form.Handle();
  HWND ok = ::GetDlgItem(dialog, IDOK);
  HWND mail = ::GetDlgItem(dialog, IDC_ABOUT_MAILLABEL);
  HWND url = ::GetDlgItem(dialog, IDC_ABOUT_URLLABEL);
  std::vector<HWND> focus_after_tabs;
  std::vector<std::uint32_t> unfocused, focused;
  bool open_after_keys = false;
  const auto tab = [&](HWND from) { return Do([&, from] { PostKey(from, VK_TAB); }); };
  const auto note_focus = Do([&] { focus_after_tabs.push_back(::GetFocus()); });
  ModalSteps steps({Do([&] {
                      ::SetFocus(ok);
                      unfocused = Rendering(mail);
                    }),
                    tab(ok), note_focus, Do([&] { focused = Rendering(mail); }),
                    Do([&] { PostKey(mail, VK_RETURN); }), tab(mail), note_focus,
                    Do([&] { PostKey(url, VK_SPACE); }), tab(url), note_focus, Do([&] {
                      open_after_keys = ::IsWindowVisible(dialog) != FALSE;
                      PostKey(ok, VK_ESCAPE);
                    })},
                   [&] { return form.Handle(); });
  EXPECT_EQ(form.ShowModal(), IDOK);
  EXPECT_FALSE(steps.WatchdogFired());
  EXPECT_TRUE(open_after_keys);
  EXPECT_EQ(focus_after_tabs, (std::vector<HWND>{mail, url, ok}));
  ASSERT_EQ(calls_.size(), 2u);
  EXPECT_EQ(calls_[0].Target, std::wstring(L"mailto:") + kAboutMailAddress);
  EXPECT_EQ(calls_[1].Target, kAboutWebAddress);

  // The focus shows as a dotted frame around the text: a good part of the edge changes.
  ASSERT_EQ(focused.size(), unfocused.size());
  const auto changed = std::inner_product(focused.begin(), focused.end(), unfocused.begin(), 0,
                                          std::plus<>(), std::not_equal_to<>());
  RECT r{};
  ::GetClientRect(mail, &r);
  EXPECT_GE(changed, (r.right + r.bottom) / 2) << "no focus shown";
}

// The keys are posted to OK, the control that holds the focus when the dialog is active
// (its first tab stop), and reach the dialog through IsDialogMessage in the modal loop.
// They do not wait for the real focus: other tests on the same X display may hold it.
TEST_F(AboutTest, EscEnterAndTheCloseBoxEndTheModalLoop) {
  struct Case {
    const char* name;
    std::function<void(HWND)> press;
    INT_PTR result;
  };
  const Case cases[] = {
      {"Esc", [](HWND d) { PostKey(::GetDlgItem(d, IDOK), VK_ESCAPE); }, IDOK},
      {"Enter", [](HWND d) { PostKey(::GetDlgItem(d, IDOK), VK_RETURN); }, IDOK},
      {"Enter on the dialog", [](HWND d) { PostKey(d, VK_RETURN); }, IDOK},
      {"close box", [](HWND d) { ::PostMessageW(d, WM_SYSCOMMAND, SC_CLOSE, 0); }, IDCANCEL},
  };
  for (const Case& c : cases) {
    TAboutForm form(Recorder());
    form.Create(owner_);
    HWND dialog = form.Handle();
    EXPECT_EQ(LOWORD(::SendMessageW(dialog, DM_GETDEFID, 0, 0)), IDOK) << "Enter's target";
    bool owner_disabled = false;
    ModalSteps steps({Do([&] {
                       owner_disabled = !::IsWindowEnabled(owner_);
                       c.press(dialog);
                     })},
                     [&] { return form.Handle(); });
    EXPECT_EQ(form.ShowModal(), c.result) << c.name;
    EXPECT_FALSE(steps.WatchdogFired()) << c.name;
    EXPECT_TRUE(owner_disabled) << c.name;
    EXPECT_TRUE(::IsWindowEnabled(owner_)) << c.name;
  }
  EXPECT_TRUE(calls_.empty());
}

TEST_F(AboutTest, ShowAboutDialogReleasesTheDialogAfterUse) {
  HWND seen = nullptr;
  ModalSteps steps({[&] {
                     seen = FindThreadDialog(kCaption);
                     if (seen == nullptr) return false;
                     PostKey(::GetDlgItem(seen, IDOK), VK_RETURN);
                     return true;
                   }},
                   [] { return FindThreadDialog(kCaption); });
  ShowAboutDialog(owner_);
  EXPECT_FALSE(steps.WatchdogFired());
  ASSERT_NE(seen, nullptr);
  EXPECT_FALSE(::IsWindow(seen)) << "the dialog is destroyed once closed";
  EXPECT_TRUE(::IsWindowEnabled(owner_));
}

// An error in a handler is shown by the application's error box; the dialog goes on and
// is still released when it closes.
TEST_F(AboutTest, AnErrorInAHandlerIsShownAndTheDialogIsStillReleased) {
  Application application(L"Ripplet_test");
  HWND dialog = nullptr;
  std::wstring box_text;
  {
    TAboutForm form([](HWND, const std::wstring&) { throw AppError(L"開けません"); });
    form.Create(owner_);
    dialog = form.Handle();
    ModalSteps steps({Do([&] {
                        HWND label = ::GetDlgItem(dialog, IDC_ABOUT_URLLABEL);
                        ::PostMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, 0);
                        ::PostMessageW(label, WM_LBUTTONUP, 0, 0);
                      }),
                      [&] {
                        HWND box = FindOtherThreadDialog(kCaption);
                        if (box == nullptr) return false;
                        wchar_t text[256] = {};
                        ::GetDlgItemTextW(box, 0xFFFF, text, 256);
                        box_text = text;
                        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
                        return true;
                      },
                      Do([&] { PostKey(::GetDlgItem(dialog, IDOK), VK_ESCAPE); })},
                     [&] { return form.Handle(); });
    EXPECT_EQ(form.ShowModal(), IDOK);
    EXPECT_FALSE(steps.WatchdogFired());
  }
  EXPECT_EQ(box_text, L"開けません.");
  EXPECT_FALSE(::IsWindow(dialog));
}

}  // namespace
}  // namespace ripplet
