// Workbooks in a build without the archive and XML libraries: each is refused with the same reason.
#include "batch/workbook.h"

namespace batch {

bool workbooksSupported()
{
    return false;
}

std::unique_ptr<RowSource> openWorkbook(int, std::string &problem)
{
    problem = kWorkbooksNotSupported;
    return nullptr;
}

std::unique_ptr<RowSink> makeWorkbookSink(
    WorkbookFormat, const Layout &, Encoding, std::unique_ptr<ResultOutput>, StopCheck)
{
    return nullptr; // never asked for: the output's name is refused first
}

} // namespace batch
