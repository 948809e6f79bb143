// The Qt front of the fleet window: the widgets of fleet_layout.h behind the fleet form's controls
// interface, its buttons wired to the form's handlers, its boxes, dialogs and shell behind the desktop
// seam, and its runs on threads of their own, whose word comes back through the window's event queue.
// A list dropped on it is computed at once. What the window does is the form's (form/fleet_form.h).
//
// Closing the window hides it at once, then stops a run and waits for it (under a second): nothing is
// written then. A closed fleet window is not shown again; the main window opens a new one.
#pragma once

#include "form/fleet_controls.h"
#include "form/fleet_form.h"
#include "window/fleet_layout.h"

#include <QString>
#include <QWidget>

#include <thread>
#include <vector>

class QMimeData;

namespace window {

class Desktop;
class RejectedRowsModel;

// The one local file a drag carries, or an empty text: what a drop on a window hands over as a list.
QString droppedList(const QMimeData *data);

class FleetWindow : public QWidget, private form::FleetControls {
    Q_OBJECT
public:
    // runner computes the lists: the batch, or what a tool or a test puts in its place.
    explicit FleetWindow(Desktop &desktop, form::FleetForm::Runner runner = batch::runSummarized);
    ~FleetWindow() override;
    FleetWindow(const FleetWindow &) = delete;
    FleetWindow &operator=(const FleetWindow &) = delete;

    // A list named on the command line or dropped on the main window, computed at once.
    void compute(const QString &list);
    form::FleetState state() const;

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void bindButtons();

    // form::FleetControls
    void showStatus(std::string_view text) override;
    void showProgress(std::optional<unsigned> percent) override;
    void showSummary(std::span<const form::SummaryLine> lines) override;
    void showRejectedRows(std::span<const batch::RejectedRow> rows, std::string_view more) override;
    void enable(form::FleetButton button, bool enabled) override;
    void warn(std::string_view text) override;
    bool ask(std::string_view text) override;
    std::optional<std::filesystem::path> chooseList(const form::FileDialog &dialog) override;
    std::optional<std::filesystem::path> chooseResultName(const form::FileDialog &dialog) override;
    bool openFile(const std::filesystem::path &file) override;
    bool showInFolder(const std::filesystem::path &file) override;
    std::filesystem::path documentsFolder() const override;
    void runInBackground(std::function<void()> work) override;
    void postToWindow(std::function<void()> task) override;

    Desktop &m_desktop;
    RejectedRowsModel *m_rows;
    FleetWidgets m_widgets;
    std::thread m_run;      // the last run's
    form::FleetForm m_form; // last: it is closed first, while everything it works on is still there
};

} // namespace window
