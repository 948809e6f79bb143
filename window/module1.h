// Module1: what the help buttons and the two contact links hand to the desktop.
#pragma once

#include "window/inventory.h"

#include <QString>
#include <QUrl>

#include <string_view>

namespace window::Module1 {

inline constexpr std::string_view kExamplePage = helpPageOf("Command5"); // "Пример", bottom strip
inline constexpr std::string_view kTariffPage = helpPageOf("Command4");  // "Прочитать", step 1
inline constexpr std::string_view kNotePage = helpPageOf("Command1");    // "Примечание", step 3
inline constexpr std::string_view kStructurePage = helpPageOf("Command3"); // "Структура страхового тарифа"

// A page beside the program. The folder is passed as a file path, never through a command line, so
// spaces need no quoting.
QUrl helpPage(const QString &programFolder, const QString &pageName);

// The web link's caption as it stands: no scheme is added or normalised.
QUrl webAddress(const QString &caption);

// A new message to the address of the mail link, with the subject "страховка" percent-encoded in UTF-8.
QUrl mailMessage(const QString &caption);

} // namespace window::Module1
