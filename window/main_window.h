// The Qt front of Form1: the window "ТарифМастер" built from the inventory, its widgets behind the form's
// Controls interface, and each widget's event wired to the form's handler through the form's table.
// Everything the window does with what the user chooses is the form's (form/form1.h); what is Qt's stays
// here and below: how an option's toggle becomes a click, the looks, accessibility, where the reports
// and the help pages lie.
#pragma once

#include "form/controls.h"
#include "form/form1.h"
#include "window/program_files.h"

#include <QHash>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace window {

class Desktop;
class FleetWindow;

class MainWindow : public QWidget, private form::Controls {
    Q_OBJECT
public:
    // programFolder: the folder of the executable; ProgramFiles tells from it where the help pages and
    // the picture lie and where the reports go.
    MainWindow(Desktop &desktop, const QString &programFolder, QWidget *parent = nullptr);
    ~MainWindow() override;

    // The control with this name, as the inventory names it.
    QWidget *control(const QString &name) const;

    using QWidget::setVisible; // the window's own, beside the form's setVisible of a control

private:
    void bindEvents();
    void centreOnScreen();
    void showEvent(QShowEvent *event) override;
    // A vehicle list dropped on the window opens the fleet window computing it (fleet_window.h).
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    QWidget *widgetOf(std::string_view control) const;

    // form::Controls
    std::string text(std::string_view control) const override;
    void setText(std::string_view control, std::string_view text) override;
    std::optional<std::string> chosenEntry(std::string_view list) const override;
    void setEntries(std::string_view list, std::span<const std::string_view> entries) override;
    void setHeight(std::string_view control, int twips) override;
    void setLooks(std::string_view control, unsigned looks) override;
    bool checked(std::string_view control) const override;
    void select(std::string_view option) override;
    void setVisible(std::string_view control, bool visible) override;
    void inform(std::string_view text) override;
    void warn(std::string_view text) override;
    void open(const form::ShellTarget &target) override;
    report::WriteResult saveReport(form::ReportKind kind, const report::ReportInput &input) override;
    form::StartTime startTime() const override;
    void endProgram() override;

    Desktop &m_desktop;
    ProgramFiles m_files;
    QHash<QString, QWidget *> m_controls;
    form::Form1 m_form;
    // True while the form changes a widget: the signals of that change are not the user's, and the form
    // runs the handlers of its own changes itself.
    bool m_changingForForm = false;
    bool m_centred = false;
    QPointer<FleetWindow> m_fleet; // the fleet window a drop opened, until it is closed
};

} // namespace window
