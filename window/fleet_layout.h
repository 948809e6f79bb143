// The fleet window's widgets and their places, top to bottom: the status line, the progress bar, the
// summary (a caption and its value a line), the rejected rows with the line below them, and the four
// buttons in a row. Every widget carries the object name written beside it; the window fills them in
// as the fleet form says (fleet_window.h).
#pragma once

#include "form/fleet_controls.h"

class QAbstractItemModel;
class QFormLayout;
class QLabel;
class QProgressBar;
class QPushButton;
class QTreeView;
class QWidget;

namespace window {

struct FleetWidgets {
    QLabel *status = nullptr;         // Status
    QProgressBar *progress = nullptr; // Progress
    QWidget *summary = nullptr;       // Summary, its lines in summaryLines
    QFormLayout *summaryLines = nullptr;
    QTreeView *rejectedRows = nullptr;   // RejectedRows
    QLabel *moreRejected = nullptr;      // MoreRejected
    QPushButton *choose = nullptr;       // Choose
    QPushButton *stop = nullptr;         // Stop
    QPushButton *openResult = nullptr;   // OpenResult
    QPushButton *showInFolder = nullptr; // ShowInFolder

    QPushButton *button(form::FleetButton which) const;
};

// A label of plain text that wraps and that the user may select and copy, as the window's lines are.
QLabel *selectableText(QWidget *parent);

// Builds the widgets into window, the rejected rows shown from rows.
FleetWidgets buildFleetWidgets(QWidget &window, QAbstractItemModel &rows);

} // namespace window
