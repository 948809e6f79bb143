// The fleet form over plain data: what the window would show recorded (status, progress, summary,
// rejected rows, buttons, messages), the dialogs and the shell answered from fields, runs on threads of
// their own, and the test's thread as the window's, running what the runs post to it when the test
// pumps. No toolkit: the fleet window's behaviour is tested here, once for every front.
#pragma once

#include "form/fleet_controls.h"
#include "form/fleet_form.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <thread>

namespace support {

class RecordingFleet : public form::FleetControls {
public:
    struct Message {
        enum class Kind { Warning, Question };
        Kind kind;
        std::string text;
        bool operator==(const Message &) const = default;
    };

    // Runs the start-up of a form that computes with runner.
    explicit RecordingFleet(form::FleetForm::Runner runner = batch::runSummarized);
    // Closes the form, as the window's closing does, and waits for the runs' threads.
    ~RecordingFleet() override;
    RecordingFleet(const RecordingFleet &) = delete;
    RecordingFleet &operator=(const RecordingFleet &) = delete;

    // Runs what was posted to the window until done() holds; false when timeout passed first.
    bool pumpUntil(
        const std::function<bool()> &done, std::chrono::milliseconds timeout = std::chrono::seconds(60));
    // Pumps until no run is going on and nothing is left to run on the window's thread.
    bool settle(std::chrono::milliseconds timeout = std::chrono::seconds(60));

    // What the window shows.
    std::string status;
    std::optional<unsigned> progress;
    std::vector<form::SummaryLine> summary;
    std::vector<batch::RejectedRow> rejectedRows;
    std::string moreRejected;
    std::map<form::FleetButton, bool> enabled;
    std::vector<Message> messages;
    // The dialogs: what they were opened with, and how the user answers them.
    std::vector<form::FileDialog> dialogs;
    std::optional<std::filesystem::path> listToChoose;
    std::optional<std::filesystem::path> nameToChoose;
    bool answer = true; // to every question
    // The shell.
    std::vector<std::filesystem::path> opened;
    std::vector<std::filesystem::path> shownInFolder;
    std::filesystem::path documents = "/home/агент/Документы";

    // form::FleetControls
    void showStatus(std::string_view text) override;
    void showProgress(std::optional<unsigned> percent) override;
    void showSummary(std::span<const form::SummaryLine> lines) override;
    void showRejectedRows(std::span<const batch::RejectedRow> rows, std::string_view more) override;
    void enable(form::FleetButton button, bool on) override;
    void warn(std::string_view text) override;
    bool ask(std::string_view text) override;
    std::optional<std::filesystem::path> chooseList(const form::FileDialog &dialog) override;
    std::optional<std::filesystem::path> chooseResultName(const form::FileDialog &dialog) override;
    bool openFile(const std::filesystem::path &file) override;
    bool showInFolder(const std::filesystem::path &file) override;
    std::filesystem::path documentsFolder() const override;
    void runInBackground(std::function<void()> work) override;
    void postToWindow(std::function<void()> task) override;

private:
    std::mutex m_mutex;
    std::condition_variable m_posted;
    std::deque<std::function<void()>> m_tasks;
    int m_running = 0; // runs whose thread has not ended
    std::vector<std::thread> m_threads;

public:
    form::FleetForm form; // after what it works on
};

} // namespace support
