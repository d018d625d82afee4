#pragma once

// Every text the tool shows: the window's, the boxes' and the system menu's, in one place, so
// that the technician's guide can quote each of them as it is. A text with %s in it is a template
// whose gaps FillText fills in order. The version resource's texts are macros, as the resource
// compiler reads this file too.

#define KQ_APPLICATION_TITLE "Загрузочный модуль KQ"
// What the file's properties say of a build that carries stand-ins, in place of empty strings.
#define KQ_TEST_BUILD_FILE_DESCRIPTION KQ_APPLICATION_TITLE " — ТЕСТОВАЯ СБОРКА, не для терминалов"
#define KQ_TEST_BUILD_PRODUCT_NAME KQ_APPLICATION_TITLE " (ТЕСТ)"

#ifndef RC_INVOKED
#include <initializer_list>
#include <string>
#include <string_view>

// The taskbar button's text, the window's caption before the version, and the caption of the
// boxes that report a failure.
inline constexpr char kApplicationTitle[] = KQ_APPLICATION_TITLE;
// Put before the window's caption in a build that carries stand-ins.
inline constexpr char kTestBuildCaptionMark[] = "ТЕСТ — ";
// Appended to the caption: the major and minor version.
inline constexpr char kCaptionVersion[] = " v%s";
// The version label at the window's foot, before the version is read, and what follows it.
inline constexpr char kFullVerDesignCaption[] = "V1.11.0.2   ";
inline constexpr char kFullVerCaption[] = "%s      ";

// The window's controls.
inline constexpr char kPromptSelect[] = "Выберите USB-Flash:";
inline constexpr char kPromptConnect[] = "ПОДКЛЮЧИТЕ USB-FLASH!";
inline constexpr char kSaveCaption[] = "Записать прошивку на USB-Flash";
inline constexpr char kInfoHint[] = "Изменения в ПО\r(Adobe Reader)";
// The tool's own items of the window's system menu. The letter after & is the item's access key,
// underlined with Alt: apart from each other and from the keys of Windows' own items in Russian
// (Восстановить, Переместить, Размер, Свернуть, Развернуть, Закрыть).
inline constexpr char kCheckStickItem[] = "Провер&ить USB-Flash";
inline constexpr char kOpenJournalItem[] = "Открыть &журнал";
// Why the session may not end yet, shown by Windows while a run writes.
inline constexpr char kShutdownBlockReason[] = "Идёт запись прошивки на USB-Flash";

// The captions of the boxes.
inline constexpr char kSuccessCaption[] = "Процесс завершен";
inline constexpr char kWarningCaption[] = "Предупреждение";
inline constexpr char kWriteErrorCaption[] = "Ошибка записи";
inline constexpr char kErrorCaption[] = "Ошибка";
inline constexpr char kStickCheckCaption[] = "Проверка USB-Flash";

// The boxes that close a write run; %s is the drive root.
inline constexpr char kSuccessText[] = "Файлы прошивки успешно сохранены на \"%s\"";
inline constexpr char kWarningText[] =
    "ВНИМАНИЕ! Перед прошивкой рекомендуется отключить от терминала все подключенные кабели и "
    "устройства, кроме адаптера питания!";
inline constexpr char kWriteErrorText[] = "Ошибка записи на \"%s\"";
// Then what the drive lacks, as kMegabytes gives it.
inline constexpr char kRoomLackingText[] =
    "Недостаточно места на \"%s\": не хватает %s. Прошивка не записана, файлы на USB-Flash не "
    "изменены.";
inline constexpr char kMegabytes[] = "%s,%s МБ";
inline constexpr char kStickFilledText[] =
    "Недостаточно места на \"%s\": прошивка записана не полностью. Освободите место на USB-Flash "
    "и запишите прошивку заново.";
// A second line of a write-error box: the file, or the files and kMoreFiles, that stay wrong.
inline constexpr char kUndeletableFile[] =
    "Файл %s на USB-Flash не удалось удалить, его содержимое может быть неверным. Удалите его "
    "вручную, прежде чем прошивать терминал.";
inline constexpr char kUndeletableFiles[] =
    "Файлы %s на USB-Flash не удалось удалить, их содержимое может быть неверным. Удалите их "
    "вручную, прежде чем прошивать терминал.";
inline constexpr char kMoreFiles[] = "%s и ещё %s";
// A second line of a write-error box whose cause the run tells: the cause, then what the stick
// now holds; a last line points to the journal.
inline constexpr char kStickGoneCause[] =
    "USB-Flash отключён или перестал отвечать: подключите его снова или возьмите другой.";
inline constexpr char kWriteProtectedCause[] =
    "USB-Flash защищён от записи: сдвиньте переключатель защиты на карте памяти или возьмите "
    "другой USB-Flash.";
inline constexpr char kWritingRefusedCause[] =
    "Запись на USB-Flash запрещена на этом компьютере (политика или антивирус): запишите прошивку "
    "на другом компьютере.";
inline constexpr char kFileHeldCause[] =
    "Файл на USB-Flash занят другой программой: закройте её и запишите прошивку заново.";
inline constexpr char kReadBackDifferentCause[] =
    "Записанные файлы прочитались с USB-Flash с отличиями: он неисправен или поддельный, возьмите "
    "другой.";
inline constexpr char kLeftUnchangedText[] =
    "Прошивка не записана, файлы на USB-Flash не изменены.";
inline constexpr char kLeftIncompleteText[] =
    "На USB-Flash неполный набор прошивки: не используйте его в терминале.";
inline constexpr char kSeeTheJournal[] =
    "Подробности — в журнале: меню окна (Alt+Пробел) → «Открыть журнал».";

// A copy of the tool whose payloads are not as built says so and does nothing with them.
inline constexpr char kDamagedNothingWritten[] =
    "Файл программы повреждён: прошивка не записана. Скопируйте программу заново.";
inline constexpr char kDamagedChangeLogNotOpened[] =
    "Файл программы повреждён: список изменений не открыт. Скопируйте программу заново.";
inline constexpr char kDamagedNothingChecked[] =
    "Файл программы повреждён: проверка не выполнена. Скопируйте программу заново.";

inline constexpr char kChangeLogUnavailableText[] =
    "Невозможно отобразить список изменений. Возможно, он уже открыт, либо Adobe Reader не "
    "установлен.";

// The check of a stick prepared earlier: the drive root, the set's size and the version.
inline constexpr char kStickExactText[] =
    "На \"%s\" все %s файлов прошивки версии %s совпадают с эталоном.";
inline constexpr char kStandInStickWarning[] =
    "Это тестовая сборка: на USB-Flash заглушки, а не прошивка. Не используйте его в терминале.";
// The counts are kDifferentCount and kMissingCount, those that are not zero, joined by ", ".
inline constexpr char kStickIncompleteText[] =
    "На \"%s\" нет полного набора прошивки версии %s (из %s файлов %s). Запишите прошивку заново.";
inline constexpr char kDifferentCount[] = "отличаются: %s";
inline constexpr char kMissingCount[] = "отсутствуют: %s";
inline constexpr char kStickUnreadableText[] =
    "Не удалось прочитать \"%s\". Подключите USB-Flash и повторите проверку.";

// The journal's item of the system menu.
inline constexpr char kJournalEmptyText[] =
    "Журнал пуст: с запуска программы прошивка не записывалась и не проверялась.";
inline constexpr char kJournalSavedText[] = "Журнал сохранён в файл \"%s\".";
inline constexpr char kJournalNotSavedText[] = "Не удалось сохранить журнал в файл \"%s\": %s.";

// The failures the default error report shows, which adds a full stop after a letter or digit.
inline constexpr char kResourceNotFound[] = "Resource %s not found";
// The path, then the system's reason.
inline constexpr char kCannotCreateFile[] = "Cannot create file \"%s\". %s";
inline constexpr char kStreamWriteError[] = "Stream write error";
inline constexpr char kUnableToInsertLine[] = "Unable to insert a line";
inline constexpr char kRangeCheckError[] = "Range check error";
inline constexpr char kCannotLoadLibrary[] = "Cannot load library %s";
// "window class", "window" or "thread", then the system's reason.
inline constexpr char kErrorCreating[] = "Error creating %s. %s";

// The template with each %s replaced by the next value.
std::string FillText(std::string_view pattern, std::initializer_list<std::string_view> values);
#endif
