#pragma once

// The window's fixed texts, shared by the window and whatever reports in its name.
inline constexpr char kApplicationTitle[] = "Загрузочный модуль KQ";

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
