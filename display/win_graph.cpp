#include "display/win_graph.h"

#include <algorithm>
#include <cstring>

#include "display/colour_value.h"
#include "win32/app_error.h"

namespace ripplet {
namespace {

// A 32-bit DIB's pixel is 0x00RRGGBB; a colour here is always a plain 0x00BBGGRR.
constexpr std::uint32_t DibPixelOf(COLORREF colour) noexcept {
  return static_cast<std::uint32_t>(GetRValue(colour)) << 16 |
         static_cast<std::uint32_t>(GetGValue(colour)) << 8 | GetBValue(colour);
}

}  // namespace

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
  repeats_ = -1;  // a new picture: the next tick is drawn

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

bool GraphBitmap::Tick(std::optional<int> send_y, std::optional<int> recv_y) {
  // A repeated tick draws the columns the tick before drew. Once the last tick that differed
  // (and the column its line started in) has left the graph, every column is alike.
  const bool repeat = repeats_ >= 0 && send_y == last_send_y_ && recv_y == last_recv_y_;
  repeats_ = repeat ? std::min(repeats_ + 1, width_) : 0;
  last_send_y_ = send_y;
  last_recv_y_ = recv_y;
  if (repeats_ > width_ / 2 + 2) return false;  // one tick to spare

  const int h = height_;
  // The graph's columns 2 to W-1 become its columns 0 to W-3.
  if (left_ + 2 > kSlack) SlideBack();  // the bits are current: each drawing ends flushed
  left_ += 2;
  const int w = left_ + width_;  // the bitmap's column just right of the graph
  // The two new columns and the middle line's two pixels are plain stores into the bits:
  // the pixels GDI's fill and line would give, without five calls into it on every tick.
  const std::uint32_t back = DibPixelOf(colours_.Back);
  for (int y = 0; y < h; ++y) {
    std::uint32_t* fresh = pixels_ + static_cast<std::ptrdiff_t>(y) * stride_ + (w - 2);
    fresh[0] = fresh[1] = back;
  }
  if (middle_y_ && *middle_y_ >= 0 && *middle_y_ < h) {
    std::uint32_t* middle = pixels_ + static_cast<std::ptrdiff_t>(*middle_y_) * stride_ + (w - 2);
    middle[0] = middle[1] = DibPixelOf(colours_.Middle);
  }
  // Receive last: it lies on top where the two meet.
  DrawSeries(prev_send_y_, send_y, colours_.Send);
  DrawSeries(prev_recv_y_, recv_y, colours_.Recv);
  ::GdiFlush();
  return true;
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
