// The test record (test_seams.h): a wrapper of the form's controls interface that writes what the form
// does into the record as it happens, line by line, and hands everything on to the window's controls,
// but for the shell, which it never calls. With the window's focus and, when it closes, its fields and
// rectangles, a test under Wine reads what it cannot read from the screen.
#pragma once

#include "form/controls.h"
#include "win32/control_table.h"
#include "win32/record_file.h"

#include <memory>
#include <string_view>
#include <windows.h>

namespace win32 {

class RecordingControls final : public form::Controls {
public:
    RecordingControls(form::Controls &window, std::shared_ptr<RecordFile> record);
    ~RecordingControls() override;
    RecordingControls(const RecordingControls &) = delete;
    RecordingControls &operator=(const RecordingControls &) = delete;

    // Writes "name=text", the text's line breaks as "\n", and sends the line on at once.
    void line(std::string_view name, std::string_view text)
    {
        m_record->line(name, text);
    }
    // What the accessibility layer answers for every control and tab of the window.
    void accessible(const ControlTable &controls, HWND tabs);
    // The window as it opens: every field's text, then which control gets focus from now on.
    void opened(const ControlTable &controls);
    // The window's last state as it closes.
    void closing(const ControlTable &controls, HWND window, UINT dpi);

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

private:
    void fields(const ControlTable &controls);
    static void CALLBACK focusEvent(
        HWINEVENTHOOK hook, DWORD event, HWND hwnd, LONG object, LONG child, DWORD thread, DWORD time);

    form::Controls &m_window;
    std::shared_ptr<RecordFile> m_record;
    const ControlTable *m_focusControls = nullptr;
    HWINEVENTHOOK m_focusHook = nullptr;
};

} // namespace win32
