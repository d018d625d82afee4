#include "base/unwaited_thread_win.h"

#include <windows.h>

#include <process.h>

#include <memory>

#include "base/failure.h"
#include "base/text_win.h"

namespace {

unsigned __stdcall RunWork(void* carried) {
  const std::unique_ptr<std::function<void()>> work(static_cast<std::function<void()>*>(carried));
  (*work)();
  return 0;
}

}  // namespace

// The system's own thread calls rather than std::thread: a thread of the C++ library left to end
// by itself (detached) does not stand being started and ended many times a minute under the
// POSIX thread layer MinGW builds it on, which hands a thread's record to the next while the
// first still runs.
void StartUnwaitedThread(std::function<void()> work) {
  auto carried = std::make_unique<std::function<void()>>(std::move(work));
  const std::uintptr_t thread = _beginthreadex(nullptr, 0, RunWork, carried.get(), 0, nullptr);
  if (!thread) throw ErrorCreating("thread", SystemErrorText(GetLastError()));
  carried.release();
  CloseHandle(reinterpret_cast<HANDLE>(thread));
}
