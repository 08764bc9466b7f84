// The About dialog: name, version and the maker's links, shown in the program's own modal
// loop. The template (resources/about.rc) holds the layout and the fixed texts; this file
// gives the labels their fonts and colours, the version its tooltip and the links their
// behaviour.
#include "dialogs/about_dialog.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstring>
#include <string_view>
#include <utility>

#include "dialogs/about_texts.h"
#include "resources/about_ids.h"
#include "resources/resource_ids.h"
#include "resources/version.h"
#include "win32/win_dpi.h"
#include "win32/win_font.h"
#include "win32/win_modal.h"
#include "win32/win_system_functions.h"
#include "win32/win_text.h"

namespace ripplet {
namespace {

constexpr wchar_t kVersionTooltip[] = RIPPLET_BUILD_TOOLTIP;
constexpr COLORREF kLinkColor = RGB(0, 0, 255);
constexpr COLORREF kVersionColor = RGB(0, 0, 0);
constexpr UINT_PTR kLinkSubclassId = 1;
// Posted at a change of density, so that the labels are fitted after the system has laid the
// dialog out anew.
constexpr UINT kFitToDensityMessage = WM_APP + 1;
constexpr int kDisableFontUpdate = 1;  // DCDC_DISABLE_FONTUPDATE

// A Shift-JIS font of `height_at_96` pixels (negative: character height) at `density`.
LOGFONTW JapaneseFont(std::wstring_view face, int height_at_96, int weight, int density) {
  LOGFONTW logfont{};
  logfont.lfHeight = ::MulDiv(height_at_96, density, 96);
  logfont.lfWeight = weight;
  logfont.lfCharSet = SHIFTJIS_CHARSET;
  face.copy(logfont.lfFaceName, LF_FACESIZE - 1);
  return logfont;
}

}  // namespace

void TAboutForm::OpenWithShell(HWND parent, const std::wstring& target) {
  // Shown normally: a browser or mail program started hidden would be no use to anyone.
  // The result is not examined; a link the shell cannot open is ignored.
  if (System().ShellExecuteW) {
    System().ShellExecuteW(parent, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  }
}

TAboutForm::TAboutForm(LinkOpener open_link) : open_link_(std::move(open_link)) {}

TAboutForm::~TAboutForm() {
  // The window goes before the fonts and the icon that it uses.
  DestroyDialog();
}

void TAboutForm::Create(HWND owner) {
  CreateFromTemplate(IDD_ABOUT, owner, L"ウィンドウを作成できません");
}

INT_PTR TAboutForm::ShowModal() {
  FormShow();
  return RunModal(hwnd_, owner_);
}

void TAboutForm::FormCreate() {
  // At the density of the monitor the dialog opens on, as the system scales its template.
  created_density_ = WindowDensity(hwnd_);
  ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(hwnd_, WM_GETFONT, 0, 0)),
               sizeof(dialog_font_), &dialog_font_);
  MakeFonts(created_density_);
  // The labels with fonts of their own keep them when the system gives the dialog's controls
  // the dialog's new font at a change of density.
  if (System().SetDialogControlDpiChangeBehavior) {
    for (int id :
         {IDC_ABOUT_NAMELABEL, IDC_ABOUT_VERSIONLABEL, IDC_ABOUT_MAILLABEL, IDC_ABOUT_URLLABEL}) {
      System().SetDialogControlDpiChangeBehavior(::GetDlgItem(hwnd_, id), kDisableFontUpdate,
                                                 kDisableFontUpdate);
    }
  }
  // The links hear their own mouse presses, so that a click does not leave one focused.
  if (System().SetWindowSubclass && System().RemoveWindowSubclass && System().DefSubclassProc) {
    for (int id : {IDC_ABOUT_MAILLABEL, IDC_ABOUT_URLLABEL}) {
      System().SetWindowSubclass(::GetDlgItem(hwnd_, id), &TAboutForm::LinkProcedure,
                                 kLinkSubclassId, reinterpret_cast<DWORD_PTR>(this));
    }
  }
  // The tooltip follows the pointer over the version text, not over empty label space.
  FitLabelToText(IDC_ABOUT_VERSIONLABEL, true);
  AddVersionTooltip();
}

// The labels' own fonts at `density`; the fonts they replace go once no label uses them.
void TAboutForm::MakeFonts(int density) {
  UniqueFont name = MakeFont(JapaneseFont(L"ＭＳ Ｐゴシック", -16, FW_BOLD, density));
  UniqueFont version = MakeFont(JapaneseFont(L"MS UI Gothic", -13, FW_NORMAL, density));
  LOGFONTW link = dialog_font_;
  link.lfHeight = ::MulDiv(dialog_font_.lfHeight, density, created_density_);
  link.lfUnderline = TRUE;
  UniqueFont link_font = MakeFont(link);

  const auto set_font = [this](int id, HFONT font) {
    ::SendDlgItemMessageW(hwnd_, id, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  };
  set_font(IDC_ABOUT_NAMELABEL, name.get());
  set_font(IDC_ABOUT_VERSIONLABEL, version.get());
  set_font(IDC_ABOUT_MAILLABEL, link_font.get());
  set_font(IDC_ABOUT_URLLABEL, link_font.get());
  name_font_ = std::move(name);
  version_font_ = std::move(version);
  link_font_ = std::move(link_font);
}

void TAboutForm::DensityChanged(int density) {
  if (density <= 0) return;
  MakeFonts(density);
  ::PostMessageW(hwnd_, kFitToDensityMessage, 0, 0);
}

// After the new layout: each label as wide as its text in its new font, and the icon drawn
// anew at its image's new size.
void TAboutForm::FitToNewDensity() {
  FitLabelToText(IDC_ABOUT_VERSIONLABEL, true);
  FitLabelToText(IDC_ABOUT_MAILLABEL, false);
  FitLabelToText(IDC_ABOUT_URLLABEL, false);
  ShowIcon();
}

void TAboutForm::AddVersionTooltip() {
  InitDialogControls(ICC_BAR_CLASSES);
  // Owned by the dialog, so it goes with it. Without one the dialog still works.
  tooltip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                               ::GetModuleHandleW(nullptr), nullptr);
  if (tooltip_ == nullptr) return;
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = hwnd_;
  tool.uId = reinterpret_cast<UINT_PTR>(::GetDlgItem(hwnd_, IDC_ABOUT_VERSIONLABEL));
  tool.lpszText = const_cast<wchar_t*>(kVersionTooltip);
  ::SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void TAboutForm::FormShow() {
  ::SetDlgItemTextW(hwnd_, IDC_ABOUT_MAILLABEL, kAboutMailAddress);
  ::SetDlgItemTextW(hwnd_, IDC_ABOUT_URLLABEL, kAboutWebAddress);
  // Only the text itself takes the click and the hand pointer.
  FitLabelToText(IDC_ABOUT_MAILLABEL, false);
  FitLabelToText(IDC_ABOUT_URLLABEL, false);
  ShowIcon();
}

void TAboutForm::ShowIcon() {
  // A copy of the executable's main icon at the image's size.
  HWND image = ::GetDlgItem(hwnd_, IDC_ABOUT_ICONIMAGE);
  RECT box{};
  ::GetClientRect(image, &box);
  IconOwner icon(
      static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_RIPPLET),
                                      IMAGE_ICON, box.right, box.bottom, LR_DEFAULTCOLOR)));
  ::SendMessageW(image, STM_SETICON, reinterpret_cast<WPARAM>(icon.get()), 0);
  icon_ = std::move(icon);  // the previous copy goes once the image no longer shows it
}

void TAboutForm::LinkLabelClick(HWND sender) {
  std::wstring target = WindowText(sender);
  if (sender == ::GetDlgItem(hwnd_, IDC_ABOUT_MAILLABEL)) target.insert(0, L"mailto:");
  if (open_link_) open_link_(hwnd_, target);
}

void TAboutForm::FitLabelToText(int id, bool keep_right_edge) {
  HWND label = ::GetDlgItem(hwnd_, id);
  RECT bounds{};
  ::GetWindowRect(label, &bounds);
  ::MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&bounds), 2);
  const std::wstring text = WindowText(label);
  WindowDc dc(label);
  SelectGuard font(dc.get(), reinterpret_cast<HFONT>(::SendMessageW(label, WM_GETFONT, 0, 0)));
  RECT measured{};
  ::DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &measured,
              DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  const int width = measured.right - measured.left;
  const int left = keep_right_edge ? bounds.right - width : bounds.left;
  ::SetWindowPos(label, nullptr, left, bounds.top, width, bounds.bottom - bounds.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK TAboutForm::LinkProcedure(HWND link, UINT message, WPARAM wparam, LPARAM lparam,
                                           UINT_PTR /*id*/, DWORD_PTR form) noexcept {
  auto* self = reinterpret_cast<TAboutForm*>(form);
  if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) {
    self->pressed_link_ = link;
    self->focus_before_press_ = ::GetFocus();  // the button takes it as it handles the press
  }
  if (message == WM_NCDESTROY) {
    System().RemoveWindowSubclass(link, &TAboutForm::LinkProcedure, kLinkSubclassId);
  }
  const LRESULT result = System().DefSubclassProc(link, message, wparam, lparam);
  // Released, whether it clicked (and opened the link) or was dragged off.
  if (message == WM_LBUTTONUP && self->pressed_link_ == link) self->GiveFocusBack();
  return result;
}

// To the control that had the focus before the press (OK where that was the link itself or
// nothing of the dialog's), so the next Enter closes the dialog rather than opening the
// link again.
void TAboutForm::GiveFocusBack() noexcept {
  HWND back = focus_before_press_;
  if (back == nullptr || back == pressed_link_ || !::IsChild(hwnd_, back)) {
    back = ::GetDlgItem(hwnd_, IDOK);
  }
  pressed_link_ = nullptr;
  focus_before_press_ = nullptr;
  if (::GetFocus() != back) ::SetFocus(back);
}

// The control draws its focus: the keyboard has been used in the dialog.
bool TAboutForm::ShowsFocus(HWND control) const noexcept {
  return (::SendMessageW(control, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0;
}

bool TAboutForm::IsLinkLabel(HWND window) const noexcept {
  return window != nullptr && (window == ::GetDlgItem(hwnd_, IDC_ABOUT_MAILLABEL) ||
                               window == ::GetDlgItem(hwnd_, IDC_ABOUT_URLLABEL));
}

INT_PTR TAboutForm::LabelColors(HDC dc, HWND label) {
  if (label != ::GetDlgItem(hwnd_, IDC_ABOUT_VERSIONLABEL)) return FALSE;  // the dialog's own
  ::SetTextColor(dc, kVersionColor);
  ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
  return reinterpret_cast<INT_PTR>(::GetSysColorBrush(COLOR_BTNFACE));
}

void TAboutForm::DrawLink(const DRAWITEMSTRUCT& item) {
  // The text where a left-aligned label would put it, blue in the underlined font; the
  // focus as the platform shows it, once the keyboard has been used.
  HDC dc = item.hDC;
  RECT box = item.rcItem;
  ::FillRect(dc, &box, ::GetSysColorBrush(COLOR_BTNFACE));
  const std::wstring text = WindowText(item.hwndItem);
  SelectGuard font(dc, link_font_.get());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, kLinkColor);
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
              DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
  if ((item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0) {
    ::DrawFocusRect(dc, &item.rcItem);
  }
}

INT_PTR TAboutForm::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      FormCreate();
      return TRUE;  // the focus goes to OK, the first tab stop
    case WM_COMMAND: {
      const int id = LOWORD(wparam);
      // Enter comes as OK, the default button, also while a link has the focus. A link
      // reached from the keyboard, showing its focus, is opened and the dialog stays.
      if (id == IDOK && IsLinkLabel(::GetFocus()) && ShowsFocus(::GetFocus())) {
        LinkLabelClick(::GetFocus());
        return TRUE;
      }
      if (id == IDOK || id == IDCANCEL) {
        // OK, Enter and Esc (OK is also the cancel button) all end with OK.
        EndModal(hwnd_, IDOK);
        return TRUE;
      }
      if ((id == IDC_ABOUT_MAILLABEL || id == IDC_ABOUT_URLLABEL) && HIWORD(wparam) == BN_CLICKED) {
        LinkLabelClick(reinterpret_cast<HWND>(lparam));
        return TRUE;
      }
      return FALSE;
    }
    case WM_CLOSE:
      EndModal(hwnd_, IDCANCEL);  // the close box
      return TRUE;
    case WM_DPICHANGED:
      DensityChanged(HIWORD(wparam));
      return FALSE;  // the system lays the dialog out at the new density
    case kFitToDensityMessage:
      FitToNewDensity();
      return TRUE;
    case WM_CTLCOLORSTATIC:
      return LabelColors(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
    case WM_SETCURSOR:
      if (IsLinkLabel(reinterpret_cast<HWND>(wparam)) && LOWORD(lparam) == HTCLIENT) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        ::SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, TRUE);
        return TRUE;
      }
      return FALSE;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
      if (IsLinkLabel(item->hwndItem)) {
        DrawLink(*item);
        return TRUE;
      }
      if (item->CtlID != IDC_ABOUT_BEVEL1) return FALSE;
      RECT frame = item->rcItem;
      ::DrawEdge(item->hDC, &frame, EDGE_BUMP, BF_RECT);  // a raised frame
      return TRUE;
    }
    default:
      return FALSE;
  }
}

void ShowAboutDialog(HWND owner) {
  TAboutForm form;  // its destructor releases the dialog, also when an error passes
  form.Create(owner);
  form.ShowModal();
}

}  // namespace ripplet
