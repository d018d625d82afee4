#pragma once

#include "app/notice.h"

inline constexpr char kChangeLogPayload[] = "Changes";
inline constexpr char kChangeLogFileName[] = "Changes.pdf";
// The folder in the user's temporary folder that holds the document when the tool runs from a
// removable drive.
inline constexpr char kChangeLogTemporaryFolder[] = "KQ";

// Shown when the document cannot be written, mostly because a viewer still holds it open, or
// when no program opens it.
Notice ChangeLogUnavailable();
