#include "batch/batch.h"
#include "window/application.h"
#include "window/desktop.h"
#include "window/fleet_window.h"
#include "window/main_window.h"
#include "window/text.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    // The batch mode computes a vehicle list without a window: it must run before anything of Qt.
    if (const auto status = batch::runFromCommandLine(argc, argv))
        return *status;
    if (const auto answer = window::application::answerCommandLine(argc, argv, batch::helpText())) {
        std::fputs(answer->text.toUtf8().constData(), stdout);
        return answer->status;
    }
    window::application::guardDisplayOpening();
    QApplication app(argc, argv);
    window::application::displayOpened();
    window::application::setUp(app);

    window::SystemDesktop desktop;
    const form::WindowRequest request = window::application::windowRequest(QCoreApplication::arguments());
    if (request.fleet) {
        window::FleetWindow fleet(desktop);
        fleet.show();
        if (request.list)
            fleet.compute(window::fromUtf8(*request.list));
        return app.exec();
    }
    window::MainWindow form(desktop, QCoreApplication::applicationDirPath());
    form.show();
    return app.exec();
}
