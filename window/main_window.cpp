#include "window/main_window.h"

#include "form/inventory.h"
#include "report/report.h"
#include "window/accessibility.h"
#include "window/controls.h"
#include "window/desktop.h"
#include "window/fleet_window.h"
#include "window/look.h"
#include "window/report_picture.h"
#include "window/text.h"
#include "window/widget_builder.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDropEvent>
#include <QFile>
#include <QLocale>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScopedValueRollback>
#include <QScreen>

#include <filesystem>

// The pictures are compiled into this library; a static library has to register them itself.
static void initPictures()
{
    Q_INIT_RESOURCE(pictures);
}

namespace window {

namespace {

// The time as the system writes it, to the second, without a time-zone name.
QString timeText(const QLocale &locale, const QTime &time)
{
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QRegularExpression(QStringLiteral("\\s*\\bt+\\b\\s*")));
    return locale.toString(time, format.trimmed());
}

} // namespace

MainWindow::MainWindow(Desktop &desktop, const QString &programFolder, QWidget *parent)
    : QWidget(parent)
    , m_desktop(desktop)
    , m_files(ProgramFiles::locate(programFolder))
    , m_form(*this)
{
    initPictures();
    installAccessibility();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(fromUtf8(form::kFormCaption));
    setWindowIcon(look::windowIcon());
    setFont(look::font(form::look::kNone));
    setPalette(look::windowPalette()); // the window keeps its own colours on a dark desktop
    setFixedSize(
        form::kClientWidthTwips / form::kTwipsPerPixel, form::kClientHeightTwips / form::kTwipsPerPixel);
    m_controls = buildControls(*this).controls;
    bindEvents();
    setAcceptDrops(true);
    m_form.Form_Load();
}

MainWindow::~MainWindow()
{
    delete m_fleet; // stops its run: nothing outlives the window that opened it
}

QWidget *MainWindow::control(const QString &name) const
{
    return m_controls.value(name);
}

QWidget *MainWindow::widgetOf(std::string_view control) const
{
    QWidget *widget = m_controls.value(fromUtf8(control));
    if (!widget) // the form names a control the inventory lost: nothing could work
        qFatal("Form1: no control %.*s", static_cast<int>(control.size()), control.data());
    return widget;
}

// Each widget raises the form's event for what the user does. Option buttons act when they become
// selected, and not when an already selected button is clicked again.
void MainWindow::bindEvents()
{
    for (const form::Handler &handler : form::kHandlers) {
        QWidget *widget = widgetOf(handler.control);
        const auto raise = [this, control = handler.control, event = handler.event] {
            if (!m_changingForForm)
                m_form.raise(control, event);
        };
        if (handler.event == form::Event::Change) {
            connect(qobject_cast<QLineEdit *>(widget), &QLineEdit::textChanged, this, raise);
        } else if (auto *list = qobject_cast<ListBox *>(widget)) {
            connect(list, &ListBox::Click, this, raise);
        } else if (auto *field = qobject_cast<TextBox *>(widget)) {
            connect(field, &TextBox::Click, this, raise);
        } else if (auto *combo = qobject_cast<ComboBox *>(widget)) {
            connect(combo, &ComboBox::Click, this, raise);
        } else if (auto *link = qobject_cast<LinkLabel *>(widget)) {
            connect(link, &LinkLabel::Click, this, raise);
        } else if (auto *option = qobject_cast<QRadioButton *>(widget)) {
            connect(option, &QRadioButton::toggled, this, [raise](bool selected) {
                if (selected)
                    raise();
            });
        } else if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
            connect(button, &QAbstractButton::clicked, this, raise);
        } else {
            qFatal("Form1: %s cannot raise its event", qPrintable(widget->objectName()));
        }
    }
}

void MainWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_centred) {
        m_centred = true;
        centreOnScreen();
    }
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedList(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

// A fleet window that is open takes the list (stopping its run first); a closed one is not shown again.
void MainWindow::dropEvent(QDropEvent *event)
{
    const QString list = droppedList(event->mimeData());
    if (list.isEmpty())
        return;
    event->acceptProposedAction();
    if (!m_fleet || !m_fleet->isVisible()) {
        delete m_fleet;
        m_fleet = new FleetWindow(m_desktop);
        m_fleet->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_fleet->show();
    m_fleet->raise();
    m_fleet->activateWindow();
    m_fleet->compute(list);
}

void MainWindow::centreOnScreen()
{
    if (const QScreen *screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

// The form's view of the widgets.

std::string MainWindow::text(std::string_view control) const
{
    const QWidget *widget = widgetOf(control);
    if (const auto *field = qobject_cast<const QLineEdit *>(widget))
        return toUtf8(field->text());
    if (const auto *combo = qobject_cast<const QComboBox *>(widget))
        return toUtf8(combo->currentText());
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        return toUtf8(label->text());
    return {};
}

void MainWindow::setText(std::string_view control, std::string_view text)
{
    const QScopedValueRollback changing(m_changingForForm, true);
    QWidget *widget = widgetOf(control);
    if (auto *field = qobject_cast<QLineEdit *>(widget))
        field->setText(fromUtf8(text));
    else if (auto *combo = qobject_cast<QComboBox *>(widget))
        combo->setEditText(fromUtf8(text));
    else if (auto *label = qobject_cast<QLabel *>(widget))
        label->setText(fromUtf8(text));
}

std::optional<std::string> MainWindow::chosenEntry(std::string_view list) const
{
    if (const auto *box = qobject_cast<const ListBox *>(widgetOf(list)))
        if (const QListWidgetItem *item = box->currentItem())
            return toUtf8(item->text());
    return std::nullopt;
}

void MainWindow::setEntries(std::string_view list, std::span<const std::string_view> entries)
{
    const QScopedValueRollback changing(m_changingForForm, true);
    auto *box = qobject_cast<ListBox *>(widgetOf(list));
    box->clear();
    box->addItems(fromUtf8List(entries));
}

void MainWindow::setHeight(std::string_view control, int twips)
{
    QWidget *widget = widgetOf(control);
    widget->resize(widget->width(), twips / form::kTwipsPerPixel);
}

void MainWindow::setLooks(std::string_view control, unsigned looks)
{
    QWidget *widget = widgetOf(control);
    // Back to the window's own font and colours, then the looks asked for.
    widget->setPalette(QPalette());
    widget->setFont(QFont());
    widget->setAutoFillBackground(false);
    look::apply(widget, looks);
}

bool MainWindow::checked(std::string_view control) const
{
    const auto *button = qobject_cast<const QAbstractButton *>(widgetOf(control));
    return button && button->isChecked();
}

void MainWindow::select(std::string_view option)
{
    const QScopedValueRollback changing(m_changingForForm, true);
    qobject_cast<QRadioButton *>(widgetOf(option))->setChecked(true);
}

void MainWindow::setVisible(std::string_view control, bool visible)
{
    widgetOf(control)->setVisible(visible);
}

void MainWindow::inform(std::string_view text)
{
    m_desktop.inform(this, fromUtf8(text));
}

void MainWindow::warn(std::string_view text)
{
    m_desktop.warn(this, fromUtf8(text));
}

void MainWindow::open(const form::ShellTarget &target)
{
    m_desktop.open(targetUrl(target, m_files.dataFolder));
}

report::WriteResult MainWindow::saveReport(form::ReportKind kind, const report::ReportInput &input)
{
    const std::filesystem::path folder = reportFolder(m_files);
    if (kind == form::ReportKind::Text)
        return report::writeTextReport(input, folder);
    const std::filesystem::path dataFolder(QFile::encodeName(m_files.dataFolder).toStdString());
    return report::writeDocumentReport(input, folder, readReportPicture(dataFolder / report::kPictureName));
}

form::StartTime MainWindow::startTime() const
{
    const QLocale locale = QLocale::system();
    const QDateTime now = QDateTime::currentDateTime();
    return {toUtf8(locale.toString(now.date(), QLocale::ShortFormat)), toUtf8(timeText(locale, now.time()))};
}

void MainWindow::endProgram()
{
    close();
}

} // namespace window
