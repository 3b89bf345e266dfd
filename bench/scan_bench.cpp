// ScanFolder against `find DIR -type f` with the same name filter, on one
// generated tree of 20,000 files in 200 nested folders (a chain of 20 levels,
// ten wide). Prints both times (best of several runs) and the ratio.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/PictureList.h"

namespace {

constexpr int kFolders = 200;
constexpr int kFilesPerFolder = 100;
constexpr int kRuns = 7;
const char* const kExtensions[] = {".jpg", ".JPEG", ".bmp", ".png", ".txt"};

using Clock = std::chrono::steady_clock;

std::string MakeTree(const std::string& root) {
  // Ten chains of twenty nested folders.
  for (int folder = 0; folder < kFolders; ++folder) {
    std::string path = root;
    for (int level = 0; level <= folder % 20; ++level)
      path += "/d" + std::to_string(folder / 20) + "_" + std::to_string(level);
    std::filesystem::create_directories(path);
    for (int file = 0; file < kFilesPerFolder; ++file)
      std::ofstream(path + "/IMG_" + std::to_string(file) + kExtensions[file % 5]);
  }
  return root;
}

double BestSeconds(const auto& run) {
  double best = 1e9;
  for (int i = 0; i < kRuns; ++i) {
    auto start = Clock::now();
    run();
    best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
  }
  return best;
}

}  // namespace

int main() {
  std::string pattern = (std::filesystem::temp_directory_path() / "loupix-scan-XXXXXX").string();
  std::string root = MakeTree(mkdtemp(pattern.data()));
  int found = 0;
  double scan = BestSeconds([&] {
    TStringList list;
    ScanFolder(root, list, [] { return false; });
    found = list.Count();
  });
  std::string command =
      "find '" + root +
      "' -type f \\( -iname '*.jpg' -o -iname '*.jpeg' -o -iname '*.bmp' \\) > /dev/null";
  double find = BestSeconds([&] {
    if (std::system(command.c_str()) != 0) std::fprintf(stderr, "find failed\n");
  });
  std::filesystem::remove_all(root);
  std::printf("ScanFolder: %d pictures in %.2f ms\n", found, scan * 1000);
  std::printf("find -type f with the same filter: %.2f ms\n", find * 1000);
  std::printf("ratio ScanFolder / find: %.2f (goal <= 1.5)\n", scan / find);
  return 0;
}
