// The program around the windows: its command line, what it says when there is no screen to open, its
// name and icon on the desktop, and Qt's own texts in Russian.
#pragma once

#include "form/fleet_start.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>
#include <string_view>

class QCoreApplication;
class QTranslator;

namespace window::application {

// The command, and the instance and class of the window on X11 (the desktop entry's StartupWMClass).
inline constexpr char kCommand[] = "tarifmaster";

struct Answer {
    QString text; // for standard output
    int status = 0;
};

// Which window the command line asks for, once Qt has taken its own options out of it
// (QCoreApplication::arguments(), the program's name first): the rule is form::windowRequest's.
form::WindowRequest windowRequest(const QStringList &arguments);

// --help and --version, answered in Russian without opening a window; moreHelp (the batch mode's part)
// follows the window's part of the help. Other arguments are left to Qt, which takes its own
// (-platform, -style, ...) and ignores the rest.
std::optional<Answer> answerCommandLine(int argc, char *argv[], std::string_view moreHelp = {});

// Until the display is opened, Qt's warnings about it are held back, and its fatal error (no display,
// or one that cannot be reached) ends the program with one Russian message on standard error and the
// exit status kNoDisplayStatus, instead of an abort.
inline constexpr int kNoDisplayStatus = 2;
void guardDisplayOpening();
void displayOpened(); // passes the held warnings on and restores Qt's message handling

// What is wrong and how to run the program without a screen; the environment tells which case it is.
QString noDisplayMessage();

// Names the program for the desktop (window class, desktop entry, version), gives it its icon, and
// loads Qt's translations for the locale so that message-box buttons and the fields' context menus
// speak its language. The window's own texts are Russian in every locale.
void setUp(QCoreApplication &app);
// Installs Qt's own translation for the locale, when Qt has one; returns it, or nullptr.
QTranslator *loadQtTranslations(QCoreApplication &app, const QLocale &locale);

} // namespace window::application
