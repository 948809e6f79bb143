// What the user of the window feels: start-up, a keystroke in the town search, a press of "ОК".
// Runs off-screen unless a platform is set.
#include "window/desktop.h"
#include "window/main_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

window::SilentDesktop desktop;

// Qt deletes some parts of a closed window later, from the event loop; without one running they
// would pile up from one round to the next and slow the later rounds down.
void dropDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// From nothing to a window on the screen: controls built, lists filled, first page painted.
void BM_StartUp(benchmark::State &state)
{
    for (auto _ : state) {
        {
            window::MainWindow form(desktop, QStringLiteral("/tmp"));
            form.show();
            QApplication::processEvents();
            benchmark::DoNotOptimize(form.grab());
        }
        dropDeferredDeletes();
    }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond);

// The yardstick for start-up: a plain Qt window of the same size with ten tabs and 150 widgets of the
// kinds the window uses (labels, fields, lists with a few entries, drop-downs, option buttons, buttons).
// The window may take at most 1.10 times as long.
void BM_BareWindowStartUp(benchmark::State &state)
{
    for (auto _ : state) {
        {
            QWidget window;
            window.resize(588, 439);
            auto *tabs = new QTabWidget(&window);
            tabs->setGeometry(0, 0, 595, 377);
            for (int tab = 0; tab < 10; ++tab) {
                auto *page = new QWidget;
                for (int i = 0; i < 15; ++i) {
                    const QRect where(8 + (i % 3) * 190, 8 + (i / 3) * 64, 180, 56);
                    QWidget *widget = nullptr;
                    switch (i % 6) {
                    case 0:
                    case 1:
                        widget = new QLabel(QStringLiteral("Коэффициент страхового тарифа %1").arg(i), page);
                        break;
                    case 2:
                        widget = new QLineEdit(QStringLiteral("0,7"), page);
                        break;
                    case 3: {
                        auto *list = new QListWidget(page);
                        for (int row = 0; row < 8; ++row)
                            list->addItem(QStringLiteral("строка %1").arg(row));
                        widget = list;
                        break;
                    }
                    case 4: {
                        auto *combo = new QComboBox(page);
                        combo->addItems({QStringLiteral("6 месяцев"), QStringLiteral("1 год")});
                        widget = combo;
                        break;
                    }
                    default:
                        widget = tab % 2
                            ? static_cast<QWidget *>(new QRadioButton(QStringLiteral("вариант"), page))
                            : new QPushButton(QStringLiteral("ОК"), page);
                    }
                    widget->setGeometry(where);
                }
                tabs->addTab(page, QString::number(tab + 1));
            }
            window.show();
            QApplication::processEvents();
            benchmark::DoNotOptimize(window.grab());
        }
        dropDeferredDeletes();
    }
}
BENCHMARK(BM_BareWindowStartUp)->Unit(benchmark::kMillisecond);

// One keystroke in the town search: the result list rebuilt from the master list.
void BM_TownSearchKeystroke(benchmark::State &state)
{
    window::MainWindow form(desktop, QStringLiteral("/tmp"));
    form.show();
    auto *search = qobject_cast<QLineEdit *>(form.control(QStringLiteral("Text2")));
    const QString texts[] = {QStringLiteral("н"), QStringLiteral("но")};
    int i = 0;
    for (auto _ : state) {
        search->setText(texts[i++ % 2]);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_TownSearchKeystroke)->Unit(benchmark::kMicrosecond);

// A press of "ОК" for a car: nine fields read, the premium written into the total field.
void BM_PremiumClick(benchmark::State &state)
{
    window::MainWindow form(desktop, QStringLiteral("/tmp"));
    const std::pair<const char *, const char *> fields[]
        = {{"txtTb", "1980"}, {"Text3", "2"}, {"Text5", "1,3"}, {"Text6", "1"}, {"Text7", "1"}};
    for (const auto &[name, text] : fields)
        qobject_cast<QLineEdit *>(form.control(QLatin1String(name)))->setText(QLatin1String(text));
    auto *ok = qobject_cast<QAbstractButton *>(form.control(QStringLiteral("Command2")));
    auto *total = qobject_cast<QLineEdit *>(form.control(QStringLiteral("Text10")));
    for (auto _ : state) {
        total->clear();
        ok->click();
    }
}
BENCHMARK(BM_PremiumClick)->Unit(benchmark::kMicrosecond);

// Prints the results as usual, then the window's start-up against the bare window's: the medians of
// the repetitions (--benchmark_repetitions), or the single runs.
class StartUpComparison : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            const std::string &name = run.run_name.function_name;
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                m_medians[name] = run.GetAdjustedRealTime();
            else if (run.run_type == Run::RT_Iteration)
                m_single[name] = run.GetAdjustedRealTime();
        }
    }
    int report() const
    {
        const auto time = [this](const std::string &name) {
            const auto median = m_medians.find(name);
            if (median != m_medians.end())
                return median->second;
            const auto single = m_single.find(name);
            return single != m_single.end() ? single->second : 0.0;
        };
        const double window = time("BM_StartUp");
        const double bare = time("BM_BareWindowStartUp");
        if (window > 0 && bare > 0)
            std::printf("start-up: window %.2f ms, bare window %.2f ms, ratio %.2f (at most 1.10)\n",
                window,
                bare,
                window / bare);
        return 0;
    }

private:
    std::map<std::string, double> m_medians, m_single;
};

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    StartUpComparison reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.report();
}
