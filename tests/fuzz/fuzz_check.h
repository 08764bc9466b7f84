// The fuzz targets' assertion: prints the broken invariant and aborts, which libFuzzer
// reports as a crash (and saves the input) and the corpus replay reports as a failure.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                \
  do {                                                                                       \
    if (!(condition)) {                                                                      \
      std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                          \
    }                                                                                        \
  } while (false)

namespace ripplet::fuzz {

// Faults the fuzzers found that are reported but not yet fixed are tolerated, so that
// fuzzing goes on past them; with RIPPLET_FUZZ_STRICT=1 in the environment they are
// checked too, and their reproducers in tests/fuzz/crashes/ fail. A fix removes its
// tolerance.
inline bool Strict() {
  static const bool strict = [] {
    const char* value = std::getenv("RIPPLET_FUZZ_STRICT");
    return value != nullptr && value[0] == '1';
  }();
  return strict;
}

}  // namespace ripplet::fuzz
