// What the user of the window feels: start-up, a keystroke in the town search, a press of "ОК".
// Runs off-screen unless a platform is set.
#include "window/desktop.h"
#include "window/form1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <benchmark/benchmark.h>

namespace {

window::SilentDesktop desktop;

// From nothing to a window on the screen: controls built, lists filled, first page painted.
void BM_StartUp(benchmark::State &state)
{
    for (auto _ : state) {
        window::Form1 form(desktop, QStringLiteral("/tmp"));
        form.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(form.grab());
    }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond);

// One keystroke in the town search: the result list rebuilt from the master list.
void BM_TownSearchKeystroke(benchmark::State &state)
{
    window::Form1 form(desktop, QStringLiteral("/tmp"));
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
    window::Form1 form(desktop, QStringLiteral("/tmp"));
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

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
