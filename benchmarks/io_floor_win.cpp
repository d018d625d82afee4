// The least a write run's file work can cost on a given drive folder: the run's own I/O
// pattern done by a program that does nothing else, and two references beside it.
//
//   kq_io_floor PAYLOAD_DIR DRIVE_DIR run   - per payload: stage next to this program, delete
//                                            the destination, copy, flush the copy, delete the
//                                            staging file; then read the whole set back past
//                                            the cache with one aligned buffer and compare;
//                                            then show the success box
//   kq_io_floor PAYLOAD_DIR DRIVE_DIR copy  - a plain copy of the 30 files, nothing else
//   kq_io_floor PAYLOAD_DIR DRIVE_DIR read  - one sequential read of the whole set's bytes,
//                                            as one file, the way the set is read back
//   kq_io_floor PAYLOAD_DIR DRIVE_DIR readbox - the same read, then a box with the information
//                                            icon, as a check of a stick ends
//   kq_io_floor PAYLOAD_DIR DRIVE_DIR room  - the tool's own room check for a run to that
//                                            drive (its listing of the root, the two room
//                                            queries and the walk), made 20 times
//   kq_io_floor - - poll                    - the tool's own look at the drives, 200 times, from
//                                            its start to what it found handed on, each letter
//                                            asked on a thread of its own as in the tool
//
// PAYLOAD_DIR holds the payloads under their payload names; they are loaded before the clock
// starts. Figures are "key=value" lines, milliseconds (the poll's in microseconds).
#include <windows.h>

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "base/failure.h"
#include "base/text_win.h"
#include "base/unwaited_thread_win.h"
#include "drives/drive_source_win.h"
#include "firmware/catalogue.h"
#include "firmware/transfer.h"
#include "firmware/transfer_files_win.h"

namespace {

constexpr DWORD kReadBuffer = 256 * 1024;

struct Payload {
  std::wstring fileName;
  std::vector<char> bytes;
};

class Clock {
 public:
  Clock() { QueryPerformanceFrequency(&frequency_); }
  double NowMs() const {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency_.QuadPart);
  }

 private:
  LARGE_INTEGER frequency_;
};

void Say(const std::string& key, double value) {
  char line[96];
  const int length = snprintf(line, sizeof(line), "%s=%.1f\n", key.c_str(), value);
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line, static_cast<DWORD>(length), &written, nullptr);
}

std::wstring Wide(const char* ascii) { return std::wstring(ascii, ascii + strlen(ascii)); }

std::vector<char> ReadWhole(const std::wstring& path) {
  HANDLE file =
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) ExitProcess(2);
  std::vector<char> bytes(GetFileSize(file, nullptr));
  DWORD got = 0;
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  CloseHandle(file);
  return bytes;
}

void WriteWhole(const std::wstring& path, const char* bytes, size_t size) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            0, nullptr);
  if (file == INVALID_HANDLE_VALUE) ExitProcess(3);
  DWORD written = 0;
  WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr);
  CloseHandle(file);
}

void Flush(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  FlushFileBuffers(file);
  CloseHandle(file);
}

// Reads a file past the cache into one aligned buffer and compares it with what it must hold.
bool ReadBack(const std::wstring& path, const char* expected, size_t size, char* buffer) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_FLAG_NO_BUFFERING | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  size_t at = 0;
  bool same = true;
  for (DWORD got = 0; same && ReadFile(file, buffer, kReadBuffer, &got, nullptr) && got > 0;
       at += got) {
    same = at + got <= size && memcmp(buffer, expected + at, got) == 0;
  }
  CloseHandle(file);
  return same && at == size;
}

// The boxes a successful run ends with.
struct BoxText {
  const wchar_t* caption;
  const wchar_t* text;
  UINT flags;
};
constexpr BoxText kSuccessBox{L"Процесс завершен", L"Файлы прошивки успешно сохранены на \"E:\\\"",
                              MB_OK};
constexpr BoxText kCheckBox{L"Проверка USB-Flash",
                            L"На \"E:\\\" все 30 файлов прошивки совпадают с эталоном.",
                            MB_OK | MB_ICONINFORMATION};
constexpr BoxText kWarningBox{L"Предупреждение",
                              L"ВНИМАНИЕ! Перед прошивкой рекомендуется отключить от терминала все "
                              L"подключенные кабели и устройства, кроме адаптера питания!",
                              MB_OK | MB_ICONWARNING};

// A box of the run. From the moment it is made, a thread of its own looks for the box every
// millisecond, as the probe looks for the tool's from the click on, and closes it once seen.
class WatchedBox {
 public:
  WatchedBox(const Clock& clock, const BoxText& box)
      : box_(box), watcher_([this, &clock] {
          HWND shown = nullptr;
          while (!(shown = FindWindowW(L"#32770", box_.caption)) || !IsWindowVisible(shown))
            Sleep(1);
          shownMs_ = clock.NowMs();
          PostMessageW(shown, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }) {}

  // Shows the box and gives the moment it was seen on screen.
  double Show() {
    MessageBoxW(nullptr, box_.text, box_.caption, box_.flags);
    watcher_.join();
    return shownMs_;
  }

 private:
  const BoxText& box_;
  double shownMs_ = 0;
  std::thread watcher_;
};

// The loaded payloads, in catalogue order, for the tool's own code to read.
class LoadedPayloads : public PayloadSource {
 public:
  explicit LoadedPayloads(const std::vector<Payload>& set) : set_(set) {}
  std::span<const std::uint8_t> Open(const std::string& payloadName) const override {
    for (std::size_t i = 0; i < set_.size(); ++i) {
      if (payloadName == kFirmwareCatalogue[i].payloadName)
        return {reinterpret_cast<const std::uint8_t*>(set_[i].bytes.data()), set_[i].bytes.size()};
    }
    throw ResourceNotFound(payloadName);
  }

 private:
  const std::vector<Payload>& set_;
};

// As the tool looks at its drives, with the error mode it sets at start. Nothing is taken as
// listed, so each look finds the stick again and hands it on; the pause after each lets the
// look's threads end before the next.
int TimePolls() {
  SetErrorMode(SEM_FAILCRITICALERRORS);
  const Clock clock;
  std::mutex mutex;
  std::condition_variable handedOn;
  std::optional<DriveFindings> found;
  DriveWatch watch(
      std::make_shared<WinDriveSource>(),
      [&](DriveFindings findings) {
        const std::lock_guard lock(mutex);
        found = std::move(findings);
        handedOn.notify_all();
      },
      StartUnwaitedThread);
  std::vector<double> times;
  std::size_t listed = 0;
  for (int i = 0; i < 200; ++i) {
    std::unique_lock lock(mutex);
    found.reset();
    const double started = clock.NowMs();
    watch.Look({});
    if (!handedOn.wait_for(lock, std::chrono::seconds(5), [&] { return found.has_value(); }))
      return 3;
    times.push_back(clock.NowMs() - started);
    listed = found->roots.size();
    lock.unlock();
    Sleep(20);
  }
  std::sort(times.begin(), times.end());
  Say("poll_listed", static_cast<double>(listed));
  Say("poll_us", 1000 * times[times.size() / 2]);
  Say("poll_max_us", 1000 * times.back());
  return 0;
}

std::wstring ExecutableDir() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir(path, length);
  return dir.substr(0, dir.find_last_of(L'\\') + 1);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) return 64;
  if (std::wstring(argv[3]) == L"poll") return TimePolls();
  const std::wstring payloadDir = std::wstring(argv[1]) + L"\\";
  const std::wstring drive = std::wstring(argv[2]) + L"\\";
  const std::wstring mode = argv[3];
  const std::wstring staging = ExecutableDir();
  std::vector<Payload> set;
  for (const CatalogueEntry& entry : kFirmwareCatalogue)
    set.push_back({Wide(entry.fileName), ReadWhole(payloadDir + Wide(entry.payloadName))});
  char* buffer = static_cast<char*>(
      VirtualAlloc(nullptr, kReadBuffer, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  const Clock clock;

  if (mode == L"run") {
    // The tool's boxes come after those of its earlier runs: what a first box and a box with
    // an icon load (its libraries, fonts, icon, sound) is loaded.
    WatchedBox(clock, kSuccessBox).Show();
    WatchedBox(clock, kWarningBox).Show();
    WatchedBox box(clock, kSuccessBox);
    const double started = clock.NowMs();
    for (const Payload& payload : set) {
      WriteWhole(staging + payload.fileName, payload.bytes.data(), payload.bytes.size());
      DeleteFileW((drive + payload.fileName).c_str());
      CopyFileW((staging + payload.fileName).c_str(), (drive + payload.fileName).c_str(), FALSE);
      Flush(drive + payload.fileName);
      DeleteFileW((staging + payload.fileName).c_str());
    }
    const double written = clock.NowMs();
    int intact = 0;
    for (const Payload& payload : set) {
      intact +=
          ReadBack(drive + payload.fileName, payload.bytes.data(), payload.bytes.size(), buffer);
    }
    const double done = clock.NowMs();
    const double shown = box.Show();
    Say("total_ms", done - started);
    Say("readback_ms", done - written);
    Say("boxed_ms", shown - started);
    Say("intact", intact);
  } else if (mode == L"copy") {
    for (const Payload& payload : set)
      WriteWhole(staging + payload.fileName, payload.bytes.data(), payload.bytes.size());
    const double started = clock.NowMs();
    for (const Payload& payload : set)
      CopyFileW((staging + payload.fileName).c_str(), (drive + payload.fileName).c_str(), FALSE);
    Say("copy_ms", clock.NowMs() - started);
    for (const Payload& payload : set) DeleteFileW((staging + payload.fileName).c_str());
  } else if (mode == L"read" || mode == L"readbox") {
    std::vector<char> whole;
    for (const Payload& payload : set)
      whole.insert(whole.end(), payload.bytes.begin(), payload.bytes.end());
    const std::wstring path = drive + L"kq-sequential.bin";
    WriteWhole(path, whole.data(), whole.size());
    Flush(path);
    // As in a run, what a first box with an icon loads is loaded before the clock starts.
    std::optional<WatchedBox> box;
    if (mode == L"readbox") {
      WatchedBox(clock, kCheckBox).Show();
      box.emplace(clock, kCheckBox);
    }
    const double started = clock.NowMs();
    const bool same = ReadBack(path, whole.data(), whole.size(), buffer);
    Say("read_ms", clock.NowMs() - started);
    if (box) Say("boxed_ms", box->Show() - started);
    Say("bytes", same ? static_cast<double>(whole.size()) : 0.0);
    DeleteFileW(path.c_str());
  } else if (mode == L"room") {
    const LoadedPayloads payloads(set);
    WinTransferFiles files;
    std::vector<double> times;
    for (int i = 0; i < 20; ++i) {
      const double started = clock.NowMs();
      SetTransfer(payloads, files, {Narrow(staging), Narrow(drive)}, SteadyRunClock()).Survey();
      times.push_back(clock.NowMs() - started);
    }
    Say("room_first_ms", times.front());
    std::sort(times.begin(), times.end());
    Say("room_ms", times[times.size() / 2]);
  } else {
    return 64;
  }
  VirtualFree(buffer, 0, MEM_RELEASE);
  return 0;
}
