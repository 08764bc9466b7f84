// The settings file's bytes as an IniDocument and back. A file that starts with the UTF-16
// LE byte-order mark is read as the platform's profile functions read it for an ANSI
// program (each line converted to the ANSI code page) and written back in UTF-16 LE with
// its mark, every line no write touched exactly as it was. Other files are ANSI bytes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "settings/ini_document.h"

namespace ripplet {

// Conversion between UTF-16 and the ANSI code page (the platform gives it).
struct AnsiCodec {
  std::string (*ToAnsi)(std::u16string_view text);
  std::u16string (*FromAnsi)(std::string_view text);
};

class IniText {
 public:
  static IniText Decode(std::string_view bytes, const AnsiCodec& codec);

  IniDocument& Document() noexcept { return document_; }
  const IniDocument& Document() const noexcept { return document_; }
  bool IsUtf16() const noexcept { return utf16_; }

  std::string Encode(const AnsiCodec& codec) const;

 private:
  IniDocument document_;
  bool utf16_ = false;
  std::vector<std::u16string> source_lines_;  // each with its own line end, if any
  std::string odd_byte_;                      // a last byte that makes no UTF-16 unit
};

}  // namespace ripplet
