#include "support/recording_fleet.h"

namespace support {

RecordingFleet::RecordingFleet(form::FleetForm::Runner runner)
    : form(*this, std::move(runner))
{
    form.open();
}

RecordingFleet::~RecordingFleet()
{
    form.close();
    for (std::thread &thread : m_threads)
        thread.join();
}

bool RecordingFleet::pumpUntil(const std::function<bool()> &done, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        std::function<void()> task;
        {
            std::unique_lock lock(m_mutex);
            m_posted.wait_for(lock, std::chrono::milliseconds(5), [this] {
                return !m_tasks.empty();
            });
            if (!m_tasks.empty()) {
                task = std::move(m_tasks.front());
                m_tasks.pop_front();
            }
        }
        if (task)
            task();
        else if (std::chrono::steady_clock::now() > deadline)
            return false;
    }
    return true;
}

bool RecordingFleet::settle(std::chrono::milliseconds timeout)
{
    return pumpUntil(
        [this] {
            const std::lock_guard lock(m_mutex);
            return m_running == 0 && m_tasks.empty();
        },
        timeout);
}

void RecordingFleet::showStatus(std::string_view text)
{
    status = text;
}

void RecordingFleet::showProgress(std::optional<unsigned> percent)
{
    progress = percent;
}

void RecordingFleet::showSummary(std::span<const form::SummaryLine> lines)
{
    summary.assign(lines.begin(), lines.end());
}

void RecordingFleet::showRejectedRows(std::span<const batch::RejectedRow> rows, std::string_view more)
{
    rejectedRows.assign(rows.begin(), rows.end());
    moreRejected = more;
}

void RecordingFleet::enable(form::FleetButton button, bool on)
{
    enabled[button] = on;
}

void RecordingFleet::warn(std::string_view text)
{
    messages.push_back({Message::Kind::Warning, std::string(text)});
}

bool RecordingFleet::ask(std::string_view text)
{
    messages.push_back({Message::Kind::Question, std::string(text)});
    return answer;
}

std::optional<std::filesystem::path> RecordingFleet::chooseList(const form::FileDialog &dialog)
{
    dialogs.push_back(dialog);
    return listToChoose;
}

std::optional<std::filesystem::path> RecordingFleet::chooseResultName(const form::FileDialog &dialog)
{
    dialogs.push_back(dialog);
    return nameToChoose;
}

bool RecordingFleet::openFile(const std::filesystem::path &file)
{
    opened.push_back(file);
    return true;
}

bool RecordingFleet::showInFolder(const std::filesystem::path &file)
{
    shownInFolder.push_back(file);
    return true;
}

std::filesystem::path RecordingFleet::documentsFolder() const
{
    return documents;
}

void RecordingFleet::runInBackground(std::function<void()> work)
{
    const std::lock_guard lock(m_mutex);
    ++m_running;
    m_threads.emplace_back([this, work = std::move(work)] {
        work();
        const std::lock_guard ended(m_mutex);
        --m_running;
    });
}

void RecordingFleet::postToWindow(std::function<void()> task)
{
    {
        const std::lock_guard lock(m_mutex);
        m_tasks.push_back(std::move(task));
    }
    m_posted.notify_all();
}

} // namespace support
