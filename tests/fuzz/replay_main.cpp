// Runs a fuzz target over stored inputs without libFuzzer, so that the seed corpora are
// regression tests in any build: each argument is a file or a folder of files.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void RunOne(const std::filesystem::path& path) {
  // Exactly sized heap copy: a read past the input's end is caught by AddressSanitizer.
  const std::vector<std::uint8_t> bytes = ReadFile(path);
  std::fprintf(stderr, "replay %s (%zu bytes)\n", path.string().c_str(), bytes.size());
  auto* copy = new std::uint8_t[bytes.size()];
  std::copy(bytes.begin(), bytes.end(), copy);
  LLVMFuzzerTestOneInput(copy, bytes.size());
  delete[] copy;
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t count = 0;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path arg(argv[i]);
    if (std::filesystem::is_directory(arg)) {
      std::vector<std::filesystem::path> files;
      for (const auto& entry : std::filesystem::directory_iterator(arg)) {
        if (entry.is_regular_file()) files.push_back(entry.path());
      }
      std::sort(files.begin(), files.end());
      for (const auto& file : files) RunOne(file);
      count += files.size();
    } else if (std::filesystem::is_regular_file(arg)) {
      RunOne(arg);
      ++count;
    } else {
      std::fprintf(stderr, "no such input: %s\n", argv[i]);
      return 2;
    }
  }
  if (count == 0) {
    std::fprintf(stderr, "no inputs replayed\n");
    return 2;
  }
  std::printf("%zu inputs replayed\n", count);
  return 0;
}
