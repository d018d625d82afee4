#pragma once

// Starts checking the stick selected in the main window, on the window's worker: the box that
// closes the check, shown when it ends, says whether the stick holds the exact set.
void CheckSelectedStick();
