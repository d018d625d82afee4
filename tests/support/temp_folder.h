#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// A fresh folder under the system's temporary directory, removed with everything in it.
class TempFolder {
 public:
  explicit TempFolder(const std::string& utf8Name);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The folder as the tool spells a directory: UTF-8, ending with the separator.
  std::string Dir() const;

 private:
  std::filesystem::path path_;
};

std::filesystem::path Utf8Path(const std::string& utf8);
std::string PathUtf8(const std::filesystem::path& path);
std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);
// The unsigned number stored least significant byte first in bytes[at, at + width).
std::uint32_t LittleEndian(const std::vector<std::uint8_t>& bytes, std::size_t at, int width);
