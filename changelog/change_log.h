#pragma once

#include "base/notice.h"

inline constexpr char kChangeLogPayload[] = "Changes";
inline constexpr char kChangeLogFileName[] = "Changes.pdf";

// Shown when the document cannot be written, mostly because a viewer still holds it open, or
// when no program opens it.
Notice ChangeLogUnavailable();
