// The graph bitmap: a DIB section the main window paints from. Each tick scrolls it left
// by two columns and draws the new slice of both series over the middle line.
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

  // One tick: scroll by 2, fill the two new columns, extend the middle line, then the send
  // series and the receive series through their three points. A series without a y
  // (unusable scale) is not drawn.
  void Tick(std::optional<int> send_y, std::optional<int> recv_y);

  // Both series start again at the bottom row.
  void ResetSeries() noexcept { prev_send_y_ = prev_recv_y_ = height_ - 1; }

  HDC Dc() const noexcept { return dc_.get(); }
  int Width() const noexcept { return width_; }
  int Height() const noexcept { return height_; }
  // Top-down 0x00RRGGBB pixels, Width() per row.
  const std::uint32_t* Pixels() const noexcept { return pixels_; }

 private:
  void DrawSeries(int& prev_y, std::optional<int> y, COLORREF colour) noexcept;

  BitmapDc dc_;
  std::uint32_t* pixels_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  Colours colours_{};
  std::optional<int> middle_y_;
  int prev_send_y_ = 0;
  int prev_recv_y_ = 0;
};

}  // namespace ripplet
