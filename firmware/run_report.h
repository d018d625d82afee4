#pragma once

#include <string>
#include <vector>

#include "app/notice.h"

// The boxes that close a write run, in the order they are shown; intactCount is how many files
// read back from the drive exactly as written.
std::vector<Notice> FirmwareRunReport(int intactCount, const std::string& driveRoot);
