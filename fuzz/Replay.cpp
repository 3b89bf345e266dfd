// Runs a fuzz target once on every file of the given folders, in name order, the
// way libFuzzer runs a corpus, but built with the test build's compiler and
// sanitizers: the seeds and the reproducers of past findings become plain tests.
// A folder that does not exist holds nothing; no file at all is a failure.
//   replay_NAME FOLDER...
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

std::vector<std::filesystem::path> FilesIn(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error))
    if (entry.is_regular_file() && entry.path().filename().string()[0] != '.')
      files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

std::vector<uint8_t> Contents(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

int main(int argc, char** argv) {
  size_t count = 0;
  for (int i = 1; i < argc; ++i)
    for (const auto& file : FilesIn(argv[i])) {
      // Named before it runs, so a crash report follows the name of its input.
      std::cout << "replaying " << file.string() << std::endl;
      const std::vector<uint8_t> bytes = Contents(file);
      LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
      ++count;
    }
  std::cout << "replayed " << count << " inputs" << std::endl;
  return count > 0 ? 0 : 1;
}
