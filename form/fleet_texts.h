// Every text of the fleet window, in one place: what the fronts put on its controls and dialogs, and
// what the fleet form says in it. "%1" stands for the value the form fills in (a file, a count).
#pragma once

#include "batch/batch.h"

#include <string_view>

namespace form::fleet_text {

// The window and its controls.
inline constexpr std::string_view kTitle = "ТарифМастер — расчет парка ТС";
inline constexpr std::string_view kChooseButton = "Выбрать список…";
inline constexpr std::string_view kStopButton = "Остановить";
inline constexpr std::string_view kOpenResultButton = "Открыть результат";
inline constexpr std::string_view kShowInFolderButton = "Показать в папке";
// The columns of the rejected rows' list.
inline constexpr std::string_view kRowColumn = "Строка";
inline constexpr std::string_view kColumnsColumn = "Столбец";
inline constexpr std::string_view kReasonColumn = "Причина";
// What screen readers call the controls that show no caption of their own.
inline constexpr std::string_view kProgressName = "Ход расчета";
inline constexpr std::string_view kRejectedRowsName = "Отклоненные строки";

// The dialogs. A filter is the name of a kind of file and its patterns, as both toolkits take them.
inline constexpr std::string_view kChooseListTitle = "Выберите список транспортных средств";
inline constexpr std::string_view kListFilterName = "Списки ТС (CSV, TXT, Excel, OpenDocument)";
inline constexpr std::string_view kListPatterns = "*.csv;*.txt;*.xlsx;*.ods";
inline constexpr std::string_view kAllFilesName = "Все файлы";
inline constexpr std::string_view kSaveResultTitle = "Сохранить результат как";
inline constexpr std::string_view kCsvFilterName = "Таблица CSV";
inline constexpr std::string_view kXlsxFilterName = "Книга Excel";
inline constexpr std::string_view kOdsFilterName = "Таблица OpenDocument";

// The status line.
inline constexpr std::string_view kChooseHint
    = "Выберите список транспортных средств (CSV, TXT, .xlsx или .ods): премии будут рассчитаны для "
      "каждой строки, а результат записан рядом со списком.";
inline constexpr std::string_view kRunning = "Идет расчет списка «%1»…";
inline constexpr std::string_view kStopping = "Расчет останавливается…";
inline constexpr std::string_view kStopped = "Расчет остановлен, результат не записан.";
inline constexpr std::string_view kDone = "Готово. Результат записан в файл «%1».";
inline constexpr std::string_view kDoneInDocuments
    = "Готово. В папку списка записывать нельзя, поэтому результат записан в папку документов: «%1».";
inline constexpr std::string_view kNotWritten = "Результат не записан.";

// The summary.
inline constexpr std::string_view kComputedCaption = "Рассчитано строк";
inline constexpr std::string_view kRejectedCaption = "Отклонено строк";
inline constexpr std::string_view kTotalCaption = "Сумма премий";
inline constexpr std::string_view kResultCaption = "Файл результата";
inline constexpr std::string_view kTotalTooLarge = "слишком велика для расчета";
static_assert(batch::kRejectedRowsKept == 10000);
inline constexpr std::string_view kMoreRejected
    = "Показаны первые 10 000 отклоненных строк; еще %1 — в столбце «Ошибка» файла результата.";

// The messages. A question's buttons are these, whatever the desktop's language.
inline constexpr std::string_view kYesButton = "Да";
inline constexpr std::string_view kNoButton = "Нет";
inline constexpr std::string_view kResultBusy
    = "Файл «%1» открыт в другой программе, поэтому заменить его нельзя; прежний файл не изменен.\n\n"
      "Сохранить результат под другим именем?";
inline constexpr std::string_view kResultProtected
    = "Файл «%1» защищен от записи; прежний файл не изменен.\n\nСохранить результат под другим именем?";
inline constexpr std::string_view kCannotOpen = "Не удалось открыть файл «%1».";
inline constexpr std::string_view kCannotShow = "Не удалось показать файл «%1» в папке.";

} // namespace form::fleet_text
