#pragma once

// Starts writing the firmware set to the drive selected in the main window, on the window's
// worker; the boxes that close the run are shown when it ends.
void WriteFirmwareSet();
