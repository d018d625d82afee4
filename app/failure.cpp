#include "app/failure.h"

Failure ResourceNotFound(const std::string& payloadName) {
  return Failure("Resource " + payloadName + " not found");
}

Failure CannotCreateFile(const std::string& path, const std::string& systemErrorText,
                         std::uint32_t systemError) {
  return Failure("Cannot create file \"" + path + "\". " + TrimSystemErrorText(systemErrorText),
                 systemError);
}

Failure StreamWriteError(std::uint32_t systemError) {
  return Failure("Stream write error", systemError);
}

Failure UnableToInsertLine() { return Failure("Unable to insert a line"); }

Failure RangeCheckError() { return Failure("Range check error"); }

Failure CannotLoadLibrary(const std::string& fileName) {
  return Failure("Cannot load library " + fileName);
}

Failure WindowNotCreated(const std::string& what, const std::string& systemErrorText) {
  return Failure("Error creating " + what + ". " + TrimSystemErrorText(systemErrorText));
}

std::string TrimSystemErrorText(std::string text) {
  while (!text.empty()) {
    const char last = text.back();
    if (last != '\r' && last != '\n' && last != ' ' && last != '.') break;
    text.pop_back();
  }
  return text;
}
