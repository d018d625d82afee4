#pragma once

#include <string>
#include <vector>

#include "base/texts.h"
#include "drives/drive_strings.h"
#include "widgets/color.h"

inline constexpr unsigned kDriveRemovable = 2;

// The system's view of its drives. Any of its questions may wait on a drive for as long as the
// drive takes to answer, so it is asked off the window's thread, from several threads at once.
class DriveSource {
 public:
  virtual ~DriveSource() = default;
  virtual std::vector<std::string> DriveRoots() = 0;
  virtual unsigned DriveType(const std::string& root) = 0;
  // Whether the drive's root folder can be read: an empty card slot's cannot.
  virtual bool RootAnswers(const std::string& root) = 0;
};

// The window's side of a poll: the drive list, the prompt and the write button.
class DrivePollView {
 public:
  virtual ~DrivePollView() = default;
  virtual int EntryCount() const = 0;
  virtual std::string Entry(int index) const = 0;
  // Raises UnableToInsertLine when the list refuses the entry.
  virtual void AppendEntry(const std::string& root) = 0;
  virtual int SelectedIndex() const = 0;
  virtual void Select(int index) = 0;
  virtual void SetListVisible(bool visible) = 0;
  virtual void SetWriteEnabled(bool enabled) = 0;
  virtual void SetPrompt(const std::string& caption, TColor fontColor) = 0;
};

// The drive roots the list holds, in its order.
std::vector<std::string> ListedRoots(const DrivePollView& view);

// Appends the drives found, in the order given, that the list does not hold yet.
void ListFoundDrives(const std::vector<std::string>& roots, DrivePollView& view);

// Brings the prompt, the list and the write button into line with whether anything is listed.
void ShowListState(DrivePollView& view);
