// Painting the main window: the bevel, the graph and the four labels are windowless; they
// are drawn through a back buffer, so a repaint shows in one blit with no flicker, and a
// tick's new slice goes straight from the graph's bitmap to the screen.
#pragma once

#include <windows.h>

#include <string_view>

#include "app/label_layout.h"
#include "display/win_graph.h"
#include "win32/win_back_buffer.h"

namespace ripplet {

// What a repaint shows, as the window has it now.
struct MeterScene {
  const MainLayout& Layout;
  const GraphBitmap& Graph;
  HFONT CaptionFont;
  HFONT ValueFont;
  std::wstring_view RecvText;
  std::wstring_view SendText;
};

class MeterPainter {
 public:
  // WM_PAINT: repaints what the update region touches.
  void Paint(HWND hwnd, const MeterScene& scene);

  // After a tick: the graph from its bitmap onto the screen, with no trip through WM_PAINT.
  static void ShowGraph(HWND hwnd, const MainLayout& layout, const GraphBitmap& graph) noexcept;

 private:
  BackBuffer buffer_;
};

}  // namespace ripplet
