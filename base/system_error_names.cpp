#include "base/system_error_names.h"

#include <algorithm>
#include <iterator>

namespace {

struct NamedError {
  std::uint32_t number;
  const char* name;
};

// The errors a run's or a check's file steps can meet on a stick, a share or the PC's own disk.
constexpr NamedError kNamedErrors[] = {
    {kErrorFileNotFound, "ERROR_FILE_NOT_FOUND"},
    {kErrorPathNotFound, "ERROR_PATH_NOT_FOUND"},
    {kErrorAccessDenied, "ERROR_ACCESS_DENIED"},
    {6, "ERROR_INVALID_HANDLE"},
    {8, "ERROR_NOT_ENOUGH_MEMORY"},
    {kErrorInvalidDrive, "ERROR_INVALID_DRIVE"},
    {kErrorWriteProtect, "ERROR_WRITE_PROTECT"},
    {kErrorNotReady, "ERROR_NOT_READY"},
    {23, "ERROR_CRC"},
    {25, "ERROR_SEEK"},
    {27, "ERROR_SECTOR_NOT_FOUND"},
    {29, "ERROR_WRITE_FAULT"},
    {30, "ERROR_READ_FAULT"},
    {31, "ERROR_GEN_FAILURE"},
    {kErrorSharingViolation, "ERROR_SHARING_VIOLATION"},
    {kErrorLockViolation, "ERROR_LOCK_VIOLATION"},
    {38, "ERROR_HANDLE_EOF"},
    {kErrorHandleDiskFull, "ERROR_HANDLE_DISK_FULL"},
    {50, "ERROR_NOT_SUPPORTED"},
    {kErrorBadNetPath, "ERROR_BAD_NETPATH"},
    {kErrorDevNotExist, "ERROR_DEV_NOT_EXIST"},
    {59, "ERROR_UNEXP_NET_ERR"},
    {64, "ERROR_NETNAME_DELETED"},
    {kErrorBadNetName, "ERROR_BAD_NET_NAME"},
    {kErrorFileExists, "ERROR_FILE_EXISTS"},
    {87, "ERROR_INVALID_PARAMETER"},
    {kErrorDiskFull, "ERROR_DISK_FULL"},
    {123, "ERROR_INVALID_NAME"},
    {kErrorAlreadyExists, "ERROR_ALREADY_EXISTS"},
    {206, "ERROR_FILENAME_EXCED_RANGE"},
    {223, "ERROR_FILE_TOO_LARGE"},
    {225, "ERROR_VIRUS_INFECTED"},
    {226, "ERROR_VIRUS_DELETED"},
    {303, "ERROR_DELETE_PENDING"},
    {1005, "ERROR_UNRECOGNIZED_VOLUME"},
    {1110, "ERROR_MEDIA_CHANGED"},
    {kErrorNoMediaInDrive, "ERROR_NO_MEDIA_IN_DRIVE"},
    {1117, "ERROR_IO_DEVICE"},
    {1167, "ERROR_DEVICE_NOT_CONNECTED"},
    {1392, "ERROR_FILE_CORRUPT"},
    {1393, "ERROR_DISK_CORRUPT"},
    {1450, "ERROR_NO_SYSTEM_RESOURCES"},
    {1617, "ERROR_DEVICE_REMOVED"},
    {6000, "ERROR_ENCRYPTION_FAILED"},
};

}  // namespace

std::string SystemErrorName(std::uint32_t error) {
  const auto* known =
      std::find_if(std::begin(kNamedErrors), std::end(kNamedErrors),
                   [error](const NamedError& named) { return named.number == error; });
  const std::string number = std::to_string(error);
  return known == std::end(kNamedErrors) ? number : std::string(known->name) + " (" + number + ")";
}
