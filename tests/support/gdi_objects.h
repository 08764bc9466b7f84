// Test support: how many GDI objects the process can still create. Wine's GetGuiResources
// is a stub that returns 0, so a leak is seen instead as one object fewer here.
#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

namespace ripplet::testing {

// Creates brushes until the handle table is full (or `limit`), frees them, returns the count.
inline std::size_t CreatableGdiObjects(std::size_t limit = 70000) {
  std::vector<HBRUSH> brushes;
  brushes.reserve(limit);
  while (brushes.size() < limit) {
    HBRUSH b = ::CreateSolidBrush(RGB(1, 2, 3));
    if (b == nullptr) break;
    brushes.push_back(b);
  }
  for (HBRUSH b : brushes) ::DeleteObject(b);
  return brushes.size();
}

}  // namespace ripplet::testing
