// The Usage dialog's life: the template (resources/usage.rc) holds the layout and the fixed
// texts; this file fills the adapter choice and the totals, paints the chart and stores the
// start day on OK.
#include "dialogs/usage_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <utility>

#include "display/colour_value.h"
#include "resources/usage_ids.h"
#include "usage/byte_size_text.h"
#include "win32/win_handles.h"
#include "win32/win_modal.h"
#include "win32/win_system_functions.h"
#include "win32/win_text.h"

namespace ripplet {
namespace {

constexpr wchar_t kAllAdapters[] = L"すべてのアダプター";
constexpr std::array<const wchar_t*, 4> kColumns = {L"期間", L"受信", L"送信", L"合計"};
constexpr std::array<const wchar_t*, 4> kRows = {L"今日", L"昨日", L"今期", L"前期"};

COLORREF OnScreen(std::uint32_t colour) {
  const ColourMeaning m = MeaningOf(colour);
  return m.IsSystem ? ::GetSysColor(static_cast<int>(m.Value)) : static_cast<COLORREF>(m.Value);
}

std::wstring DateText(const Date& date) { return AnsiToWide(FormatIsoDate(date), CP_UTF8); }

void SetCell(HWND list, int row, int column, const std::wstring& text) {
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = const_cast<wchar_t*>(text.c_str());
  ::SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

bool ShowUsageDialog(HWND owner, UsageContext& context) {
  TUsageForm form(context);
  form.Create(owner);
  return form.ShowModal() == IDOK;
}

TUsageForm::TUsageForm(UsageContext& context) : context_(context) {}

TUsageForm::~TUsageForm() { DestroyDialog(); }

void TUsageForm::Create(HWND owner) {
  InitDialogControls(ICC_UPDOWN_CLASS | ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES);
  CreateFromTemplate(IDD_USAGE, owner, L"使用量ダイアログを作成できません");
}

INT_PTR TUsageForm::ShowModal() {
  modal_result_ = 0;
  const INT_PTR result = RunModal(hwnd_, owner_);
  return modal_result_ != 0 ? modal_result_ : result;
}

void TUsageForm::FormCreate() {
  start_day_ = UsablePeriodStartDay(context_.start_day);

  HWND box = Item(IDC_USAGE_ADAPTERBOX);
  ::SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kAllAdapters));
  adapters_ = AdaptersIn(context_.rows);
  for (const std::string& adapter : adapters_) {
    const std::wstring text = AnsiToWide(adapter, CP_UTF8);
    ::SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  ::SendMessageW(box, CB_SETCURSEL, 0, 0);

  HWND list = Item(IDC_USAGE_TOTALSLIST);
  ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  RECT client{};
  ::GetClientRect(list, &client);
  const int first_width = client.right / 6;
  const int width = (client.right - first_width) / 3;
  for (std::size_t i = 0; i < kColumns.size(); ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.fmt = i == 0 ? LVCFMT_LEFT : LVCFMT_RIGHT;
    column.cx = i == 0 ? first_width : width;
    column.pszText = const_cast<wchar_t*>(kColumns[i]);
    ::SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
  for (std::size_t i = 0; i < kRows.size(); ++i) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(i);
    item.pszText = const_cast<wchar_t*>(kRows[i]);
    ::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }

  ::SendDlgItemMessageW(hwnd_, IDC_USAGE_STARTDAYUPDOWN, UDM_SETRANGE32, kFirstPeriodStartDay,
                        kLastPeriodStartDay);
  ::SendDlgItemMessageW(hwnd_, IDC_USAGE_STARTDAYUPDOWN, UDM_SETPOS32, 0, start_day_);
  ::SendDlgItemMessageW(hwnd_, IDC_USAGE_STARTDAYEDIT, EM_LIMITTEXT, 2, 0);
  ::SetDlgItemTextW(hwnd_, IDC_USAGE_PROBLEMLABEL, context_.problem.c_str());
  FillTotals();
}

void TUsageForm::FillTotals() {
  const auto choice = ::SendDlgItemMessageW(hwnd_, IDC_USAGE_ADAPTERBOX, CB_GETCURSEL, 0, 0);
  std::optional<std::string> adapter;
  if (choice > 0 && static_cast<std::size_t>(choice) <= adapters_.size()) {
    adapter = adapters_[static_cast<std::size_t>(choice) - 1];
  }
  summary_ = SummariseUsage(context_.rows, adapter, context_.today, start_day_);

  HWND list = Item(IDC_USAGE_TOTALSLIST);
  const std::array<const ByteCounts*, 4> rows = {&summary_.Today, &summary_.Yesterday,
                                                 &summary_.ThisPeriod, &summary_.PreviousPeriod};
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const ByteCounts& counts = *rows[i];
    ByteCounts both = counts;
    both.Received = SaturatingAdd(counts.Received, counts.Sent);
    const int row = static_cast<int>(i);
    SetCell(list, row, 1, FormatByteSize(counts.Received, context_.decimal_separator));
    SetCell(list, row, 2, FormatByteSize(counts.Sent, context_.decimal_separator));
    SetCell(list, row, 3, FormatByteSize(both.Received, context_.decimal_separator));
  }
  const std::wstring period =
      L"今期: " + DateText(summary_.Current.First) + L" ～ " + DateText(summary_.Current.Last);
  ::SetDlgItemTextW(hwnd_, IDC_USAGE_PERIODLABEL, period.c_str());
  ::InvalidateRect(Item(IDC_USAGE_CHART), nullptr, TRUE);
}

std::optional<std::int32_t> TUsageForm::StartDayInEdit() const {
  const std::wstring text = WindowText(Item(IDC_USAGE_STARTDAYEDIT));
  if (text.empty() || text.size() > 2) return std::nullopt;
  std::int32_t day = 0;
  for (const wchar_t c : text) {
    if (c < L'0' || c > L'9') return std::nullopt;
    day = day * 10 + (c - L'0');
  }
  if (day < kFirstPeriodStartDay || day > kLastPeriodStartDay) return std::nullopt;
  return day;
}

void TUsageForm::StartDayChange() {
  // A day being typed (an empty edit, "3" on the way to "31") leaves the totals as they are.
  const auto day = StartDayInEdit();
  if (!day || *day == start_day_) return;
  start_day_ = *day;
  FillTotals();
}

void TUsageForm::OKBtnClick() {
  const auto day = StartDayInEdit();
  if (!day) {
    ::MessageBoxW(hwnd_, L"期間の開始日には 1 から 31 までの数を入力してください", nullptr,
                  MB_ICONERROR);
    HWND edit = Item(IDC_USAGE_STARTDAYEDIT);
    ::SetFocus(edit);
    ::SendMessageW(edit, EM_SETSEL, 0, -1);
    return;
  }
  context_.start_day = *day;
  modal_result_ = IDOK;
  EndModal(hwnd_, modal_result_);
}

bool TUsageForm::DrawChart(const DRAWITEMSTRUCT& item) const {
  if (item.CtlID != IDC_USAGE_CHART) return false;
  HDC dc = item.hDC;
  const RECT area = item.rcItem;
  ::FillRect(dc, &area, ::GetSysColorBrush(COLOR_WINDOW));
  ::FrameRect(dc, &area, ::GetSysColorBrush(COLOR_BTNSHADOW));
  const std::size_t days = summary_.Days.size();
  if (days == 0) return true;
  std::uint64_t largest = 1;
  for (const ByteCounts& day : summary_.Days) largest = std::max({largest, day.Received, day.Sent});
  const int left = area.left + 2;
  const int bottom = area.bottom - 2;
  const int height = area.bottom - area.top - 4;
  const int width = area.right - area.left - 4;
  UniqueBrush recv(::CreateSolidBrush(OnScreen(context_.recv_colour)));
  UniqueBrush send(::CreateSolidBrush(OnScreen(context_.send_colour)));
  for (std::size_t i = 0; i < days; ++i) {
    // Each day a slot of the width: its left half received, its right half sent.
    const int slot_left =
        left + static_cast<int>(static_cast<long long>(width) * static_cast<long long>(i) /
                                static_cast<long long>(days));
    const int slot_right =
        left + static_cast<int>(static_cast<long long>(width) * static_cast<long long>(i + 1) /
                                static_cast<long long>(days));
    const int middle = (slot_left + slot_right) / 2;
    const auto bar_top = [&](std::uint64_t bytes) {
      const long double share = static_cast<long double>(bytes) / static_cast<long double>(largest);
      return bottom - static_cast<int>(share * height);
    };
    const RECT r{slot_left + 1, bar_top(summary_.Days[i].Received), middle, bottom};
    const RECT s{middle, bar_top(summary_.Days[i].Sent), std::max(middle, slot_right - 1), bottom};
    ::FillRect(dc, &r, recv.get());
    ::FillRect(dc, &s, send.get());
  }
  return true;
}

INT_PTR TUsageForm::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      FormCreate();
      return TRUE;  // the focus goes to the first tab stop, the adapter choice
    case WM_COMMAND: {
      const int id = LOWORD(wparam);
      const int code = HIWORD(wparam);
      if (id == IDCANCEL) {  // the Cancel button, Esc and the close box
        modal_result_ = IDCANCEL;
        EndModal(hwnd_, IDCANCEL);
      } else if (id == IDOK && code == BN_CLICKED) {
        OKBtnClick();
      } else if (id == IDC_USAGE_HELPBTN && code == BN_CLICKED) {
        if (context_.show_help) context_.show_help(kUsageHelpContext);
      } else if (id == IDC_USAGE_ADAPTERBOX && code == CBN_SELCHANGE) {
        FillTotals();
      } else if (id == IDC_USAGE_STARTDAYEDIT && code == EN_CHANGE) {
        StartDayChange();
      }
      return TRUE;
    }
    case WM_DRAWITEM:
      return DrawChart(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam)) ? TRUE : FALSE;
    default:
      return FALSE;
  }
}

}  // namespace ripplet
