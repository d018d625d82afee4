#include "support/std_transfer_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cstring>

#include "base/failure.h"
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

// POSIX knows no sharing violations: no other program's open file stands in a step's way.
FileOutcome Outcome(const std::error_code& error) {
  if (error == std::errc::file_exists) return FileOutcome::kNameTaken;
  if (error == std::errc::no_space_on_device) return FileOutcome::kVolumeFull;
  return error == std::errc::permission_denied ? FileOutcome::kDenied : FileOutcome::kFailed;
}

FileOutcome LastOutcome() { return Outcome({errno, std::generic_category()}); }

}  // namespace

void StdTransferFiles::WriteNew(const std::string& path, std::span<const std::uint8_t> bytes) {
  const Descriptor file(open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
  if (file.get() < 0) throw CannotCreateFile(path, std::strerror(errno));
  for (std::size_t done = 0; done < bytes.size();) {
    const ssize_t put = write(file.get(), bytes.data() + done, bytes.size() - done);
    if (put <= 0) {
      unlink(path.c_str());
      throw StreamWriteError();
    }
    done += static_cast<std::size_t>(put);
  }
}

StepOutcome StdTransferFiles::Delete(const std::string& path) {
  std::error_code error;
  return std::filesystem::remove(Utf8Path(path), error) ? FileOutcome::kDone : Outcome(error);
}

// The standard library tells nothing of how far a failed copy got.
CopyAttempt StdTransferFiles::Copy(const std::string& from, const std::string& to, bool replace) {
  std::error_code error;
  const auto options = replace ? std::filesystem::copy_options::overwrite_existing
                               : std::filesystem::copy_options::none;
  if (std::filesystem::copy_file(Utf8Path(from), Utf8Path(to), options, error))
    return {FileOutcome::kDone, true};
  return {Outcome(error)};
}

StepOutcome StdTransferFiles::Flush(const std::string& path) {
  const Descriptor file(open(path.c_str(), O_WRONLY | O_CLOEXEC));
  return file.get() >= 0 && fsync(file.get()) == 0 ? FileOutcome::kDone : LastOutcome();
}

OpenedFile StdTransferFiles::OpenUncached(const std::string& path) {
  int fd = open(path.c_str(), O_RDONLY | O_DIRECT | O_CLOEXEC);
  // tmpfs and a few others have no direct I/O; there the page cache is all there is.
  if (fd < 0 && errno == EINVAL) fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return {LastOutcome(), nullptr};
  return {FileOutcome::kDone, std::make_unique<PosixUncachedFile>(fd)};
}

// A name is absent where its folder is there to say so.
Presence StdTransferFiles::LookUp(const std::string& path) {
  std::error_code error;
  const auto status = std::filesystem::symlink_status(Utf8Path(path), error);
  if (std::filesystem::exists(status)) return Presence::kPresent;
  const bool folderAnswers = std::filesystem::is_directory(Utf8Path(path).parent_path(), error);
  return status.type() == std::filesystem::file_type::not_found && folderAnswers
             ? Presence::kAbsent
             : Presence::kUnknown;
}

bool StdTransferFiles::RootAnswers(const std::string& root) {
  std::error_code error;
  return std::filesystem::is_directory(Utf8Path(root), error);
}

std::optional<std::vector<DirectoryEntry>> StdTransferFiles::List(const std::string& directory) {
  std::error_code error;
  std::vector<DirectoryEntry> entries;
  for (const auto& found : std::filesystem::directory_iterator(Utf8Path(directory), error)) {
    const bool folder = found.is_directory();
    const auto permissions = found.status().permissions();
    entries.push_back(
        {found.path().filename().string(), folder,
         (permissions & std::filesystem::perms::owner_write) == std::filesystem::perms::none,
         folder ? 0 : static_cast<std::uint64_t>(found.file_size())});
  }
  if (error) return std::nullopt;
  return entries;
}

std::optional<VolumeSpace> StdTransferFiles::Space(const std::string& directory) {
  struct statvfs volume {};
  if (statvfs(directory.c_str(), &volume) != 0 || volume.f_frsize == 0) return std::nullopt;
  return VolumeSpace{volume.f_frsize, volume.f_bavail};
}
