#pragma once

// The tool's fixed texts, shared by the window and whatever reports in its name. The version
// resource's texts are macros, as the resource compiler reads this file too.
#define KQ_APPLICATION_TITLE "Загрузочный модуль KQ"
// What the file's properties say of a build that carries stand-ins, in place of empty strings.
#define KQ_TEST_BUILD_FILE_DESCRIPTION KQ_APPLICATION_TITLE " — ТЕСТОВАЯ СБОРКА, не для терминалов"
#define KQ_TEST_BUILD_PRODUCT_NAME KQ_APPLICATION_TITLE " (ТЕСТ)"

#ifndef RC_INVOKED
inline constexpr char kApplicationTitle[] = KQ_APPLICATION_TITLE;
// Put before the window's caption in a build that carries stand-ins.
inline constexpr char kTestBuildCaptionMark[] = "ТЕСТ — ";
#endif
