#pragma once

#include "firmware/run_report.h"

// Starts writing the firmware set to the drive selected in the main window; the main window
// hears of the run's end and hands its outcome to ReportFirmwareSet.
void WriteFirmwareSet();

// Shows how a write run ended, in the boxes that close it, and enables the write button again.
void ReportFirmwareSet(const FirmwareRunOutcome& outcome);
