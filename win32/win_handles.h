// Move-only owners of Win32 handles: every handle the program creates has exactly one owner.
#pragma once

#include <windows.h>

#include <utility>

namespace ripplet {

// Traits name the handle type, its "no handle" value and how to close it.
template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  explicit UniqueHandle(Handle h) noexcept : h_(h) {}
  UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, Traits::Invalid())) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, Traits::Invalid()));
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  Handle get() const noexcept { return h_; }
  explicit operator bool() const noexcept { return h_ != Traits::Invalid(); }
  Handle release() noexcept { return std::exchange(h_, Traits::Invalid()); }
  void reset(Handle h = Traits::Invalid()) noexcept {
    if (h_ != Traits::Invalid()) Traits::Close(h_);
    h_ = h;
  }

 private:
  Handle h_ = Traits::Invalid();
};

template <typename H, BOOL (*CloseFn)(H)>
struct NullIsInvalid {
  using Handle = H;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { CloseFn(h); }
};

template <BOOL (*CloseFn)(HANDLE)>
struct MinusOneIsInvalid {
  using Handle = HANDLE;
  static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) noexcept { CloseFn(h); }
};

template <typename H>
struct GdiObjectTraits {
  using Handle = H;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { ::DeleteObject(h); }
};

using UniqueFile = UniqueHandle<MinusOneIsInvalid<&::CloseHandle>>;
using UniqueFind = UniqueHandle<MinusOneIsInvalid<&::FindClose>>;
using UniqueFont = UniqueHandle<GdiObjectTraits<HFONT>>;
using UniqueBrush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using UniquePen = UniqueHandle<GdiObjectTraits<HPEN>>;
using UniqueBitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using UniqueMemoryDc = UniqueHandle<NullIsInvalid<HDC, &::DeleteDC>>;
using UniqueMenu = UniqueHandle<NullIsInvalid<HMENU, &::DestroyMenu>>;

// Selects an object into a DC and puts the previous one back when it goes or is reset.
// Movable, so a part can keep an object selected for as long as it keeps the DC.
class SelectGuard {
 public:
  SelectGuard() = default;
  SelectGuard(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(::SelectObject(dc, object)) {}
  SelectGuard(SelectGuard&& o) noexcept
      : dc_(std::exchange(o.dc_, nullptr)), old_(std::exchange(o.old_, nullptr)) {}
  SelectGuard& operator=(SelectGuard&& o) noexcept {
    if (this != &o) {
      reset();
      dc_ = std::exchange(o.dc_, nullptr);
      old_ = std::exchange(o.old_, nullptr);
    }
    return *this;
  }
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;
  ~SelectGuard() { reset(); }

  void reset() noexcept {
    // A failed selection left nothing to put back.
    if (dc_ != nullptr && old_ != nullptr) ::SelectObject(dc_, old_);
    dc_ = nullptr;
    old_ = nullptr;
  }

 private:
  HDC dc_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

// A window's DC (nullptr: the screen's), released when it goes.
class WindowDc {
 public:
  explicit WindowDc(HWND hwnd) noexcept : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
  WindowDc(WindowDc&& o) noexcept : hwnd_(o.hwnd_), dc_(std::exchange(o.dc_, nullptr)) {}
  WindowDc& operator=(WindowDc&&) = delete;
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_ != nullptr) ::ReleaseDC(hwnd_, dc_);
  }
  HDC get() const noexcept { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// One WM_PAINT's DC: BeginPaint on creation, EndPaint when it goes, on every way out.
class PaintDc {
 public:
  explicit PaintDc(HWND hwnd) noexcept : hwnd_(hwnd), dc_(::BeginPaint(hwnd, &ps_)) {}
  PaintDc(PaintDc&& o) noexcept
      : hwnd_(std::exchange(o.hwnd_, nullptr)), ps_(o.ps_), dc_(std::exchange(o.dc_, nullptr)) {}
  PaintDc& operator=(PaintDc&&) = delete;
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  // EndPaint also where BeginPaint gave no DC: it still validates the update region.
  ~PaintDc() {
    if (hwnd_ != nullptr) ::EndPaint(hwnd_, &ps_);
  }
  HDC get() const noexcept { return dc_; }
  // What needs painting, in client coordinates.
  const RECT& Area() const noexcept { return ps_.rcPaint; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// A memory DC with a bitmap of its own selected into it. The DC's original bitmap goes
// back before a replaced bitmap is deleted, and before the DC and its bitmap go.
class BitmapDc {
 public:
  BitmapDc() = default;
  // Compatible with `like` (nullptr: the screen); empty when the platform refuses.
  explicit BitmapDc(HDC like) noexcept : dc_(::CreateCompatibleDC(like)) {}
  BitmapDc(BitmapDc&&) noexcept = default;
  BitmapDc& operator=(BitmapDc&& o) noexcept {
    if (this != &o) {
      selected_.reset();
      bitmap_.reset();
      dc_ = std::move(o.dc_);
      bitmap_ = std::move(o.bitmap_);
      selected_ = std::move(o.selected_);
    }
    return *this;
  }

  explicit operator bool() const noexcept { return static_cast<bool>(dc_); }
  HDC get() const noexcept { return dc_.get(); }
  bool HasBitmap() const noexcept { return static_cast<bool>(bitmap_); }

  // Takes `bitmap` and selects it; the bitmap it had before is deleted.
  void Select(UniqueBitmap bitmap) noexcept {
    selected_.reset();  // the DC's own bitmap back, so the old one is free to go
    if (bitmap) selected_ = SelectGuard(dc_.get(), bitmap.get());
    bitmap_ = std::move(bitmap);
  }

 private:
  // Destroyed bottom up: the selection is undone, then the bitmap and the DC go.
  UniqueMemoryDc dc_;
  UniqueBitmap bitmap_;
  SelectGuard selected_;
};

}  // namespace ripplet
