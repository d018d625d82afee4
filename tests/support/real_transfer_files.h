#pragma once

// The file steps the transfer runs on for real on this platform.
#ifdef _WIN32
#include "firmware/transfer_files_win.h"
using RealTransferFiles = WinTransferFiles;
#else
#include "support/std_transfer_files.h"
using RealTransferFiles = StdTransferFiles;
#endif
