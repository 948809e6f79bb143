// What the fleet form asks of a front: the few controls of the fleet window, its dialogs and the
// shell, and a way to run the batch off the window's thread and come back onto it. The Qt window and
// the Windows program each implement it over their own controls; the tests implement it over plain data.
//
// The window's controls are a status line, a progress bar, the summary (captions and values), the
// rejected rows (a list of three columns: fleet_text::kRowColumn, kColumnsColumn, kReasonColumn, with a
// line below it) and four buttons; their captions and the window's title are in form/fleet_texts.h.
// Every call but postToWindow comes on the window's thread.
#pragma once

#include "batch/batch.h"
#include "form/fleet_summary.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace form {

enum class FleetButton {
    Choose,       // fleet_text::kChooseButton
    Stop,         // kStopButton
    OpenResult,   // kOpenResultButton
    ShowInFolder, // kShowInFolderButton
};

// A kind of file a dialog offers: its name and its patterns, ';' between them ("*.csv;*.txt"), as the
// Windows dialogs take them (Qt's take them with spaces: "Name (*.csv *.txt)").
struct FileFilter {
    std::string_view name;
    std::string_view patterns;
};

// An open or save dialog: its title, where it starts (a folder; for a save dialog the file suggested,
// its folder and name), and the kinds of file it offers, the first chosen.
struct FileDialog {
    std::string_view title;
    std::filesystem::path start;
    std::vector<FileFilter> filters;
};

class FleetControls {
public:
    virtual ~FleetControls() = default;

    // The status line: what the window is doing, or what it did.
    virtual void showStatus(std::string_view text) = 0;
    // The progress bar at percent, 0 to 100; nothing hides it.
    virtual void showProgress(std::optional<unsigned> percent) = 0;
    // The summary of the last run, in this order; no lines hide it.
    virtual void showSummary(std::span<const SummaryLine> lines) = 0;
    // The rejected rows in their list (the row number, the columns, the reason), and below it more, the
    // rows not listed; no rows and an empty more hide both. The rows stay valid until the next call.
    virtual void showRejectedRows(std::span<const batch::RejectedRow> rows, std::string_view more) = 0;
    virtual void enable(FleetButton button, bool enabled) = 0;

    // Message boxes titled fleet_text::kTitle, with the warning icon or the question's, and "Да" (true)
    // and "Нет" for a question; each returns when the user has closed it.
    virtual void warn(std::string_view text) = 0;
    virtual bool ask(std::string_view text) = 0;

    // The open dialog for a list, and the save dialog for a result; nothing when the user cancels.
    virtual std::optional<std::filesystem::path> chooseList(const FileDialog &dialog) = 0;
    virtual std::optional<std::filesystem::path> chooseResultName(const FileDialog &dialog) = 0;
    // A file handed to the user's default program for it, and a file shown selected in the file
    // manager (its folder opened, where the platform cannot select a file). False when refused.
    virtual bool openFile(const std::filesystem::path &file) = 0;
    virtual bool showInFolder(const std::filesystem::path &file) = 0;
    // The user's documents folder, where a result goes when the list's folder cannot be written.
    virtual std::filesystem::path documentsFolder() const = 0;

    // Runs work off the window's thread (a thread of its own) and returns at once. The work uses
    // nothing of these controls but postToWindow. A test may run it at once, before returning.
    virtual void runInBackground(std::function<void()> work) = 0;
    // Runs task on the window's thread, after what that thread is doing now; called from any thread.
    // A front whose window is gone may drop it.
    virtual void postToWindow(std::function<void()> task) = 0;
};

} // namespace form
