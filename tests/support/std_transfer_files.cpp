#include "support/std_transfer_files.h"

#include <cstring>
#include <fstream>

#include "app/failure.h"
#include "support/temp_folder.h"

void StdTransferFiles::WriteWhole(const std::string& path, std::span<const std::uint8_t> bytes) {
  std::ofstream out(Utf8Path(path), std::ios::binary | std::ios::trunc);
  if (!out) throw CannotCreateFile(path, std::strerror(errno));
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.flush();
  if (!out) throw StreamWriteError();
}

bool StdTransferFiles::Delete(const std::string& path) {
  std::error_code error;
  return std::filesystem::remove(Utf8Path(path), error);
}

bool StdTransferFiles::Copy(const std::string& from, const std::string& to) {
  std::error_code error;
  return std::filesystem::copy_file(Utf8Path(from), Utf8Path(to),
                                    std::filesystem::copy_options::overwrite_existing, error);
}
