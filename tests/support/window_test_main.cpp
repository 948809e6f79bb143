#include "support/window_test_main.h"

#include <QApplication>
#include <QDesktopServices>
#include <QTest>
#include <QTimer>
#include <QUrl>

namespace {

constexpr const char *kSchemes[] = {"file", "http", "https", "mailto"};

// Receives any URL that reaches QDesktopServices despite the seam.
class UrlTrap : public QObject {
    Q_OBJECT
public slots:
    void handle(const QUrl &url)
    {
        QTest::qFail(qPrintable(QStringLiteral("a URL went past the desktop seam: ") + url.toString()),
            __FILE__,
            __LINE__);
    }
};

} // namespace

int runWindowTests(int argc, char **argv, const std::function<std::unique_ptr<QObject>()> &makeSuite)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    UrlTrap trap;
    for (const char *scheme : kSchemes)
        QDesktopServices::setUrlHandler(QLatin1String(scheme), &trap, "handle");

    // A modal window would wait for a user who is not there: fail the test and close it.
    QTimer watchdog;
    watchdog.setInterval(200);
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            QTest::qFail("a real modal window was opened", __FILE__, __LINE__);
            modal->close();
        }
    });
    watchdog.start();

    const std::unique_ptr<QObject> suite = makeSuite();
    const int failures = QTest::qExec(suite.get(), argc, argv);
    for (const char *scheme : kSchemes)
        QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
    return failures;
}

#include "window_test_main.moc"
