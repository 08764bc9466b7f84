// Test support: how many GDI and USER objects the process can still create, and where its
// next kernel handle would go. Wine's GetGuiResources and GetProcessHandleCount are stubs
// that return 0, so a leak is seen instead as one object fewer here, or a later handle.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ripplet::testing {

// Creates objects with `create` until the table is full (or `limit`), frees them with
// `destroy`, and returns the count.
template <class Handle, class Create, class Destroy>
std::size_t CreatableObjects(Create create, Destroy destroy, std::size_t limit) {
  std::vector<Handle> made;
  made.reserve(limit);
  while (made.size() < limit) {
    Handle h = create();
    if (h == nullptr) break;
    made.push_back(h);
  }
  for (Handle h : made) destroy(h);
  return made.size();
}

// Brushes, until the GDI handle table is full.
inline std::size_t CreatableGdiObjects(std::size_t limit = 70000) {
  return CreatableObjects<HBRUSH>([] { return ::CreateSolidBrush(RGB(1, 2, 3)); },
                                  [](HBRUSH b) { ::DeleteObject(b); }, limit);
}

// Menus, until the USER handle table is full.
inline std::size_t CreatableUserObjects(std::size_t limit = 70000) {
  return CreatableObjects<HMENU>([] { return ::CreateMenu(); }, [](HMENU m) { ::DestroyMenu(m); },
                                 limit);
}

// The value of a new kernel handle. Handles take the lowest free slot, so once every
// handle made since is closed again this comes back the same; a leaked one takes the slot.
inline std::uintptr_t NextKernelHandle() {
  HANDLE event = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
  ::CloseHandle(event);
  return reinterpret_cast<std::uintptr_t>(event);
}

}  // namespace ripplet::testing
