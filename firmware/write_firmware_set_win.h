#pragma once

// Writes the firmware set to the drive selected in the main window and reports the outcome.
void WriteFirmwareSet();
