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

// A copy of the tool whose payloads are not as built says so and does nothing with them.
inline constexpr char kDamagedNothingWritten[] =
    "Файл программы повреждён: прошивка не записана. Скопируйте программу заново.";
inline constexpr char kDamagedChangeLogNotOpened[] =
    "Файл программы повреждён: список изменений не открыт. Скопируйте программу заново.";
inline constexpr char kDamagedNothingChecked[] =
    "Файл программы повреждён: проверка не выполнена. Скопируйте программу заново.";

// The check of a stick prepared earlier.
inline constexpr char kStickCheckCaption[] = "Проверка USB-Flash";
inline constexpr char kStandInStickWarning[] =
    "Это тестовая сборка: на USB-Flash заглушки, а не прошивка. Не используйте его в терминале.";

// The tool's own items of the window's system menu.
inline constexpr char kCheckStickItem[] = "Проверить USB-Flash";
inline constexpr char kOpenJournalItem[] = "Открыть журнал";
#endif
