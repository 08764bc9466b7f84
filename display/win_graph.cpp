#include "display/win_graph.h"

#include <cstring>

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
    info.bmiHeader.biWidth = width + kSlack;
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
    stride_ = width + kSlack;
  }
  colours_ = colours;
  middle_y_ = middle_y;
  left_ = 0;

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

void GraphBitmap::SlideBack() noexcept {
  const auto row_bytes = static_cast<std::size_t>(width_) * sizeof(std::uint32_t);
  for (int y = 0; y < height_; ++y) {
    std::uint32_t* row = pixels_ + static_cast<std::ptrdiff_t>(y) * stride_;
    std::memmove(row, row + left_, row_bytes);
  }
  left_ = 0;
}

void GraphBitmap::Tick(std::optional<int> send_y, std::optional<int> recv_y) {
  HDC dc = dc_.get();
  const int h = height_;
  // The graph's columns 2 to W-1 become its columns 0 to W-3.
  if (left_ + 2 > kSlack) SlideBack();  // the bits are current: each drawing ends flushed
  left_ += 2;
  const int w = left_ + width_;  // the bitmap's column just right of the graph
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
  // From the end of the last slice (moved from W-1 to W-3 by the tick) to the new value
  // in W-1; the second segment's end point W is not drawn.
  const int w = left_ + width_;
  const POINT points[3] = {{w - 3, prev_y}, {w - 1, *y}, {w, *y}};
  ::Polyline(dc, points, 3);
  prev_y = *y;
}

}  // namespace ripplet
