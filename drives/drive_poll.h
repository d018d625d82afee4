#pragma once

#include <string>

#include "base/texts.h"
#include "drives/drive_strings.h"
#include "widgets/color.h"

inline constexpr unsigned kDriveRemovable = 2;

// The system's view of its drives.
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

// One tick: lists removable drives not seen before whose root can be read (never A: or B:),
// then brings the prompt, the list and the write button into line with whether anything is
// listed.
void PollDrives(DriveSource& drives, DrivePollView& view);
