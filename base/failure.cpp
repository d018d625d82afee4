#include "base/failure.h"

#include "base/texts.h"

Failure ResourceNotFound(const std::string& payloadName) {
  return Failure(FillText(kResourceNotFound, {payloadName}));
}

Failure CannotCreateFile(const std::string& path, const std::string& systemErrorText,
                         std::uint32_t systemError) {
  return Failure(FillText(kCannotCreateFile, {path, TrimSystemErrorText(systemErrorText)}),
                 systemError);
}

Failure StreamWriteError(std::uint32_t systemError) {
  return Failure(kStreamWriteError, systemError);
}

Failure UnableToInsertLine() { return Failure(kUnableToInsertLine); }

Failure RangeCheckError() { return Failure(kRangeCheckError); }

Failure CannotLoadLibrary(const std::string& fileName) {
  return Failure(FillText(kCannotLoadLibrary, {fileName}));
}

Failure ErrorCreating(const std::string& what, const std::string& systemErrorText) {
  return Failure(FillText(kErrorCreating, {what, TrimSystemErrorText(systemErrorText)}));
}

std::string TrimSystemErrorText(std::string text) {
  while (!text.empty()) {
    const char last = text.back();
    if (last != '\r' && last != '\n' && last != ' ' && last != '.') break;
    text.pop_back();
  }
  return text;
}
