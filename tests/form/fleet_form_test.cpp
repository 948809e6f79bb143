// The fleet window's behaviour, once for every front: lists computed by the real batch on threads of
// their own, their summaries and rejected rows, a stop, a list that cannot be read and a result that
// cannot replace its file, played on the fleet form's controls as plain data (support::RecordingFleet).
#include "batch/workbook.h"
#include "form/fleet_start.h"
#include "form/fleet_texts.h"
#include "support/batch_support.h"
#include "support/files.h"
#include "support/recording_fleet.h"

#include <gtest/gtest.h>

#include <atomic>

using form::FleetButton;
using form::FleetState;
using support::RecordingFleet;
namespace fs = std::filesystem;
namespace ft = form::fleet_text;

namespace {

const fs::path kExamples = TARIFMASTER_EXAMPLES;
using Messages = std::vector<RecordingFleet::Message>;
using Kind = RecordingFleet::Message::Kind;

std::string filled(std::string_view pattern, const std::string &value)
{
    std::string text(pattern);
    return text.replace(text.find("%1"), 2, value);
}

std::map<FleetButton, bool> buttons(bool stop, bool result)
{
    return {{FleetButton::Choose, true},
        {FleetButton::Stop, stop},
        {FleetButton::OpenResult, result},
        {FleetButton::ShowInFolder, result}};
}

// The batch's console held at its second question whether to stop until the form asks it to, the first
// one taking long enough for the share read to be reported: a run certain to be going on, its progress
// shown, when the test stops it, however fast the machine.
class Holding : public batch::QuietConsole {
public:
    Holding(batch::Console &console, std::atomic<bool> &held)
        : m_console(console)
        , m_held(held)
    {
    }
    void progressed(unsigned percent) override
    {
        m_console.progressed(percent);
    }
    bool stopRequested() override
    {
        if (++m_asked == 1)
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
        if (m_asked == 2) {
            m_held = true;
            for (int i = 0; i < 10000 && !m_console.stopRequested(); ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return m_console.stopRequested();
    }

private:
    batch::Console &m_console;
    std::atomic<bool> &m_held;
    int m_asked = 0;
};

} // namespace

TEST(FleetForm, ComputesEachKindOfListBesideItAndListsItsRejectedRows)
{
    const support::TempFolder folder;
    RecordingFleet f;
    EXPECT_EQ(f.status, ft::kChooseHint);
    EXPECT_EQ(f.enabled, buttons(false, false));
    EXPECT_FALSE(f.progress);

    std::vector<std::string> kinds = {"csv"};
    if (batch::workbooksSupported())
        kinds.insert(kinds.end(), {"xlsx", "ods"});
    for (const std::string &kind : kinds) {
        SCOPED_TRACE(kind);
        const fs::path list = folder.path() / ("парк." + kind);
        fs::copy_file(kExamples / ("fleet." + kind), list);
        if (kind == "csv") {
            f.listToChoose = list;
            f.form.Choose_Click();
            ASSERT_EQ(f.dialogs.size(), 1u);
            EXPECT_EQ(f.dialogs[0].title, ft::kChooseListTitle);
            EXPECT_EQ(f.dialogs[0].filters.front().patterns, "*.csv;*.txt;*.xlsx;*.ods");
        } else {
            f.form.compute(list);
        }
        EXPECT_EQ(f.form.state(), FleetState::Running);
        EXPECT_EQ(f.status, "Идет расчет списка «парк." + kind + "»…");
        EXPECT_EQ(f.progress, 0u);
        EXPECT_EQ(f.enabled, buttons(true, false));
        ASSERT_TRUE(f.settle());

        const fs::path result = folder.path() / ("парк-result." + kind);
        EXPECT_EQ(f.form.state(), FleetState::Done);
        EXPECT_EQ(f.status, "Готово. Результат записан в файл «" + result.string() + "».");
        EXPECT_EQ(f.summary,
            (std::vector<form::SummaryLine>{{ft::kComputedCaption, "10"},
                {ft::kRejectedCaption, "1"},
                {ft::kTotalCaption, "33136,1315"},
                {ft::kResultCaption, result.string()}}));
        ASSERT_EQ(f.rejectedRows.size(), 1u);
        EXPECT_EQ(f.rejectedRows[0].row, 11u);
        EXPECT_EQ(f.rejectedRows[0].columns, "КТ");
        EXPECT_EQ(f.rejectedRows[0].reason, "населенный пункт «Новосибрск» не найден");
        if (kind == "csv") {
            EXPECT_EQ(support::readCsvRows(result)[10].back(),
                "строка 11, столбец «КТ»: " + f.rejectedRows[0].reason);
        }
        EXPECT_EQ(f.moreRejected, "");
        EXPECT_FALSE(f.progress);
        EXPECT_EQ(f.enabled, buttons(false, true));
        f.form.OpenResult_Click();
        f.form.ShowInFolder_Click();
        EXPECT_EQ(f.opened, std::vector<fs::path>{result});
        EXPECT_EQ(f.shownInFolder, std::vector<fs::path>{result});
        f.opened.clear();
        f.shownInFolder.clear();
    }
    EXPECT_TRUE(f.messages.empty());
    EXPECT_EQ(form::resultNameOf("/списки/парк.TXT"), "парк-result.csv");
    EXPECT_EQ(form::resultNameOf("/списки/парк"), "парк-result.csv");
    EXPECT_EQ(form::resultNameOf("/списки/парк.XLSX"), "парк-result.XLSX");
}

TEST(FleetForm, AListTheBatchCannotReadGetsItsMessageAndNoResult)
{
    const support::TempFolder folder;
    const std::string sample = support::readFile(kExamples / "fleet.xlsx");
    struct Case {
        std::string file;
        std::string bytes;
        std::string message; // after the file's name
    };
    std::vector<Case> cases = {
        {"парк.xls",
            std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(504, '\0'),
            "это книга Excel 97-2003 (.xls) или книга, защищенная паролем; сохраните ее как .xlsx или .ods "
            "без пароля."},
        {"марки.csv",
            "Марка;ТБ\nВАЗ;1980\n",
            "в первой строке нет столбца «Категория». Первая строка файла должна называть столбцы; см. "
            "tarifmaster --batch --help."},
    };
    if (batch::workbooksSupported())
        cases.push_back(
            {"парк.xlsx", sample.substr(0, sample.size() / 2), "книга повреждена: архив ZIP не читается."});
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        const fs::path list = folder.path() / c.file;
        const fs::path result = folder.path() / form::resultNameOf(list);
        support::writeFile(list, c.bytes);
        support::writeFile(result, "прежний результат");
        RecordingFleet f;
        f.form.compute(list);
        ASSERT_TRUE(f.settle());
        const std::string message = "«" + list.string() + "»: " + c.message;
        EXPECT_EQ(f.messages, (Messages{{Kind::Warning, message}}));
        EXPECT_EQ(f.form.state(), FleetState::Failed);
        EXPECT_EQ(f.status, message + " Результат не записан.");
        EXPECT_TRUE(f.summary.empty() && f.rejectedRows.empty());
        EXPECT_EQ(f.enabled, buttons(false, false));
        EXPECT_EQ(support::readFile(result), "прежний результат");
        fs::remove(list);
        fs::remove(result);
        EXPECT_TRUE(support::listFolder(folder.path()).empty());
    }
}

TEST(FleetForm, StoppingChoosingAnotherListAndClosingEndARunWithoutTrace)
{
    const support::TempFolder folder;
    const fs::path work = folder.path() / "work";
    fs::create_directory(work);
    const support::TemporaryFilesIn workFiles(work);
    // 3 000 vehicles, as a workbook where the build reads them: its result is a workbook, with work files.
    const fs::path csv = folder.path() / "big.csv";
    support::writeFile(csv, support::repeatedList(kExamples / "fleet.csv", 3000));
    fs::path list = csv;
    if (batch::workbooksSupported()) {
        list = folder.path() / "big.xlsx";
        support::RecordingConsole console;
        ASSERT_EQ(batch::run({csv, list}, console), batch::kSomeRejected);
        fs::remove(csv);
    }
    const fs::path result = folder.path() / form::resultNameOf(list);
    support::writeFile(result, "прежний результат");
    fs::copy_file(kExamples / "fleet.csv", folder.path() / "fleet.csv");
    const std::vector<std::string> files = support::listFolder(folder.path());
    const auto untouched = [&] {
        EXPECT_EQ(support::readFile(result), "прежний результат");
        EXPECT_EQ(support::listFolder(folder.path()), files);
        EXPECT_TRUE(support::listFolder(work).empty());
    };
    std::atomic<bool> held = false;
    RecordingFleet f([&held](const batch::Options &options, batch::Console &console) {
        Holding holding(console, held);
        return batch::runSummarized(options, holding);
    });
    const auto startHeld = [&] {
        held = false;
        f.form.compute(list);
        return f.pumpUntil([&] {
            return held && f.progress > 0u;
        });
    };
    const auto within = [](std::chrono::steady_clock::time_point start) {
        return std::chrono::steady_clock::now() - start < std::chrono::seconds(1);
    };

    ASSERT_TRUE(startHeld());
    f.form.Stop_Click();
    EXPECT_EQ(f.form.state(), FleetState::Stopping);
    EXPECT_EQ(f.status, ft::kStopping);
    EXPECT_EQ(f.enabled, buttons(false, false));
    const auto stopped = std::chrono::steady_clock::now();
    ASSERT_TRUE(f.settle());
    EXPECT_TRUE(within(stopped));
    EXPECT_EQ(f.form.state(), FleetState::Stopped);
    EXPECT_EQ(f.status, ft::kStopped);
    EXPECT_FALSE(f.progress);
    untouched();

    // Another list chosen during a run: the run stops first, then the new list is computed.
    ASSERT_TRUE(startHeld());
    f.form.compute(folder.path() / "fleet.csv");
    EXPECT_EQ(f.form.state(), FleetState::Stopping);
    ASSERT_TRUE(f.settle());
    EXPECT_EQ(f.form.state(), FleetState::Done);
    EXPECT_EQ(f.summary.back().value, (folder.path() / "fleet-result.csv").string());
    fs::remove(folder.path() / "fleet-result.csv");
    untouched();

    // The window closed during a run: it waits for the run's end, and hears nothing after; the run is
    // over, and a list given afterwards is computed.
    ASSERT_TRUE(startHeld());
    const auto closed = std::chrono::steady_clock::now();
    f.form.close();
    EXPECT_TRUE(within(closed));
    ASSERT_TRUE(f.settle());
    EXPECT_EQ(f.form.state(), FleetState::Stopped);
    untouched();
    EXPECT_TRUE(f.messages.empty());
    f.form.compute(folder.path() / "fleet.csv");
    ASSERT_TRUE(f.settle());
    EXPECT_EQ(f.form.state(), FleetState::Done);
}

// A result file that another program holds open (Windows' file writer answers so), one that is
// write-protected, and a list's folder that cannot be written (where the tests run as root, only a
// batch that says so): the first run meets the trouble, the next ones are the batch's own.
TEST(FleetForm, AResultThatCannotReplaceItsFileGoesWhereTheUserSays)
{
    const auto troubled = [](batch::Failure failure, std::string reason) {
        return [failure, reason, first = std::make_shared<bool>(true)](
                   const batch::Options &options, batch::Console &console) {
            if (!std::exchange(*first, false))
                return batch::runSummarized(options, console);
            batch::RunSummary summary;
            summary.failure = failure;
            summary.message
                = "не удалось записать «" + options.output->string() + "»: " + reason + "; файл не изменен";
            return summary;
        };
    };
    const support::TempFolder folder;
    const fs::path list = folder.path() / "парк.csv";
    const fs::path result = folder.path() / "парк-result.csv";
    fs::copy_file(kExamples / "fleet.csv", list);
    support::writeFile(result, "прежний результат");

    {
        RecordingFleet f(troubled(batch::Failure::ResultBusy, "файл занят другой программой"));
        f.nameToChoose = folder.path() / "итог.csv";
        f.form.compute(list);
        ASSERT_TRUE(f.settle());
        EXPECT_EQ(f.messages, (Messages{{Kind::Question, filled(ft::kResultBusy, result.string())}}));
        ASSERT_EQ(f.dialogs.size(), 1u);
        EXPECT_EQ(f.dialogs[0].title, ft::kSaveResultTitle);
        EXPECT_EQ(f.dialogs[0].start, folder.path() / "парк-result (2).csv");
        EXPECT_EQ(f.dialogs[0].filters.front().patterns, "*.csv");
        EXPECT_EQ(f.form.state(), FleetState::Done);
        EXPECT_EQ(f.summary.back().value, (folder.path() / "итог.csv").string());
        EXPECT_EQ(support::readCsvRows(folder.path() / "итог.csv").size(), 13u);
    }
    {
        RecordingFleet f(troubled(batch::Failure::ResultProtected, "файл защищен от записи"));
        f.answer = false;
        f.form.compute(list);
        ASSERT_TRUE(f.settle());
        EXPECT_EQ(f.messages, (Messages{{Kind::Question, filled(ft::kResultProtected, result.string())}}));
        EXPECT_TRUE(f.dialogs.empty());
        EXPECT_EQ(f.form.state(), FleetState::Failed);
        EXPECT_EQ(f.status,
            "Не удалось записать «" + result.string()
                + "»: файл защищен от записи; файл не изменен. Результат не записан.");
    }
    {
        RecordingFleet f(troubled(batch::Failure::ResultFolder, "нет прав на запись в папку"));
        f.documents = folder.path() / "Документы";
        f.form.compute(list);
        ASSERT_TRUE(f.settle());
        const fs::path moved = f.documents / "парк-result.csv";
        EXPECT_TRUE(f.messages.empty());
        EXPECT_EQ(f.form.state(), FleetState::Done);
        EXPECT_EQ(f.status, filled(ft::kDoneInDocuments, moved.string()));
        EXPECT_EQ(f.summary.back().value, moved.string());
        EXPECT_TRUE(fs::exists(moved));
    }
    EXPECT_EQ(support::readFile(result), "прежний результат");
    EXPECT_EQ(support::listFolder(folder.path()),
        (std::vector<std::string>{"Документы", "итог.csv", "парк-result.csv", "парк.csv"}));
}

// The command lines a desktop hands over, and the window each asks for.
TEST(FleetStart, TheCommandLineOpensTheFleetWindowWithAListOrWithout)
{
    struct Case {
        std::vector<std::string_view> arguments;
        form::WindowRequest request;
    };
    const Case cases[] = {
        {{}, {}},
        {{"--fleet"}, {true, std::nullopt}},
        {{"--fleet", "/дом/парк.xlsx"}, {true, "/дом/парк.xlsx"}},
        {{"--fleet=C:\\Автопарк\\парк.csv"}, {true, "C:\\Автопарк\\парк.csv"}},
        {{"парк.ods"}, {true, "парк.ods"}}, // "Open with", a drop on the icon
        {{"-style", "fusion"}, {}},         // the toolkit's own
        {{"--reverse"}, {}},
        {{"--fleet", "a.csv", "b.csv"}, {}}, // one list at a time
        {{"a.csv", "b.csv"}, {}},
        {{"--fleet="}, {}},
        {{""}, {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(form::windowRequest(c.arguments), c.request) << (c.arguments.empty() ? "" : c.arguments[0]);
}
