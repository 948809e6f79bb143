// Workbooks in a build without the archive and XML libraries: each is refused with the same reason.
#include "batch/workbook.h"

namespace batch {

namespace {

constexpr std::string_view kNotSupported
    = "книги .xlsx и .ods в этой сборке не читаются и не пишутся; сохраните лист как CSV";

class Refused : public WorkbookWriter {
public:
    bool row(std::span<const ResultCell>) override
    {
        return false;
    }
    bool finish(const std::function<bool(std::string_view)> &) override
    {
        return false;
    }
    const std::string &problem() const override
    {
        return m_problem;
    }

private:
    std::string m_problem{kNotSupported};
};

} // namespace

std::unique_ptr<SheetReader> openWorkbook(int, std::string &problem)
{
    problem = kNotSupported;
    return nullptr;
}

std::unique_ptr<WorkbookWriter> makeWorkbookWriter(WorkbookFormat)
{
    return std::make_unique<Refused>();
}

bool workbooksSupported()
{
    return false;
}

} // namespace batch
