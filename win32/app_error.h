// The error a handler raises when the user must be told something went wrong.
#pragma once

#include <exception>
#include <string>
#include <utility>

namespace ripplet {

// Carries the text the user sees; the window procedure's dispatch wrapper catches it and
// shows the application's error box, and the program goes on.
class AppError : public std::exception {
 public:
  explicit AppError(std::wstring text) : text_(std::move(text)) {}
  const std::wstring& Text() const noexcept { return text_; }
  const char* what() const noexcept override { return "ripplet::AppError"; }

 private:
  std::wstring text_;
};

// The error box ends a text with "." when its last character sorts after "." by code,
// so "...ません" and "...file" get a period and "...!" or "...." keep theirs.
inline std::wstring WithClosingPeriod(std::wstring text) {
  if (!text.empty() && text.back() > L'.') text += L'.';
  return text;
}

}  // namespace ripplet
