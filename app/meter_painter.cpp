#include "app/meter_painter.h"

#include "win32/win_handles.h"

namespace ripplet {
namespace {

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

void Blit(HDC to, const RECT& area, HDC from, int from_x, int from_y) {
  ::BitBlt(to, area.left, area.top, area.right - area.left, area.bottom - area.top, from, from_x,
           from_y, SRCCOPY);
}

}  // namespace

void MeterPainter::Paint(HWND hwnd, const MeterScene& scene) {
  const PaintDc screen(hwnd);
  const RECT& area = screen.Area();
  const MainLayout& layout = scene.Layout;
  const LayoutRect& g = layout.Graph;
  const bool graph_shown = layout.GraphVisible && scene.Graph.HasBitmap();
  if (graph_shown && area.left >= g.Left && area.top >= g.Top && area.right <= g.Right() &&
      area.bottom <= g.Bottom()) {
    // A tick repaints only the graph: one blit straight from the bitmap.
    scene.Graph.BlitTo(screen.get(), area.left, area.top, area.left - g.Left, area.top - g.Top,
                       area.right - area.left, area.bottom - area.top);
    return;
  }
  RECT client{};
  ::GetClientRect(hwnd, &client);
  HDC buffer = buffer_.Fit(screen.get(), {client.right, client.bottom});
  HDC dc = buffer != nullptr ? buffer : screen.get();
  ::FillRect(dc, &area, ::GetSysColorBrush(COLOR_BTNFACE));
  // Only what the update region touches: a value update repaints just its labels.
  if (graph_shown && Touches(area, layout.Bevel)) {
    DrawBevel(dc, layout.Bevel);
    scene.Graph.BlitTo(dc, g.Left, g.Top, 0, 0, scene.Graph.Width(), scene.Graph.Height());
  }
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
  const auto draw = [&](bool shown, HFONT font, const LayoutRect& r, std::wstring_view text) {
    if (shown && Touches(area, r)) DrawLabel(dc, font, r, text);
  };
  draw(layout.CaptionsVisible, scene.CaptionFont, layout.Label1, kRecvCaption);
  draw(layout.CaptionsVisible, scene.CaptionFont, layout.Label2, kSendCaption);
  draw(layout.ValuesVisible, scene.ValueFont, layout.Recv, scene.RecvText);
  draw(layout.ValuesVisible, scene.ValueFont, layout.Send, scene.SendText);
  if (buffer != nullptr) Blit(screen.get(), area, buffer, area.left, area.top);
}

void MeterPainter::ShowGraph(HWND hwnd, const MainLayout& layout,
                             const GraphBitmap& graph) noexcept {
  const WindowDc dc(hwnd);
  graph.BlitTo(dc.get(), layout.Graph.Left, layout.Graph.Top, 0, 0, graph.Width(), graph.Height());
}

}  // namespace ripplet
