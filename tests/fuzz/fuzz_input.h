// Carves one fuzz input into the values a target needs. Numbers and lengths come from
// the end of the input and text from the front, so a seed that is a real file (an INI
// file, a command line) keeps its text whole and only its last bytes steer the target.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace ripplet::fuzz {

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) noexcept : data_(data), size_(size) {}

  std::size_t Remaining() const noexcept { return size_; }

  // The last sizeof(T) bytes (fewer when the input is short; missing bytes read as 0).
  template <class T>
  T Number() noexcept {
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < sizeof(T) && size_ > 0; ++i) {
      bits = (bits << 8) | data_[size_ - 1];
      --size_;
    }
    T value;
    static_assert(sizeof(T) <= sizeof bits);
    std::memcpy(&value, &bits, sizeof value);  // little-endian host: the low bytes
    return value;
  }

  bool Flag() noexcept { return (Number<std::uint8_t>() & 1) != 0; }

  // A double from 8 raw bytes: every bit pattern, NaN and infinities included.
  double AnyDouble() noexcept { return Number<double>(); }

  // Up to `length` bytes from the front.
  std::string_view Bytes(std::size_t length) noexcept {
    length = std::min(length, size_);
    const std::string_view text(reinterpret_cast<const char*>(data_), length);
    data_ += length;
    size_ -= length;
    return text;
  }

  // Text whose length (0 to max_length) is the next number from the end.
  std::string_view Text(std::size_t max_length) noexcept {
    return Bytes(Number<std::uint8_t>() % (max_length + 1));
  }

  std::string_view Rest() noexcept { return Bytes(size_); }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
};

// Wide text from UTF-16LE bytes: a trailing odd byte is dropped. Any code unit comes
// through, lone surrogates and NUL included.
inline std::wstring WideFromUtf16Le(std::string_view bytes) {
  std::wstring text;
  text.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const unsigned lo = static_cast<unsigned char>(bytes[i]);
    const unsigned hi = static_cast<unsigned char>(bytes[i + 1]);
    text += static_cast<wchar_t>(lo | (hi << 8));
  }
  return text;
}

}  // namespace ripplet::fuzz
