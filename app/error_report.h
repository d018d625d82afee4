#pragma once

#include <string>

#include "app/notice.h"

// The box that shows a failure no handler caught, captioned with the application title.
Notice DefaultErrorReport(const std::string& failureMessage);
