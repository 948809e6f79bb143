#include "window/fleet_window.h"

#include "form/fleet_texts.h"
#include "window/accessibility.h"
#include "window/desktop.h"
#include "window/program_files.h"
#include "window/rejected_rows.h"
#include "window/text.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFormLayout>
#include <QLabel>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeView>

namespace window {

namespace ft = form::fleet_text;

namespace {

// The dialog's kinds of file as Qt writes them: "Списки ТС (*.csv *.txt)".
FileChoice choiceOf(FileChoice::Kind kind, const form::FileDialog &dialog)
{
    FileChoice choice{kind, fromUtf8(dialog.title), fromPath(dialog.start), {}};
    for (const form::FileFilter &filter : dialog.filters)
        choice.filters << fromUtf8(filter.name) + QStringLiteral(" (")
                + fromUtf8(filter.patterns).replace(u';', u' ') + u')';
    return choice;
}

QLabel *summaryValue(std::string_view text, QWidget *parent)
{
    QLabel *value = selectableText(parent);
    value->setText(fromUtf8(text));
    return value;
}

} // namespace

QString droppedList(const QMimeData *data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1 || !data->urls().front().isLocalFile())
        return {};
    return data->urls().front().toLocalFile();
}

FleetWindow::FleetWindow(Desktop &desktop, form::FleetForm::Runner runner)
    : m_desktop(desktop)
    , m_rows(new RejectedRowsModel(this))
    , m_widgets(buildFleetWidgets(*this, *m_rows))
    , m_form(*this, std::move(runner))
{
    installAccessibility();
    setObjectName(QStringLiteral("FleetWindow"));
    setWindowTitle(fromUtf8(ft::kTitle));
    setAcceptDrops(true);
    const QFontMetrics metrics = fontMetrics();
    resize(metrics.averageCharWidth() * 100, metrics.height() * 30);
    bindButtons();
    m_form.open();
    m_widgets.choose->setFocus();
}

FleetWindow::~FleetWindow()
{
    m_form.close();
    if (m_run.joinable())
        m_run.join();
    m_rows->show({});
}

void FleetWindow::compute(const QString &list)
{
    m_form.compute(pathOf(list));
}

form::FleetState FleetWindow::state() const
{
    return m_form.state();
}

void FleetWindow::bindButtons()
{
    connect(m_widgets.choose, &QPushButton::clicked, this, [this] {
        m_form.Choose_Click();
    });
    connect(m_widgets.stop, &QPushButton::clicked, this, [this] {
        m_form.Stop_Click();
    });
    connect(m_widgets.openResult, &QPushButton::clicked, this, [this] {
        m_form.OpenResult_Click();
    });
    connect(m_widgets.showInFolder, &QPushButton::clicked, this, [this] {
        m_form.ShowInFolder_Click();
    });
}

void FleetWindow::closeEvent(QCloseEvent *event)
{
    hide();
    m_form.close();
    QWidget::closeEvent(event);
}

void FleetWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedList(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void FleetWindow::dropEvent(QDropEvent *event)
{
    const QString list = droppedList(event->mimeData());
    if (list.isEmpty())
        return;
    event->acceptProposedAction();
    compute(list);
}

// The form's view of the widgets.

void FleetWindow::showStatus(std::string_view text)
{
    m_widgets.status->setText(fromUtf8(text));
}

void FleetWindow::showProgress(std::optional<unsigned> percent)
{
    if (percent)
        m_widgets.progress->setValue(static_cast<int>(*percent));
    m_widgets.progress->setVisible(percent.has_value());
}

void FleetWindow::showSummary(std::span<const form::SummaryLine> lines)
{
    QFormLayout *form = m_widgets.summaryLines;
    while (form->rowCount() > 0)
        form->removeRow(0);
    for (const form::SummaryLine &line : lines)
        form->addRow(fromUtf8(line.caption) + u':', summaryValue(line.value, m_widgets.summary));
    m_widgets.summary->setVisible(!lines.empty());
}

void FleetWindow::showRejectedRows(std::span<const batch::RejectedRow> rows, std::string_view more)
{
    m_rows->show(rows);
    m_widgets.rejectedRows->setVisible(!rows.empty());
    m_widgets.moreRejected->setText(fromUtf8(more));
    m_widgets.moreRejected->setVisible(!more.empty());
}

void FleetWindow::enable(form::FleetButton button, bool enabled)
{
    m_widgets.button(button)->setEnabled(enabled);
}

void FleetWindow::warn(std::string_view text)
{
    m_desktop.warn(this, fromUtf8(text));
}

bool FleetWindow::ask(std::string_view text)
{
    return m_desktop.ask(this, fromUtf8(text));
}

std::optional<std::filesystem::path> FleetWindow::chooseList(const form::FileDialog &dialog)
{
    const QString chosen = m_desktop.chooseFile(this, choiceOf(FileChoice::Kind::Open, dialog));
    return chosen.isEmpty() ? std::nullopt : std::optional(pathOf(chosen));
}

std::optional<std::filesystem::path> FleetWindow::chooseResultName(const form::FileDialog &dialog)
{
    const QString chosen = m_desktop.chooseFile(this, choiceOf(FileChoice::Kind::Save, dialog));
    return chosen.isEmpty() ? std::nullopt : std::optional(pathOf(chosen));
}

bool FleetWindow::openFile(const std::filesystem::path &file)
{
    return m_desktop.open(QUrl::fromLocalFile(fromPath(file)));
}

bool FleetWindow::showInFolder(const std::filesystem::path &file)
{
    return m_desktop.showInFolder(fromPath(file));
}

std::filesystem::path FleetWindow::documentsFolder() const
{
    return pathOf(window::documentsFolder());
}

// A run starts only once the one before it has told its end (the form waits for that), so the threads
// of earlier runs have ended or are about to: joining them costs nothing.
void FleetWindow::runInBackground(std::function<void()> work)
{
    if (m_run.joinable())
        m_run.join();
    m_run = std::thread(std::move(work));
}

void FleetWindow::postToWindow(std::function<void()> task)
{
    QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
}

} // namespace window
