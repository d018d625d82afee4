#pragma once

#include <optional>
#include <string>

#include "app/journal_block.h"

// The facts of the tool and the system that head a journal block, taken now.
JournalHeading GatherHeading();

// What the drive's volume says of itself; nothing when it does not answer (it has gone).
std::optional<DriveFacts> GatherDriveFacts(const std::string& root);

// The path with the user's profile folder written as %USERPROFILE%.
std::string ForJournal(const std::string& path);

// The local time now and its distance from UTC.
LocalTime LocalTimeNow();
