// A tiny FUSE file system that behaves like a faulty flash drive: it keeps its files in a backing
// folder and notes each read and flush it serves, everything that changes the drive (create,
// open for writing, truncate, write, unlink, rename, mkdir, rmdir, chmod, chown, utimens), and,
// once dead, every call it refuses, in a log, one "step name" line each. Every file is opened for
// direct I/O, so each read comes from here and not from the kernel's cache. Its faults, each given
// as NAME=VALUE:
//   victim=FILE            reports every write to FILE as done but alters one byte of it, as a
//                          counterfeit stick does
//   flush-delay-ms=N, write-delay-ms=N
//                          each flush or write takes that long, as a cheap stick's do
//   free=BYTES             tells that room, in 4096-byte clusters, whatever its files take
//   full-from-write=N      refuses the Nth write, counted from 1, and every later one for lack of
//                          room, as a stick does when another program takes the room during a run
//   dies-after-files=N     answers every call with an I/O error once it has flushed N files
//   dies-in=FILE@OFFSET    fails the write that reaches OFFSET of FILE with an I/O error, and every
//                          call after it: a stick that dies inside a file
//   root-delay-ms=N        each look at the root takes that long: a failing stick, or a card
//                          reader that hangs
//   read-only=1            a locked card or a worn stick gone read-only: nothing can be changed
//
//   kq_corrupting_drive BACKING MOUNTPOINT LOG [NAME=VALUE ...]
//
// It runs in the foreground until `fusermount3 -u MOUNTPOINT`; the mount goes with it if it dies.
#define FUSE_USE_VERSION 31
#include <dirent.h>
#include <fcntl.h>
#include <fuse.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Drive {
  int backing = -1;
  std::string victim;
  int flushDelayMs = 0;
  int writeDelayMs = 0;
  int rootDelayMs = 0;
  FILE* log = nullptr;
  std::uint64_t freeClusters = 0;   // 0: the backing folder's own room
  unsigned long fullFromWrite = 0;  // 0: never full
  unsigned long writes = 0;
  unsigned long diesAfterFlushes = 0;  // 0: never fails
  unsigned long flushes = 0;
  std::string diesInFile;
  off_t diesAtOffset = 0;
  bool readOnly = false;
  bool dead = false;
};

constexpr std::uint64_t kCluster = 4096;

Drive& Self() { return *static_cast<Drive*>(fuse_get_context()->private_data); }

// Paths come as "/name"; the backing folder is opened once and everything is relative to it.
std::string Relative(const char* path) { return path[1] ? path + 1 : "."; }

void Note(const char* step, const char* path) {
  std::fprintf(Self().log, "%s %s\n", step, Relative(path).c_str());
  std::fflush(Self().log);
}

int Result(int outcome) { return outcome < 0 ? -errno : 0; }

int GetAttr(const char* path, struct stat* status, fuse_file_info*) {
  if (Relative(path) == ".")
    std::this_thread::sleep_for(std::chrono::milliseconds(Self().rootDelayMs));
  return Result(fstatat(Self().backing, Relative(path).c_str(), status, AT_SYMLINK_NOFOLLOW));
}

int ReadDir(const char* path, void* buffer, fuse_fill_dir_t fill, off_t, fuse_file_info*,
            fuse_readdir_flags) {
  const int fd = openat(Self().backing, Relative(path).c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return -errno;
  DIR* dir = fdopendir(fd);
  while (const dirent* entry = readdir(dir)) fill(buffer, entry->d_name, nullptr, 0, {});
  closedir(dir);
  return 0;
}

int Open(const char* path, fuse_file_info* info) {
  if (info->flags & (O_WRONLY | O_RDWR)) Note("open-write", path);
  if (info->flags & O_TRUNC) Note("truncate", path);
  const int fd = openat(Self().backing, Relative(path).c_str(), info->flags & ~O_DIRECT);
  if (fd < 0) return -errno;
  info->fh = static_cast<std::uint64_t>(fd);
  info->direct_io = 1;
  return 0;
}

int Create(const char* path, mode_t mode, fuse_file_info* info) {
  Note("create", path);
  const int fd =
      openat(Self().backing, Relative(path).c_str(), (info->flags & ~O_DIRECT) | O_CREAT, mode);
  if (fd < 0) return -errno;
  info->fh = static_cast<std::uint64_t>(fd);
  info->direct_io = 1;
  return 0;
}

int Read(const char* path, char* buffer, size_t size, off_t offset, fuse_file_info* info) {
  Note("read", path);
  const ssize_t got = pread(static_cast<int>(info->fh), buffer, size, offset);
  return got < 0 ? -errno : static_cast<int>(got);
}

int Write(const char* path, const char* buffer, size_t size, off_t offset, fuse_file_info* info) {
  std::this_thread::sleep_for(std::chrono::milliseconds(Self().writeDelayMs));
  Note("write", path);
  if (Self().fullFromWrite && ++Self().writes >= Self().fullFromWrite) return -ENOSPC;
  if (Relative(path) == Self().diesInFile &&
      offset + static_cast<off_t>(size) > Self().diesAtOffset) {
    Self().dead = true;
    return -EIO;
  }
  std::vector<char> bytes(buffer, buffer + size);
  // Reported as written whole, stored with one byte changed: no length or error gives it away.
  if (Relative(path) == Self().victim && size > 0) bytes[size / 2] ^= 0x5A;
  const ssize_t put = pwrite(static_cast<int>(info->fh), bytes.data(), size, offset);
  return put < 0 ? -errno : static_cast<int>(put);
}

int FSync(const char* path, int, fuse_file_info* info) {
  std::this_thread::sleep_for(std::chrono::milliseconds(Self().flushDelayMs));
  Note("fsync", path);
  const int outcome = Result(fsync(static_cast<int>(info->fh)));
  if (++Self().flushes == Self().diesAfterFlushes) Self().dead = true;
  return outcome;
}

int Release(const char*, fuse_file_info* info) { return Result(close(static_cast<int>(info->fh))); }

int Truncate(const char* path, off_t size, fuse_file_info* info) {
  Note("truncate", path);
  if (info) return Result(ftruncate(static_cast<int>(info->fh), size));
  const int fd = openat(Self().backing, Relative(path).c_str(), O_WRONLY);
  if (fd < 0) return -errno;
  const int outcome = Result(ftruncate(fd, size));
  close(fd);
  return outcome;
}

int Unlink(const char* path) {
  Note("unlink", path);
  return Result(unlinkat(Self().backing, Relative(path).c_str(), 0));
}

int MkDir(const char* path, mode_t mode) {
  Note("mkdir", path);
  return Result(mkdirat(Self().backing, Relative(path).c_str(), mode));
}

int RmDir(const char* path) {
  Note("rmdir", path);
  return Result(unlinkat(Self().backing, Relative(path).c_str(), AT_REMOVEDIR));
}

int Rename(const char* from, const char* to, unsigned int flags) {
  Note("rename", from);
  if (flags) return -EINVAL;
  return Result(
      renameat(Self().backing, Relative(from).c_str(), Self().backing, Relative(to).c_str()));
}

int ChMod(const char* path, mode_t mode, fuse_file_info*) {
  Note("chmod", path);
  return Result(fchmodat(Self().backing, Relative(path).c_str(), mode, 0));
}

int ChOwn(const char* path, uid_t owner, gid_t group, fuse_file_info*) {
  Note("chown", path);
  return Result(
      fchownat(Self().backing, Relative(path).c_str(), owner, group, AT_SYMLINK_NOFOLLOW));
}

int UTimens(const char* path, const timespec times[2], fuse_file_info* info) {
  Note("utimens", path);
  if (info) return Result(futimens(static_cast<int>(info->fh), times));
  return Result(utimensat(Self().backing, Relative(path).c_str(), times, AT_SYMLINK_NOFOLLOW));
}

int StatFs(const char*, struct statvfs* status) {
  if (fstatvfs(Self().backing, status) != 0) return -errno;
  if (!Self().freeClusters) return 0;
  status->f_blocks = status->f_blocks * status->f_frsize / kCluster;
  status->f_bsize = status->f_frsize = kCluster;
  status->f_bfree = status->f_bavail = Self().freeClusters;
  return 0;
}

// A dead drive stays mounted but answers nothing, and notes each call it refuses; a file handle
// it gave out is still let go.
template <auto Operation>
constexpr auto UntilDead = [](const char* path, auto... rest) {
  if (!Self().dead) return Operation(path, rest...);
  Note("refused", path);
  return -EIO;
};

// Reads NAME=VALUE options into the drive; false on one it does not know.
bool ReadOption(Drive& drive, const std::string& option) {
  const std::size_t equals = option.find('=');
  const std::string name = option.substr(0, equals);
  const std::string value = equals == std::string::npos ? "" : option.substr(equals + 1);
  const auto number = [&value] { return std::strtoull(value.c_str(), nullptr, 10); };
  if (name == "victim")
    drive.victim = value;
  else if (name == "flush-delay-ms")
    drive.flushDelayMs = static_cast<int>(number());
  else if (name == "write-delay-ms")
    drive.writeDelayMs = static_cast<int>(number());
  else if (name == "root-delay-ms")
    drive.rootDelayMs = static_cast<int>(number());
  else if (name == "free")
    drive.freeClusters = number() / kCluster;
  else if (name == "full-from-write")
    drive.fullFromWrite = number();
  else if (name == "dies-after-files")
    drive.diesAfterFlushes = number();
  else if (name == "read-only")
    drive.readOnly = value == "1";
  else if (name == "dies-in" && value.find('@') != std::string::npos) {
    drive.diesInFile = value.substr(0, value.find('@'));
    drive.diesAtOffset =
        static_cast<off_t>(std::strtoull(value.c_str() + value.find('@') + 1, nullptr, 10));
  } else
    return false;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Drive drive;
  bool understood = argc >= 4;
  for (int i = 4; i < argc && understood; ++i) understood = ReadOption(drive, argv[i]);
  if (!understood) {
    std::fprintf(stderr, "usage: %s BACKING MOUNTPOINT LOG [NAME=VALUE ...]\n", argv[0]);
    return 64;
  }
  drive.backing = open(argv[1], O_RDONLY | O_DIRECTORY);
  drive.log = std::fopen(argv[3], "a");
  if (drive.backing < 0 || !drive.log) {
    std::perror(argv[0]);
    return 1;
  }
  fuse_operations operations{};
  operations.getattr = UntilDead<GetAttr>;
  operations.readdir = UntilDead<ReadDir>;
  operations.open = UntilDead<Open>;
  operations.create = UntilDead<Create>;
  operations.read = UntilDead<Read>;
  operations.write = UntilDead<Write>;
  operations.fsync = UntilDead<FSync>;
  operations.release = Release;
  operations.truncate = UntilDead<Truncate>;
  operations.unlink = UntilDead<Unlink>;
  operations.mkdir = UntilDead<MkDir>;
  operations.rmdir = UntilDead<RmDir>;
  operations.rename = UntilDead<Rename>;
  operations.chmod = UntilDead<ChMod>;
  operations.chown = UntilDead<ChOwn>;
  operations.utimens = UntilDead<UTimens>;
  operations.statfs = UntilDead<StatFs>;
  // In the foreground; auto_unmount also makes an unprivileged mount go through fusermount3.
  // Read-only, the kernel refuses every change before it reaches us. Single-threaded, so that the
  // counts and the log keep their order, but for a slow root: there every look, from whichever
  // program, takes its own seconds rather than the sum of all those queued before it.
  std::string options = drive.readOnly ? "auto_unmount,ro" : "auto_unmount";
  std::vector<char*> arguments = {argv[0], argv[2], const_cast<char*>("-f"),
                                  const_cast<char*>("-o"), options.data()};
  if (!drive.rootDelayMs) arguments.push_back(const_cast<char*>("-s"));
  return fuse_main(static_cast<int>(arguments.size()), arguments.data(), &operations, &drive);
}
