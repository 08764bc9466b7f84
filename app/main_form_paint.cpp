// Painting: the bevel, the graph and the four labels are windowless; the window paints them
// through a back buffer, so a tick's repaint is one blit with no flicker.
#include <algorithm>

#include "app/main_form.h"

namespace ripplet {
namespace {

constexpr wchar_t kRecvCaption[] = L"受信:";
constexpr wchar_t kSendCaption[] = L"送信:";

void DrawLabel(HDC dc, HFONT font, const LayoutRect& r, std::wstring_view text) {
  SelectGuard select(dc, font);
  ::TextOutW(dc, r.Left, r.Top, text.data(), static_cast<int>(text.size()));
}

bool Touches(const RECT& area, const LayoutRect& r) {
  return r.Left < area.right && area.left < r.Right() && r.Top < area.bottom &&
         area.top < r.Bottom();
}

void DrawBevel(HDC dc, const LayoutRect& r) {
  // A lowered frame: shadow on the top and left, highlight on the bottom and right.
  const RECT top{r.Left, r.Top, r.Right() - 1, r.Top + 1};
  const RECT left{r.Left, r.Top, r.Left + 1, r.Bottom() - 1};
  const RECT bottom{r.Left, r.Bottom() - 1, r.Right(), r.Bottom()};
  const RECT right{r.Right() - 1, r.Top, r.Right(), r.Bottom()};
  ::FillRect(dc, &top, ::GetSysColorBrush(COLOR_BTNSHADOW));
  ::FillRect(dc, &left, ::GetSysColorBrush(COLOR_BTNSHADOW));
  ::FillRect(dc, &bottom, ::GetSysColorBrush(COLOR_BTNHIGHLIGHT));
  ::FillRect(dc, &right, ::GetSysColorBrush(COLOR_BTNHIGHLIGHT));
}

}  // namespace

void TMainForm::Paint() {
  PAINTSTRUCT ps;
  HDC screen = ::BeginPaint(Handle(), &ps);
  const RECT& area = ps.rcPaint;
  const LayoutRect& g = layout_.Graph;
  if (layout_.GraphVisible && graph_.Dc() != nullptr && area.left >= g.Left &&
      area.top >= g.Top && area.right <= g.Right() && area.bottom <= g.Bottom()) {
    // A tick repaints only the graph: one blit straight from the bitmap.
    ::BitBlt(screen, area.left, area.top, area.right - area.left, area.bottom - area.top,
             graph_.Dc(), area.left - g.Left, area.top - g.Top, SRCCOPY);
    ::EndPaint(Handle(), &ps);
    return;
  }
  RECT client{};
  ::GetClientRect(Handle(), &client);
  if (!paint_dc_) {
    paint_dc_.reset(::CreateCompatibleDC(screen));
  }
  if (paint_size_.cx != client.right || paint_size_.cy != client.bottom || !paint_bitmap_) {
    // Only a size change makes a new back buffer.
    UniqueBitmap bitmap(::CreateCompatibleBitmap(screen, std::max<LONG>(client.right, 1),
                                                 std::max<LONG>(client.bottom, 1)));
    HGDIOBJ previous = ::SelectObject(paint_dc_.get(), bitmap.get());
    if (paint_original_bitmap_ == nullptr) paint_original_bitmap_ = previous;
    paint_bitmap_ = std::move(bitmap);
    paint_size_ = {client.right, client.bottom};
  }
  HDC dc = paint_dc_.get();
  ::FillRect(dc, &area, ::GetSysColorBrush(COLOR_BTNFACE));
  // Only what the update region touches: a value update repaints just its labels.
  if (layout_.GraphVisible && graph_.Dc() != nullptr && Touches(area, layout_.Bevel)) {
    DrawBevel(dc, layout_.Bevel);
    ::BitBlt(dc, layout_.Graph.Left, layout_.Graph.Top, graph_.Width(), graph_.Height(),
             graph_.Dc(), 0, 0, SRCCOPY);
  }
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
  const auto draw = [&](bool shown, HFONT font, const LayoutRect& r, std::wstring_view text) {
    if (shown && Touches(area, r)) DrawLabel(dc, font, r, text);
  };
  draw(layout_.CaptionsVisible, caption_font_.get(), layout_.Label1, kRecvCaption);
  draw(layout_.CaptionsVisible, caption_font_.get(), layout_.Label2, kSendCaption);
  draw(layout_.ValuesVisible, value_font_.get(), layout_.Recv, recv_text_);
  draw(layout_.ValuesVisible, value_font_.get(), layout_.Send, send_text_);
  ::BitBlt(screen, area.left, area.top, area.right - area.left, area.bottom - area.top, dc,
           area.left, area.top, SRCCOPY);
  ::EndPaint(Handle(), &ps);
}

void TMainForm::SetValueTexts(std::wstring recv, std::wstring send) {
  const bool recv_changed = recv != recv_text_;
  const bool send_changed = send != send_text_;
  if (!recv_changed && !send_changed) return;
  InvalidateValues();  // where the old texts were
  recv_text_ = std::move(recv);
  send_text_ = std::move(send);
  // Auto-sized and right-aligned: each keeps its right edge and takes its text's width.
  HDC dc = paint_dc_ ? paint_dc_.get() : nullptr;
  WindowDc window_dc(Handle());
  if (dc == nullptr) dc = window_dc.get();
  SelectGuard select(dc, value_font_.get());
  SIZE size{};
  ::GetTextExtentPoint32W(dc, recv_text_.data(), static_cast<int>(recv_text_.size()), &size);
  layout_.Recv.Left = layout_.Recv.Right() - size.cx;
  layout_.Recv.Width = size.cx;
  ::GetTextExtentPoint32W(dc, send_text_.data(), static_cast<int>(send_text_.size()), &size);
  layout_.Send.Left = layout_.Send.Right() - size.cx;
  layout_.Send.Width = size.cx;
  metrics_.RecvWidth = layout_.Recv.Width;
  metrics_.SendWidth = layout_.Send.Width;
  InvalidateValues();
  accessible_.TextsChanged(Handle(), recv_changed, send_changed);
}

void TMainForm::InvalidateValues() noexcept {
  for (const LayoutRect* r : {&layout_.Recv, &layout_.Send}) {
    const RECT rect{r->Left, r->Top, r->Right(), r->Bottom()};
    ::InvalidateRect(Handle(), &rect, FALSE);
  }
}

}  // namespace ripplet
