#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

// A failure that abandons the event handler it happens in. Its message is one of the tool's
// fixed failure texts; the default error report shows it to the operator. A failure of a system
// call keeps the system's error number, which the text may not show.
class Failure : public std::runtime_error {
 public:
  explicit Failure(const std::string& message, std::uint32_t systemError = 0)
      : std::runtime_error(message), systemError_(systemError) {}
  std::uint32_t SystemError() const { return systemError_; }

 private:
  std::uint32_t systemError_;
};

// The program's own file is not what was built. Reported in an error box of its own rather than
// in the default error report; the message is the box's text.
class DamagedProgramFile : public Failure {
 public:
  using Failure::Failure;
};

Failure ResourceNotFound(const std::string& payloadName);
Failure CannotCreateFile(const std::string& path, const std::string& systemErrorText,
                         std::uint32_t systemError = 0);
Failure StreamWriteError(std::uint32_t systemError = 0);
Failure UnableToInsertLine();
Failure RangeCheckError();
Failure CannotLoadLibrary(const std::string& fileName);
// The window class, a window or a thread could not be made (`what` names which).
Failure ErrorCreating(const std::string& what, const std::string& systemErrorText);

// The system's error texts end in ".\r\n"; the failure text puts its own full stop later.
std::string TrimSystemErrorText(std::string text);
