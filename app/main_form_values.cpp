// The two value labels' texts: auto-sized and right-aligned, repainted only where they were
// and where they are now.
#include "app/main_form.h"

namespace ripplet {

void TMainForm::SetValueTexts(std::wstring recv, std::wstring send) {
  const bool recv_changed = recv != recv_text_;
  const bool send_changed = send != send_text_;
  if (!recv_changed && !send_changed) return;
  InvalidateValues();  // where the old texts were
  recv_text_ = std::move(recv);
  send_text_ = std::move(send);
  // Auto-sized and right-aligned: each keeps its right edge and takes its text's width.
  const WindowDc window_dc(Handle());
  HDC dc = window_dc.get();
  const SelectGuard select(dc, value_font_.get());
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
