#pragma once

#include <string>
#include <vector>

#include "app/notice.h"

// The boxes that close a write run, in the order they are shown.
std::vector<Notice> FirmwareRunReport(int copiedCount, const std::string& driveRoot);
