// Module1: what the help buttons and the two contact links hand to the desktop.
#pragma once

#include <QString>
#include <QUrl>

namespace window::Module1 {

inline constexpr char kExamplePage[] = "primer.htm"; // "Пример", bottom strip
inline constexpr char kTariffPage[] = "tarif.htm";   // "Прочитать", step 1
inline constexpr char kNotePage[] = "prim.htm";      // "Примечание", step 3
inline constexpr char kStructurePage[] = "struk.htm"; // "Структура страхового тарифа", page 10
inline constexpr char16_t kMailSubject[] = u"страховка";

// A page beside the program. The folder is passed as a file path, never through a command line, so
// spaces need no quoting.
QUrl helpPage(const QString &programFolder, const QString &pageName);

// The web link's caption as it stands: no scheme is added or normalised.
QUrl webAddress(const QString &caption);

// A new message to the address of the mail link, with the subject "страховка" percent-encoded in UTF-8.
QUrl mailMessage(const QString &caption);

} // namespace window::Module1
