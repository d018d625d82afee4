#pragma once

#include <exception>
#include <string>

#include "base/notice.h"

// The box that shows a failure no handler caught, captioned with the application title.
Notice DefaultErrorReport(const std::string& failureMessage);

// The box that shows a failure no handler caught: the default error report, but its own error
// box for a damaged program file.
Notice FailureReport(const std::exception& failure);
