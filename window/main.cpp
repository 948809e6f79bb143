#include "batch/batch.h"
#include "window/desktop.h"
#include "window/form1.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace {

// Without a display Qt stops with a platform-plugin error that tells the user little.
bool displayMissing()
{
#if defined(Q_OS_LINUX)
    const auto unset = [](const char *name) {
        const char *value = std::getenv(name);
        return !value || !*value;
    };
    return unset("QT_QPA_PLATFORM") && unset("DISPLAY") && unset("WAYLAND_DISPLAY");
#else
    return false;
#endif
}

} // namespace

int main(int argc, char *argv[])
{
    // The batch mode computes a vehicle list without a window: it must run before anything of Qt.
    if (const auto status = batch::runFromCommandLine(argc, argv))
        return *status;
    if (displayMissing()) {
        std::fputs("ТарифМастер needs a graphical display, and none was found (DISPLAY and WAYLAND_DISPLAY "
                   "are not set).\nStart it from a desktop session, or give it a virtual display:\n"
                   "    xvfb-run -a build/bin/tarifmaster        (package xvfb)\n"
                   "or draw it off-screen without showing anything:\n"
                   "    QT_QPA_PLATFORM=offscreen build/bin/tarifmaster\n",
            stderr);
        return 2;
    }
    QApplication app(argc, argv);
    // No application display name: Qt would append it to the window title.
    window::SystemDesktop desktop;
    window::Form1 form(desktop, QCoreApplication::applicationDirPath());
    form.show();
    return app.exec();
}
