#include "base/error_report.h"

#include "base/failure.h"
#include "base/texts.h"

Notice DefaultErrorReport(const std::string& failureMessage) {
  std::string text = failureMessage;
  // A message that ends in a letter or digit gets a full stop; one that ends in punctuation
  // at or below "." keeps its own. Texts are UTF-8, whose trailing bytes of a Cyrillic
  // letter all lie above ".", so letters of any script count as letters here.
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
  return Notice{text, kApplicationTitle, NoticeIcon::kError};
}

Notice FailureReport(const std::exception& failure) {
  if (dynamic_cast<const DamagedProgramFile*>(&failure)) {
    return Notice{failure.what(), kErrorCaption, NoticeIcon::kError};
  }
  return DefaultErrorReport(failure.what());
}
