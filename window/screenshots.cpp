// Renders every page of the window to PNG files, and where focus shows, without a display, then the
// fleet window in each of its states (fleet-*.png):
//   QT_QPA_PLATFORM=offscreen tarifmaster_screenshots OUTPUT_FOLDER [dark]
// With QT_SCALE_FACTOR=2 the pictures show the windows at 200 %; with "dark" the desktop's palette is a
// dark one, as dark desktop themes set it, and the file names end in "-dark".
#include "window/controls.h"
#include "window/desktop.h"
#include "window/fleet_screenshots.h"
#include "window/main_window.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPalette>
#include <QRadioButton>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fputs("usage: tarifmaster_screenshots OUTPUT_FOLDER\n", stderr);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(out.path());
    const bool dark = argc > 2 && qstrcmp(argv[2], "dark") == 0;
    if (dark) {
        QPalette palette(QColor(53, 53, 53), QColor(42, 42, 42));
        for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
            palette.setColor(role, QColor(238, 238, 238));
            palette.setColor(QPalette::Disabled, role, QColor(128, 128, 128)); // as dark themes grey them
        }
        palette.setColor(QPalette::Base, QColor(35, 35, 35));
        QApplication::setPalette(palette);
    }

    window::SilentDesktop desktop;
    window::MainWindow form(desktop, QCoreApplication::applicationDirPath());
    form.show();
    auto *tabs = qobject_cast<window::TabControl *>(form.control(QStringLiteral("SSTab1")));
    const qreal scale = form.devicePixelRatioF();
    const QString suffix = (dark ? QStringLiteral("-dark") : QString())
        + (scale > 1.0 ? QStringLiteral("@%1x").arg(scale) : QString());

    const auto save = [&](const QString &name) {
        QApplication::processEvents();
        const QString path = out.filePath(name + suffix + QStringLiteral(".png"));
        if (!form.grab().save(path))
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        else
            std::printf("%s\n", qPrintable(path));
    };

    for (int page = 0; page < tabs->pageCount(); ++page) {
        tabs->setCurrentIndex(page);
        save(QStringLiteral("page%1").arg(page + 1, 2, 10, QLatin1Char('0')));
    }

    // Two states that change the layout: the town search after typing, and the renewal mode of step 3.
    tabs->setCurrentIndex(1);
    qobject_cast<QLineEdit *>(form.control(QStringLiteral("Text2")))->setText(QStringLiteral("ново"));
    save(QStringLiteral("page02-search"));
    tabs->setCurrentIndex(2);
    qobject_cast<QRadioButton *>(form.control(QStringLiteral("Option11")))->setChecked(true);
    save(QStringLiteral("page03-renewal"));

    // Where focus is, as after a key: a list with nothing chosen, the list below it, the two links.
    QApplication::setActiveWindow(&form);
    tabs->setCurrentIndex(0);
    for (const char *name : {"List1", "List2", "Label45", "Label46"}) {
        form.control(QLatin1String(name))->setFocus(Qt::ShortcutFocusReason);
        save(QStringLiteral("focus-%1").arg(QLatin1String(name)));
    }
    window::saveFleetWindowStates(out, suffix, QStringLiteral(TARIFMASTER_EXAMPLES));
    return 0;
}
