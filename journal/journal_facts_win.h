#pragma once

#include <optional>
#include <string>

#include "journal/journal_block.h"

// What every heading says of the tool itself: its version, whether it carries stand-ins, and the
// fingerprint of the set it carries. Told once at start, before the first block is made.
struct ToolIdentity {
  std::string version;
  bool standIns = false;
  std::string setSha256;
};
void IdentifyTool(ToolIdentity identity);

// The facts of the tool and the system that head a journal block, taken now.
JournalHeading GatherHeading();

// What the drive's volume says of itself; nothing when it does not answer (it has gone).
std::optional<DriveFacts> GatherDriveFacts(const std::string& root);

// Adds the block to the tool's journal with the user's profile folder written as %USERPROFILE%,
// and his Desktop, Documents, Downloads, Temp and AppData folders where they lie outside it as
// %DESKTOP%, %DOCUMENTS%, %DOWNLOADS%, %TEMP% and %APPDATA%, each in its long and its short form,
// wherever the block mentions it, box texts included.
void AddToJournal(const std::string& block);

// The local time now and its distance from UTC.
LocalTime LocalTimeNow();
