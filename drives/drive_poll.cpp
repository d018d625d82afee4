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

void PollDrives(DriveSource& drives, DrivePollView& view) {
  for (const std::string& root : drives.DriveRoots()) {
    // The floppy letters are left alone: touching an empty floppy drive stalls the system.
    if (root == "A:\\" || root == "B:\\") continue;
    // A drive once listed stays listed, and is not asked again.
    if (IsListed(view, root)) continue;
    if (drives.DriveType(root) != kDriveRemovable) continue;
    // An empty card slot is a removable drive too; listed first and selected, it would take the
    // write meant for the stick plugged in after it. It is asked again at the next tick.
    if (!drives.RootAnswers(root)) continue;
    view.AppendEntry(root);
  }

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
