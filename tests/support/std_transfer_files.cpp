#include "support/std_transfer_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <fstream>

#include "app/failure.h"
#include "support/temp_folder.h"

namespace {

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

class PosixUncachedFile : public UncachedFile {
 public:
  explicit PosixUncachedFile(int fd) : fd_(fd) {}
  std::optional<std::uint64_t> Length() override {
    struct stat status {};
    if (fstat(fd_.get(), &status) != 0) return std::nullopt;
    return static_cast<std::uint64_t>(status.st_size);
  }
  std::optional<std::size_t> Read(std::span<std::uint8_t> buffer) override {
    const ssize_t got = read(fd_.get(), buffer.data(), buffer.size());
    if (got < 0) return std::nullopt;
    return static_cast<std::size_t>(got);
  }

 private:
  Descriptor fd_;
};

}  // namespace

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

bool StdTransferFiles::Flush(const std::string& path) {
  const Descriptor file(open(path.c_str(), O_WRONLY | O_CLOEXEC));
  return file.get() >= 0 && fsync(file.get()) == 0;
}

std::unique_ptr<UncachedFile> StdTransferFiles::OpenUncached(const std::string& path) {
  int fd = open(path.c_str(), O_RDONLY | O_DIRECT | O_CLOEXEC);
  // tmpfs and a few others have no direct I/O; there the page cache is all there is.
  if (fd < 0 && errno == EINVAL) fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  return std::make_unique<PosixUncachedFile>(fd);
}
