#pragma once

#include <string>

#include "base/notice.h"
#include "firmware/stick_check.h"

// The one box that closes a check of the stick at root. version is the tool's, major.minor; a
// build that carries stand-ins says under an all-clear that the stick holds no firmware.
Notice StickCheckReport(const StickCheck& check, const std::string& root,
                        const std::string& version, bool standIns);
