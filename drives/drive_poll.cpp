#include "drives/drive_poll.h"

#include "base/ascii_case.h"

namespace {

bool IsListed(const DrivePollView& view, const std::string& root) {
  for (int i = 0; i < view.EntryCount(); ++i) {
    if (SameIgnoringAsciiCase(view.Entry(i), root)) return true;
  }
  return false;
}

}  // namespace

std::vector<std::string> ListedRoots(const DrivePollView& view) {
  std::vector<std::string> roots;
  for (int i = 0; i < view.EntryCount(); ++i) roots.push_back(view.Entry(i));
  return roots;
}

// The list only grows: a drive once listed stays, also when it has gone.
void ListFoundDrives(const std::vector<std::string>& roots, DrivePollView& view) {
  for (const std::string& root : roots) {
    if (!IsListed(view, root)) view.AppendEntry(root);
  }
}

void ShowListState(DrivePollView& view) {
  if (view.EntryCount() == 0) {
    view.SetWriteEnabled(false);
    view.SetPrompt(kPromptConnect, clRed);
    view.SetListVisible(false);
  } else {
    if (view.SelectedIndex() == -1) view.Select(0);
    view.SetWriteEnabled(true);
    view.SetPrompt(kPromptSelect, clBlack);
    view.SetListVisible(true);
  }
}
