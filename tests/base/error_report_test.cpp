#include "base/error_report.h"

#include <gtest/gtest.h>

#include "base/failure.h"

namespace {

std::string Shown(const std::string& message) { return DefaultErrorReport(message).text; }

TEST(DefaultErrorReport, AppendsAFullStopAfterALetterOrDigit) {
  EXPECT_EQ(Shown("Resource Changes not found"), "Resource Changes not found.");
  EXPECT_EQ(Shown("Stream write error"), "Stream write error.");
  EXPECT_EQ(Shown("Ошибка"), "Ошибка.");
  EXPECT_EQ(Shown("code 5"), "code 5.");
  EXPECT_EQ(Shown("/"), "/.");  // the first character above "."
}

TEST(DefaultErrorReport, KeepsPunctuationAtOrBelowAFullStop) {
  for (const std::string text : {"Done.", "Stop!", "\"E:\\\"", "(x)", "a,", "a-", ""}) {
    EXPECT_EQ(Shown(text), text);
  }
}

TEST(DefaultErrorReport, IsAnErrorBoxCaptionedWithTheTitle) {
  const Notice notice = DefaultErrorReport("Range check error");
  EXPECT_EQ(notice, (Notice{"Range check error.", "Загрузочный модуль KQ", NoticeIcon::kError}));
  EXPECT_EQ(static_cast<unsigned>(notice.icon), 0x10u);
}

TEST(FailureReport, ADamagedProgramFileHasItsOwnErrorBoxAnyOtherFailureTheDefault) {
  const std::string text =
      "Файл программы повреждён: прошивка не записана. Скопируйте программу заново.";
  EXPECT_EQ(FailureReport(DamagedProgramFile(text)), (Notice{text, "Ошибка", NoticeIcon::kError}));
  EXPECT_EQ(FailureReport(CannotLoadLibrary("bcrypt.dll")),
            DefaultErrorReport("Cannot load library bcrypt.dll"));
  EXPECT_EQ(FailureReport(std::runtime_error("Stream write error")),
            DefaultErrorReport("Stream write error"));
}

TEST(FailureTexts, AreTheFixedOnes) {
  EXPECT_STREQ(ResourceNotFound("Firmware7s").what(), "Resource Firmware7s not found");
  EXPECT_STREQ(StreamWriteError().what(), "Stream write error");
  EXPECT_STREQ(UnableToInsertLine().what(), "Unable to insert a line");
  EXPECT_STREQ(RangeCheckError().what(), "Range check error");
}

TEST(FailureTexts, CannotCreateFileTrimsOnlyTheSystemTextsTail) {
  EXPECT_STREQ(CannotCreateFile("C:\\KQ\\KQ1769_m.dat", "Access denied. \r\n").what(),
               "Cannot create file \"C:\\KQ\\KQ1769_m.dat\". Access denied");
  EXPECT_STREQ(CannotCreateFile("C:\\a.b", "Path not found...\n\n").what(),
               "Cannot create file \"C:\\a.b\". Path not found");
  EXPECT_STREQ(CannotCreateFile("C:\\a", "e.g. a. b").what(),
               "Cannot create file \"C:\\a\". e.g. a. b");
  EXPECT_EQ(Shown(CannotCreateFile("C:\\Папка\\x", "Отказано в доступе.\r\n").what()),
            "Cannot create file \"C:\\Папка\\x\". Отказано в доступе.");
}

TEST(FailureTexts, ErrorCreatingNamesWhatAndTheSystemsReason) {
  EXPECT_STREQ(ErrorCreating("window class", "Class already exists.\r\n").what(),
               "Error creating window class. Class already exists");
  EXPECT_EQ(Shown(ErrorCreating("window", "Not enough memory resources are available.\r\n").what()),
            "Error creating window. Not enough memory resources are available.");
}

}  // namespace
