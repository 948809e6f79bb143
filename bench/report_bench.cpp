// One press of "отчет": each report built, and written to a folder as the program writes it (a new file
// flushed to the disk and renamed over the earlier report).
#include "report/document.h"
#include "report/report.h"
#include "report/text_report.h"
#include "window/report_picture.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

report::ReportInput sampleWindow()
{
    return {.fields = {engine::Category::Cars, false, {"1980", "2", "1", "1,3", "1", "1", "0,7", "0,7", "1"}},
        .total = "2522,52",
        .startDate = "15.03.2024",
        .startTime = "9:41:07"};
}

// A folder of the benchmark's own, removed at the end.
struct Folder {
    fs::path path;
    Folder()
    {
        std::string pattern = (fs::temp_directory_path() / "tarifmaster-bench-XXXXXX").string();
        path = ::mkdtemp(pattern.data()) ? fs::path(pattern) : fs::temp_directory_path();
    }
    ~Folder()
    {
        std::error_code ignored;
        fs::remove(path / report::kTextReportName, ignored);
        fs::remove(path / report::kDocumentReportName, ignored);
        fs::remove(path, ignored);
    }
};

const fs::path kPicture = fs::path(TARIFMASTER_BIN_DIR) / report::kPictureName;

void BM_TextReportBytes(benchmark::State &state)
{
    const report::ReportInput in = sampleWindow();
    for (auto _ : state)
        benchmark::DoNotOptimize(report::textReportBytes(in));
}
BENCHMARK(BM_TextReportBytes);

void BM_WriteTextReport(benchmark::State &state)
{
    const report::ReportInput in = sampleWindow();
    Folder folder;
    for (auto _ : state)
        if (!report::writeTextReport(in, folder.path).ok)
            state.SkipWithError("the text report was not written");
}
BENCHMARK(BM_WriteTextReport)->Unit(benchmark::kMicrosecond);

void BM_ReadReportPicture(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(window::readReportPicture(kPicture));
}
BENCHMARK(BM_ReadReportPicture)->Unit(benchmark::kMicrosecond);

void BM_DocumentRtf(benchmark::State &state)
{
    const report::ReportInput in = sampleWindow();
    const std::string png = window::readReportPicture(kPicture).bytes;
    for (auto _ : state)
        benchmark::DoNotOptimize(report::documentRtf(in, png));
}
BENCHMARK(BM_DocumentRtf)->Unit(benchmark::kMicrosecond);

void BM_WriteDocumentReport(benchmark::State &state)
{
    const report::ReportInput in = sampleWindow();
    Folder folder;
    for (auto _ : state)
        if (!report::writeDocumentReport(in, folder.path, window::readReportPicture(kPicture)).ok)
            state.SkipWithError("the document report was not written");
}
BENCHMARK(BM_WriteDocumentReport)->Unit(benchmark::kMicrosecond);

} // namespace
