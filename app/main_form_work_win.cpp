#include "app/main_form_win.h"

#include "base/text_win.h"
#include "base/texts.h"

void TForm1::StartWriting(WorkerJob job, std::uint64_t setBytes) {
  worker_.Start(window_, std::move(job));
  runState_.StartWriting();
  // Until the run is over the system asks before it ends the session, and shows why.
  ShutdownBlockReasonCreate(window_, Widen(kShutdownBlockReason).c_str());
  progress_.Start(2 * setBytes);
  RefreshCursor();
}

// A check writes nothing: the session may end under it.
void TForm1::StartChecking(WorkerJob job, std::uint64_t setBytes) {
  worker_.Start(window_, std::move(job));
  runState_.StartChecking();
  progress_.Start(setBytes);
  RefreshCursor();
}

// Posted messages leave the queue ahead of input, so input given while the files were written
// can still wait behind the run's end. It goes now, judged as during the writing, before the
// first box could take it: a key meant for the window must not close a box unseen.
void TForm1::DropInputQueuedDuringTheRun() {
  MSG message;
  while (PeekMessageW(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE) ||
         PeekMessageW(&message, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
    Route(message);
  }
}

// Only a run that went well leaves no error on the taskbar button.
void TForm1::FinishWork(LPARAM carried) {
  DropInputQueuedDuringTheRun();
  const WorkReport report = Worker::Finish(carried);
  if (runState_.Phase() == RunPhase::kWriting) ShutdownBlockReasonDestroy(window_);
  runState_.StartReporting();
  RefreshCursor();
  progress_.Finish(report.succeeded);
  report.showBoxes();
  // Closed while a box was up: the program ends.
  if (!window_) return;
  progress_.Dismissed();
  if (runState_.FinishReporting()) SendMessageW(window_, WM_CLOSE, 0, 0);
}

// The system asks for the pointer's shape only when the pointer moves; a new phase of the run
// shows under a pointer at rest too.
void TForm1::RefreshCursor() {
  POINT at;
  if (!GetCursorPos(&at)) return;
  const HWND under = WindowFromPoint(at);
  if (under != window_ && !IsChild(window_, under)) return;
  const LRESULT hit = SendMessageW(window_, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y));
  SendMessageW(window_, WM_SETCURSOR, reinterpret_cast<WPARAM>(window_),
               MAKELPARAM(hit, WM_MOUSEMOVE));
}
