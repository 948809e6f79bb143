#include "form/fleet_form.h"

#include "form/fleet_summary.h"
#include "form/fleet_texts.h"
#include "report/file_writer.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <system_error>
#include <utility>

namespace form {

namespace ft = fleet_text;

// A run: what its thread and the window share. The window's thread alone reads and writes form; the
// run's thread asks stop and, at its very end, says it has ended.
struct FleetForm::Job {
    Job(FleetControls &windowControls, FleetForm *windowForm)
        : controls(windowControls)
        , form(windowForm)
    {
    }

    // On the run's thread: the share read, and the end, handed to the window's thread.
    static void reportProgress(const std::shared_ptr<Job> &job, unsigned percent)
    {
        job->controls.postToWindow([job, percent] {
            if (job->form != nullptr)
                job->form->progressed(*job, percent);
        });
    }
    static void reportEnd(const std::shared_ptr<Job> &job, batch::RunSummary summary)
    {
        job->controls.postToWindow([job, summary = std::move(summary)]() mutable {
            if (job->form != nullptr)
                job->form->finished(*job, std::move(summary));
        });
        const std::lock_guard lock(job->mutex); // the last touch of the controls is behind
        job->ended = true;
        job->endedSignal.notify_all();
    }

    void waitForEnd()
    {
        std::unique_lock lock(mutex);
        endedSignal.wait(lock, [this] {
            return ended;
        });
    }

    FleetControls &controls;
    FleetForm *form; // nullptr once the form is closed
    std::atomic<bool> stop{false};
    std::mutex mutex;
    std::condition_variable endedSignal;
    bool ended = false;
};

namespace {

// The batch's console on the run's thread: the share of the file read goes to the window, a stop comes
// from it; the lines the console program prints are the summary's, shown by the window in its own way.
class JobConsole : public batch::QuietConsole {
public:
    explicit JobConsole(std::shared_ptr<FleetForm::Job> job)
        : m_job(std::move(job))
    {
    }
    void progressed(unsigned percent) override
    {
        if (percent != m_percent)
            FleetForm::Job::reportProgress(m_job, percent);
        m_percent = percent;
    }
    bool stopRequested() override
    {
        return m_job->stop.load(std::memory_order_relaxed);
    }

private:
    std::shared_ptr<FleetForm::Job> m_job;
    unsigned m_percent = 0;
};

FileFilter filterOf(const std::filesystem::path &result)
{
    const std::string extension = extensionOf(result);
    if (extension == ".xlsx")
        return {ft::kXlsxFilterName, "*.xlsx"};
    if (extension == ".ods")
        return {ft::kOdsFilterName, "*.ods"};
    return {ft::kCsvFilterName, "*.csv"};
}

// Another name for a result beside it: "парк-result (2).xlsx", or the next number that is free.
std::filesystem::path anotherName(const std::filesystem::path &result)
{
    std::filesystem::path candidate;
    for (int number = 2; number < 100; ++number) {
        candidate = result.parent_path()
            / report::pathOfUtf8(report::utf8Text(result.stem()) + " (" + std::to_string(number) + ")"
                + report::utf8Text(result.extension()));
        std::error_code error;
        if (!std::filesystem::exists(candidate, error))
            break;
    }
    return candidate;
}

} // namespace

FleetForm::FleetForm(FleetControls &controls, Runner runner)
    : m_controls(controls)
    , m_runner(std::move(runner))
{
}

FleetForm::~FleetForm()
{
    close();
}

void FleetForm::open()
{
    setState(FleetState::Waiting);
    m_controls.showStatus(ft::kChooseHint);
    m_controls.showSummary({});
    m_controls.showRejectedRows({}, {});
}

void FleetForm::Choose_Click()
{
    const FileDialog dialog{ft::kChooseListTitle,
        m_list.parent_path(),
        {{ft::kListFilterName, ft::kListPatterns}, {ft::kAllFilesName, "*"}}};
    if (const std::optional<std::filesystem::path> list = m_controls.chooseList(dialog))
        compute(*list);
}

void FleetForm::compute(const std::filesystem::path &list)
{
    std::error_code error;
    std::filesystem::path whole = std::filesystem::absolute(list, error).lexically_normal();
    if (error)
        whole = list;
    if (running()) {
        m_next = whole;
        Stop_Click();
        return;
    }
    startBeside(whole);
}

void FleetForm::Stop_Click()
{
    if (m_state != FleetState::Running || !m_job)
        return;
    m_job->stop = true;
    setState(FleetState::Stopping);
    m_controls.showStatus(ft::kStopping);
}

void FleetForm::OpenResult_Click()
{
    if (m_state == FleetState::Done && !m_controls.openFile(m_summary.written))
        m_controls.warn(filledText(ft::kCannotOpen, report::utf8Text(m_summary.written)));
}

void FleetForm::ShowInFolder_Click()
{
    if (m_state == FleetState::Done && !m_controls.showInFolder(m_summary.written))
        m_controls.warn(filledText(ft::kCannotShow, report::utf8Text(m_summary.written)));
}

void FleetForm::close()
{
    if (!m_job)
        return;
    m_job->stop = true;
    m_job->form = nullptr;
    m_job->waitForEnd();
    m_job.reset();
    m_next.reset();
    // The controls may be gone now: the state alone says that the run ended.
    if (running())
        m_state = FleetState::Stopped;
}

// Everything about the window is set before the run starts: a front that runs it at once, as a test
// does, may be told of its end before runInBackground returns.
void FleetForm::start(
    const std::filesystem::path &list, const std::filesystem::path &output, bool inDocuments)
{
    m_list = list;
    m_output = output;
    m_inDocuments = inDocuments;
    m_next.reset();
    m_summary = {};
    auto job = std::make_shared<Job>(m_controls, this);
    m_job = job;
    setState(FleetState::Running);
    m_controls.showStatus(filledText(ft::kRunning, report::utf8Text(list.filename())));
    m_controls.showProgress(0);
    m_controls.showSummary({});
    m_controls.showRejectedRows({}, {});
    batch::Options options;
    options.input = list;
    options.output = output;
    m_controls.runInBackground([job = std::move(job), options = std::move(options), runner = m_runner] {
        JobConsole console(job);
        Job::reportEnd(job, runner(options, console));
    });
}

void FleetForm::startBeside(const std::filesystem::path &list)
{
    start(list, list.parent_path() / resultNameOf(list));
}

void FleetForm::progressed(const Job &job, unsigned percent)
{
    if (&job == m_job.get() && running())
        m_controls.showProgress(percent);
}

void FleetForm::finished(const Job &job, batch::RunSummary summary)
{
    if (&job != m_job.get())
        return; // an earlier run's late word
    if (m_next) {
        startBeside(std::filesystem::path(*m_next));
        return;
    }
    switch (summary.failure) {
    case batch::Failure::None:
        showDone(std::move(summary));
        return;
    case batch::Failure::Stopped:
        setState(FleetState::Stopped);
        m_controls.showStatus(ft::kStopped);
        return;
    case batch::Failure::ResultFolder:
        if (!m_inDocuments && writeToDocuments())
            return;
        break;
    case batch::Failure::ResultBusy:
    case batch::Failure::ResultProtected:
        offerAnotherName(summary);
        return;
    case batch::Failure::List:
    case batch::Failure::Result:
        break;
    }
    m_controls.warn(sentenceOf(summary.message));
    showFailure(summary.message);
}

void FleetForm::showDone(batch::RunSummary summary)
{
    m_summary = std::move(summary);
    setState(FleetState::Done);
    const std::string written = report::utf8Text(m_summary.written);
    m_controls.showStatus(filledText(m_inDocuments ? ft::kDoneInDocuments : ft::kDone, written));
    m_controls.showSummary(summaryLinesOf(m_summary, written));
    m_controls.showRejectedRows(m_summary.rejectedRows, moreRejectedOf(m_summary));
}

// The list's folder cannot be written: the result goes to the documents folder, made when missing
// (a folder that cannot be made fails the run, which says why). False where there is none.
bool FleetForm::writeToDocuments()
{
    const std::filesystem::path documents = m_controls.documentsFolder();
    if (documents.empty())
        return false;
    std::error_code ignored;
    std::filesystem::create_directories(documents, ignored);
    start(m_list, documents / m_output.filename(), true);
    return true;
}

// A result file that another program holds, or that is write-protected: the user may name another, in
// the same folder to begin with; the earlier file stays as it was.
void FleetForm::offerAnotherName(const batch::RunSummary &summary)
{
    const std::string_view question
        = summary.failure == batch::Failure::ResultBusy ? ft::kResultBusy : ft::kResultProtected;
    if (m_controls.ask(filledText(question, report::utf8Text(m_output)))) {
        const FileDialog dialog{ft::kSaveResultTitle, anotherName(m_output), {filterOf(m_output)}};
        if (const std::optional<std::filesystem::path> chosen = m_controls.chooseResultName(dialog)) {
            start(m_list, *chosen);
            return;
        }
    }
    showFailure(summary.message);
}

void FleetForm::showFailure(const std::string &message)
{
    setState(FleetState::Failed);
    m_controls.showStatus(notWrittenText(message));
}

// The buttons and the progress bar of a state; the status line is the caller's.
void FleetForm::setState(FleetState state)
{
    m_state = state;
    m_controls.enable(FleetButton::Choose, true); // during a run, a new list stops it first
    m_controls.enable(FleetButton::Stop, state == FleetState::Running);
    m_controls.enable(FleetButton::OpenResult, state == FleetState::Done);
    m_controls.enable(FleetButton::ShowInFolder, state == FleetState::Done);
    if (!running())
        m_controls.showProgress(std::nullopt);
}

} // namespace form
