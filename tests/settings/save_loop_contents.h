// The two contents the save loop alternates: large (about a megabyte), each line telling
// which content and which line it is, so a mix or a cut is seen.
#pragma once

#include <string>

namespace ripplet::testing {

inline std::string SaveLoopContent(char tag) {
  std::string text = "[Settings]\r\n";
  for (int i = 0; i < 20000; ++i) {
    text += "Key" + std::to_string(i) + "=" + std::string(40, tag) + "\r\n";
  }
  return text;
}

}  // namespace ripplet::testing
