#include "window/fleet_screenshots.h"

#include "window/desktop.h"
#include "window/fleet_window.h"
#include "window/text.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProgressBar>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <thread>

namespace window {

namespace {

// A run that has read 42 % of its list and goes on until it is stopped.
batch::RunSummary heldAtFortyTwo(const batch::Options &, batch::Console &console)
{
    console.progressed(42);
    while (!console.stopRequested())
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    batch::RunSummary summary;
    summary.failure = batch::Failure::Stopped;
    return summary;
}

// 30 000 vehicles, 12 000 of them rejected for four reasons in turn: more than the window lists.
QByteArray manyRejected()
{
    const QByteArray tail
        = ";от 22 лет и старше со стажем вождения свыше 2 лет;управлению транспортным средством;"
          "свыше 95 до 120 включительно;более 9 месяцев;;1;да\n";
    const QByteArray rows[] = {
        "Kia Rio;легковой;физических лиц;Новосибирск;;3;;" + tail,
        "Kia Rio;легковой;физических лиц;Новосибрск;;3;;" + tail,
        "Kia Rio;легковой;физических лиц;Новосибирск;;15;;" + tail,
        "Kia Rio;легковой;физических лиц;Новосибирск;;3;;0,95" + tail,
        "Kia Rio;легковой;физических лиц;Тольяти;;3;;" + tail,
    };
    QByteArray list = "Марка;Категория;ТБ;КТ;Тип ТС;Класс;Выплаты;КБМ;КВС;КО;КМ;КС;КП;КН;Исключить КП\n";
    for (int i = 0; i < 30000; ++i)
        list += i % 10 < 6 ? rows[0] : rows[1 + i % 4];
    return list;
}

// Lets the window draw what its runs told it, until done holds or ten seconds have passed.
template<typename Done>
void settle(Done done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    QApplication::processEvents();
}

void save(QWidget &window, const QString &path)
{
    if (!window.grab().save(path))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    else
        std::printf("%s\n", qPrintable(path));
}

} // namespace

void saveFleetWindowStates(const QDir &out, const QString &suffix, const QString &examples)
{
    const QTemporaryDir lists;
    const QDir folder(lists.path());
    folder.mkpath(QStringLiteral("Автопарк"));
    const QString fleet = folder.filePath(QStringLiteral("Автопарк/парк.xlsx"));
    QFile::copy(examples + QStringLiteral("/fleet.xlsx"), fleet);
    QFile sample(fleet);
    QFile damaged(folder.filePath(QStringLiteral("Автопарк/поврежденный.xlsx")));
    if (sample.open(QIODevice::ReadOnly) && damaged.open(QIODevice::WriteOnly))
        damaged.write(sample.read(sample.size() / 2));
    damaged.close();
    QFile many(folder.filePath(QStringLiteral("Автопарк/большой парк.csv")));
    if (many.open(QIODevice::WriteOnly))
        many.write(manyRejected());
    many.close();

    SilentDesktop desktop;
    const auto picture = [&](const QString &state) {
        return out.filePath(QStringLiteral("fleet-%1%2.png").arg(state, suffix));
    };
    {
        FleetWindow window(desktop, heldAtFortyTwo);
        window.show();
        QApplication::processEvents();
        save(window, picture(QStringLiteral("waiting")));
        window.compute(fleet);
        settle([&window] {
            return window.findChild<QProgressBar *>(QStringLiteral("Progress"))->value() == 42;
        });
        save(window, picture(QStringLiteral("running")));
    }
    const std::pair<QString, QString> ends[] = {{QStringLiteral("done"), fleet},
        {QStringLiteral("done-many"), many.fileName()},
        {QStringLiteral("failed"), damaged.fileName()}};
    for (const auto &[state, list] : ends) {
        FleetWindow window(desktop);
        window.show();
        window.compute(list);
        settle([&window] {
            return window.state() != form::FleetState::Running;
        });
        save(window, picture(state));
    }
}

} // namespace window
