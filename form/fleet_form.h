// The fleet window as behaviour, written once for every front: a vehicle list chosen, computed by the
// batch off the window's thread with its progress and a way to stop it, then its summary, its rejected
// rows and the result to open or show in its folder.
//
// The result lies beside the list, named as the page names it (resultNameOf, fleet_summary.h); where
// that folder cannot be written, in the user's documents folder, and the status line says so. A result
// file that another program holds open, or that is write-protected, is offered a name of the user's
// choice in the same folder; the earlier file stays as it was. A list the batch cannot read gets the
// batch's message.
// Stopping, closing the window and choosing another list during a run end it within a second (unless
// an .xlsx result is being packed: batch.h): nothing is written and no work file is left.
//
// A front calls the handlers below on the window's thread, from its controls' events.
#pragma once

#include "batch/batch.h"
#include "form/fleet_controls.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

namespace form {

enum class FleetState {
    Waiting,  // no list yet
    Running,  // a list is computed
    Stopping, // a stop is asked for and the run has not ended yet
    Done,     // the result is written: the summary and the rejected rows show
    Stopped,  // the run was stopped: nothing written
    Failed,   // nothing written: the status line says why
};

class FleetForm {
public:
    // How a list is computed: the batch, or what a test puts in its place.
    using Runner = std::function<batch::RunSummary(const batch::Options &, batch::Console &)>;

    explicit FleetForm(FleetControls &controls, Runner runner = batch::runSummarized);
    // Closes the form first.
    ~FleetForm();
    FleetForm(const FleetForm &) = delete;
    FleetForm &operator=(const FleetForm &) = delete;

    // Once, before the window is first shown: the first look of every control.
    void open();

    // "Выбрать список…": the open dialog, then the list chosen.
    void Choose_Click();
    // A list given otherwise: dropped on the window, named on the command line. A name relative to the
    // current folder is made whole first, so that the messages and the result name the file wherever it
    // lies. During a run, the run stops first, then the list is computed.
    void compute(const std::filesystem::path &list);
    void Stop_Click();
    void OpenResult_Click();
    void ShowInFolder_Click();

    // The window closes: a run is stopped and waited for (under a second), and nothing it still reports
    // reaches the form. The front may destroy the form and its controls afterwards.
    void close();

    FleetState state() const
    {
        return m_state;
    }

    struct Job; // a run, shared by the form and the thread that runs it

private:
    // A run of list into output; inDocuments: the documents folder stands in for the list's.
    void start(
        const std::filesystem::path &list, const std::filesystem::path &output, bool inDocuments = false);
    // A run of list with its result beside it.
    void startBeside(const std::filesystem::path &list);
    bool running() const
    {
        return m_state == FleetState::Running || m_state == FleetState::Stopping;
    }
    void progressed(const Job &job, unsigned percent);
    void finished(const Job &job, batch::RunSummary summary);
    bool writeToDocuments();
    void showDone(batch::RunSummary summary);
    void offerAnotherName(const batch::RunSummary &summary);
    void showFailure(const std::string &message);
    void setState(FleetState state);

    FleetControls &m_controls;
    Runner m_runner;
    FleetState m_state = FleetState::Waiting;
    std::shared_ptr<Job> m_job;                  // the run going on, or the last one
    std::optional<std::filesystem::path> m_next; // the list to compute once the run has stopped
    std::filesystem::path m_list;                // the list of the last run
    std::filesystem::path m_output;              // where its result goes
    bool m_inDocuments = false;                  // the result goes to the documents folder
    batch::RunSummary m_summary;                 // of the last run that wrote its result
};

} // namespace form
