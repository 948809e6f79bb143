#include "window/fleet_layout.h"

#include "form/fleet_texts.h"
#include "window/controls.h"
#include "window/text.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace window {

namespace ft = form::fleet_text;

QLabel *selectableText(QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

namespace {

QLabel *textLine(const QString &name, QWidget &window)
{
    QLabel *label = selectableText(&window);
    label->setObjectName(name);
    return label;
}

QPushButton *button(const QString &name, std::string_view caption, QWidget &window)
{
    auto *button = new CommandButton(fromUtf8(caption), &window); // Return presses it, as in the main window
    button->setObjectName(name);
    return button;
}

// The rows as a list with a header, one line a row: a row's number, its columns, then its reason over
// the rest of the width.
QTreeView *rejectedRowsView(QWidget &window, QAbstractItemModel &rows)
{
    auto *view = new QTreeView(&window);
    view->setObjectName(QStringLiteral("RejectedRows"));
    view->setAccessibleName(fromUtf8(ft::kRejectedRowsName));
    view->setModel(&rows);
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setUniformRowHeights(true); // 10 000 rows are laid out without asking each its height
    view->setAllColumnsShowFocus(true);
    view->setAlternatingRowColors(true);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setTextElideMode(Qt::ElideRight);
    QHeaderView *header = view->header();
    header->setStretchLastSection(true);
    // As wide as its caption or as a long entry of its own, whichever is wider: a spreadsheet's last row
    // number (7 digits), two columns' names (some 14 letters).
    const QFontMetrics metrics = view->fontMetrics();
    const auto width = [&metrics](std::string_view caption, int letters) {
        return std::max(metrics.horizontalAdvance(fromUtf8(caption)), metrics.averageCharWidth() * letters)
            + metrics.averageCharWidth() * 4;
    };
    header->resizeSection(0, width(ft::kRowColumn, 7));
    header->resizeSection(1, width(ft::kColumnsColumn, 14));
    return view;
}

} // namespace

QPushButton *FleetWidgets::button(form::FleetButton which) const
{
    switch (which) {
    case form::FleetButton::Choose:
        return choose;
    case form::FleetButton::Stop:
        return stop;
    case form::FleetButton::OpenResult:
        return openResult;
    case form::FleetButton::ShowInFolder:
        return showInFolder;
    }
    return nullptr;
}

FleetWidgets buildFleetWidgets(QWidget &window, QAbstractItemModel &rows)
{
    FleetWidgets w;
    w.status = textLine(QStringLiteral("Status"), window);
    w.progress = new QProgressBar(&window);
    w.progress->setObjectName(QStringLiteral("Progress"));
    w.progress->setAccessibleName(fromUtf8(ft::kProgressName));
    w.progress->setRange(0, 100);
    w.progress->setFormat(QStringLiteral("%p\u00a0%"));
    w.summary = new QWidget(&window);
    w.summary->setObjectName(QStringLiteral("Summary"));
    w.summaryLines = new QFormLayout(w.summary);
    w.summaryLines->setContentsMargins(0, 0, 0, 0);
    w.summaryLines->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    w.rejectedRows = rejectedRowsView(window, rows);
    w.moreRejected = textLine(QStringLiteral("MoreRejected"), window);
    w.choose = button(QStringLiteral("Choose"), ft::kChooseButton, window);
    w.stop = button(QStringLiteral("Stop"), ft::kStopButton, window);
    w.openResult = button(QStringLiteral("OpenResult"), ft::kOpenResultButton, window);
    w.showInFolder = button(QStringLiteral("ShowInFolder"), ft::kShowInFolderButton, window);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(w.choose);
    buttons->addWidget(w.stop);
    buttons->addStretch(1);
    buttons->addWidget(w.openResult);
    buttons->addWidget(w.showInFolder);
    // While no rejected rows show, the two stretches share the height, and what shows (a hint, the
    // progress, a failure, a summary) stands in the middle; the rows take all of it when they show.
    auto *column = new QVBoxLayout(&window);
    column->addStretch(0);
    column->addWidget(w.status);
    column->addWidget(w.progress);
    column->addWidget(w.summary);
    column->addWidget(w.rejectedRows, 1);
    column->addWidget(w.moreRejected);
    column->addStretch(0);
    column->addLayout(buttons);
    return w;
}

} // namespace window
