#include "web/page.h"

#include "form/form1.h"
#include "report/document.h"
#include "report/text_report.h"
#include "web/dom.h"
#include "web/page_layout.h"
#include "web/report_picture.h"
#include "web/start_time.h"

#include <memory>

namespace web {

namespace {

class PageControls final : public form::Controls {
public:
    explicit PageControls(double startMillis)
        : m_startMillis(startMillis)
    {
    }

    std::string text(std::string_view control) const override
    {
        return dom::text(control);
    }
    void setText(std::string_view control, std::string_view text) override
    {
        dom::setText(control, text);
    }
    std::optional<std::string> chosenEntry(std::string_view list) const override
    {
        return dom::chosenEntry(list);
    }
    // The page leaves out the master list of towns, which the start-up fills all the same.
    void setEntries(std::string_view list, std::span<const std::string_view> entries) override
    {
        if (list != form::kMasterTownList)
            dom::setEntries(list, entries);
    }
    void setHeight(std::string_view control, int twips) override
    {
        dom::setRows(control, listRows(twips));
    }
    void setLooks(std::string_view control, unsigned looks) override
    {
        for (const LookClass &look : kLookClasses)
            dom::setClass(control, look.name, (looks & look.look) != 0);
    }
    bool checked(std::string_view control) const override
    {
        return dom::checked(control);
    }
    void select(std::string_view option) override
    {
        dom::select(option);
    }
    void setVisible(std::string_view control, bool visible) override
    {
        dom::setHidden(control, !visible);
    }
    void inform(std::string_view text) override
    {
        dom::inform(text);
    }
    void warn(std::string_view text) override
    {
        dom::inform(text);
    }
    // The page's help buttons and contact links are links of their own; a target handed over here opens
    // beside the page all the same.
    void open(const form::ShellTarget &target) override
    {
        dom::openBeside(target.text);
    }
    // The report is handed to the browser, and the confirmation names the file as the browser saves it.
    report::WriteResult saveReport(form::ReportKind kind, const report::ReportInput &input) override
    {
        if (kind == form::ReportKind::Text) {
            dom::download(
                report::kTextReportName, "text/plain;charset=windows-1251", report::textReportBytes(input));
            return report::WriteResult::saved(report::kTextReportName);
        }
        dom::download(
            report::kDocumentReportName, "application/rtf", report::documentRtf(input, reportPicture()));
        return report::WriteResult::saved(report::kDocumentReportName);
    }
    form::StartTime startTime() const override
    {
        return web::startTime(m_startMillis);
    }
    void endProgram() override
    {
        dom::endProgram();
    }

private:
    double m_startMillis;
};

std::unique_ptr<PageControls> controls;
std::unique_ptr<form::Form1> form1;

} // namespace

void Form_Load(double startMillis)
{
    controls = std::make_unique<PageControls>(startMillis);
    form1 = std::make_unique<form::Form1>(*controls);
    form1->Form_Load();
}

void raise(std::string_view control, std::string_view event)
{
    if (form1)
        form1->raise(control, event == "Change" ? form::Event::Change : form::Event::Click);
}

} // namespace web
