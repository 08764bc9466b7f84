// The graph bitmap: a DIB section the main window paints from. Each tick moves the graph left
// by two columns and draws the new slice of both series over the middle line.
//
// The bitmap is wider than the graph: the graph is a window onto it that slides right by two
// columns a tick, so a tick draws only its slice. When the window reaches the bitmap's right
// edge, the graph is copied back to the left edge once (every kSlack / 2 ticks), where a
// plain scroll would move the whole graph every tick. Drawn at the same offsets, the pixels
// are those of the plain scroll.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

#include "win32/win_handles.h"

namespace ripplet {

COLORREF ColourRefOf(std::uint32_t colour) noexcept;

class GraphBitmap {
 public:
  struct Colours {
    COLORREF Back, Middle, Recv, Send;
  };

  GraphBitmap() = default;
  GraphBitmap(const GraphBitmap&) = delete;
  GraphBitmap& operator=(const GraphBitmap&) = delete;

  // Takes the graph's size (a new DIB only when the size changes), fills it with the
  // background and draws the middle line at middle_y (none when the scale is unusable).
  void Reset(int width, int height, const Colours& colours, std::optional<int> middle_y);

  // One tick: move by 2, fill the two new columns, extend the middle line, then the send
  // series and the receive series through their three points. A series without a y
  // (unusable scale) is not drawn. Returns false when the tick changed no pixel of the
  // graph: a line that has held its values for the graph's whole width only moves columns
  // that are all alike, so such a tick draws nothing and nothing needs showing.
  bool Tick(std::optional<int> send_y, std::optional<int> recv_y);

  // Both series start again at the bottom row.
  void ResetSeries() noexcept {
    prev_send_y_ = prev_recv_y_ = height_ - 1;
    repeats_ = -1;
  }

  bool HasBitmap() const noexcept { return pixels_ != nullptr; }
  int Width() const noexcept { return width_; }
  int Height() const noexcept { return height_; }
  // The graph's pixel at (x, y), 0x00RRGGBB.
  std::uint32_t Pixel(int x, int y) const noexcept { return pixels_[y * stride_ + left_ + x]; }

  // Copies the part of the graph from (from_x, from_y), `width` x `height`, to (x, y) of `to`.
  void BlitTo(HDC to, int x, int y, int from_x, int from_y, int width, int height) const noexcept {
    ::BitBlt(to, x, y, width, height, dc_.get(), left_ + from_x, from_y, SRCCOPY);
  }

  // Columns of the bitmap beyond the graph's width.
  static constexpr int kSlack = 64;

 private:
  void DrawSeries(int& prev_y, std::optional<int> y, COLORREF colour) noexcept;
  void SlideBack() noexcept;

  BitmapDc dc_;
  std::uint32_t* pixels_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  int stride_ = 0;  // the bitmap's width: width_ + kSlack
  int left_ = 0;    // the bitmap's column where the graph's column 0 is
  Colours colours_{};
  std::optional<int> middle_y_;
  int prev_send_y_ = 0;
  int prev_recv_y_ = 0;
  // The last tick's values, and how many ticks in a row repeated them (-1: no tick yet).
  std::optional<int> last_send_y_, last_recv_y_;
  int repeats_ = -1;
};

}  // namespace ripplet
