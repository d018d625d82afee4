#include "app/taskbar_progress_win.h"

#include <shobjidl.h>

void TaskbarButtonProgress::Release::operator()(ITaskbarList3* taskbar) const {
  taskbar->Release();
}

void TaskbarButtonProgress::Attach(HWND button) {
  taskbar_.reset();
  ITaskbarList3* created = nullptr;
  if (FAILED(CoCreateInstance(__uuidof(TaskbarList), nullptr, CLSCTX_INPROC_SERVER,
                              IID_PPV_ARGS(&created))))
    return;
  taskbar_.reset(created);
  if (FAILED(taskbar_->HrInit())) {
    taskbar_.reset();
    return;
  }
  button_ = button;
}

void TaskbarButtonProgress::SetState(ProgressState state) {
  if (!taskbar_) return;
  const TBPFLAG flag = state == ProgressState::kNormal  ? TBPF_NORMAL
                       : state == ProgressState::kError ? TBPF_ERROR
                                                        : TBPF_NOPROGRESS;
  taskbar_->SetProgressState(button_, flag);
}

void TaskbarButtonProgress::SetValue(std::uint64_t completed, std::uint64_t total) {
  if (taskbar_) taskbar_->SetProgressValue(button_, completed, total);
}
