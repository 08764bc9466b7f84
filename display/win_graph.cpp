#include "display/win_graph.h"

#include "display/colour_value.h"
#include "win32/app_error.h"

namespace ripplet {

COLORREF ColourRefOf(std::uint32_t colour) noexcept {
  const ColourMeaning m = MeaningOf(colour);
  return m.IsSystem ? ::GetSysColor(static_cast<int>(m.Value)) : static_cast<COLORREF>(m.Value);
}

void GraphBitmap::Reset(int width, int height, const Colours& colours,
                        std::optional<int> middle_y) {
  if (!dc_) {
    dc_ = BitmapDc(nullptr);
    if (!dc_) throw AppError(L"グラフを作成できません");
    // Stock DC pen and brush: colours change with SetDC*Color, no object per tick.
    ::SelectObject(dc_.get(), ::GetStockObject(DC_PEN));
    ::SelectObject(dc_.get(), ::GetStockObject(DC_BRUSH));
  }
  if (width != width_ || height != height_ || !dc_.HasBitmap()) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) throw AppError(L"グラフを作成できません");
    dc_.Select(std::move(bitmap));
    pixels_ = static_cast<std::uint32_t*>(bits);
    width_ = width;
    height_ = height;
  }
  colours_ = colours;
  middle_y_ = middle_y;

  HDC dc = dc_.get();
  ::SetDCBrushColor(dc, colours_.Back);
  const RECT all{0, 0, width_, height_};
  ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
  if (middle_y_) {
    ::SetDCPenColor(dc, colours_.Middle);
    ::MoveToEx(dc, 0, *middle_y_, nullptr);
    ::LineTo(dc, width_, *middle_y_);
  }
  ::GdiFlush();
}

void GraphBitmap::Tick(std::optional<int> send_y, std::optional<int> recv_y) {
  HDC dc = dc_.get();
  const int w = width_;
  const int h = height_;
  ::BitBlt(dc, 0, 0, w - 2, h, dc, 2, 0, SRCCOPY);
  ::SetDCBrushColor(dc, colours_.Back);
  const RECT fresh{w - 2, 0, w, h};
  ::FillRect(dc, &fresh, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
  if (middle_y_) {
    ::SetDCPenColor(dc, colours_.Middle);
    ::MoveToEx(dc, w - 2, *middle_y_, nullptr);
    ::LineTo(dc, w, *middle_y_);
  }
  // Receive last: it lies on top where the two meet.
  DrawSeries(prev_send_y_, send_y, colours_.Send);
  DrawSeries(prev_recv_y_, recv_y, colours_.Recv);
  ::GdiFlush();
}

void GraphBitmap::DrawSeries(int& prev_y, std::optional<int> y, COLORREF colour) noexcept {
  if (!y) return;
  HDC dc = dc_.get();
  ::SetDCPenColor(dc, colour);
  // From the end of the last slice (moved from W-1 to W-3 by the scroll) to the new value
  // in W-1; the second segment's end point W is not drawn.
  const POINT points[3] = {{width_ - 3, prev_y}, {width_ - 1, *y}, {width_, *y}};
  ::Polyline(dc, points, 3);
  prev_y = *y;
}

}  // namespace ripplet
