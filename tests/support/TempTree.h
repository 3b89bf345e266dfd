// A temporary folder tree for tests, removed again at the end.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

class TTempTree {
 public:
  TTempTree() {
    std::string pattern = (std::filesystem::temp_directory_path() / "loupix-XXXXXX").string();
    FRoot = mkdtemp(pattern.data());
  }
  ~TTempTree() {
    // Folders made unreadable by a test must be opened again to be removed.
    RestoreAll(FRoot);
    std::error_code error;
    std::filesystem::remove_all(FRoot, error);
  }
  const std::string& Root() const { return FRoot; }
  std::string Path(const std::string& relative) const { return FRoot + "/" + relative; }
  // Makes a file (and its folders) below the root.
  std::string File(const std::string& relative) const { return Write(relative, {'x'}); }
  // Makes a file of the given bytes (and its folders) below the root.
  std::string Write(const std::string& relative, const std::vector<uint8_t>& bytes) const {
    std::filesystem::path path = Path(relative);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path.string();
  }
  std::string Folder(const std::string& relative) const {
    std::filesystem::create_directories(Path(relative));
    return Path(relative);
  }
  void Link(const std::string& target, const std::string& relative) const {
    std::filesystem::create_symlink(target, Path(relative));
  }

 private:
  static void RestoreAll(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all, error);
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
      if (entry.is_directory(error) && !entry.is_symlink(error)) RestoreAll(entry.path());
  }
  std::string FRoot;
};
