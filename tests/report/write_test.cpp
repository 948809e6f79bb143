// Writing the report files: the confirmation names the file actually written, a report replaces the
// earlier one in one step, and every failure leaves the earlier report as it was, says why, and leaves
// no temporary file behind.
#include "report/report.h"
#include "report/text_report.h"
#include "report_input.h"
#include "support/files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace report::testing;
using namespace support;

const report::PngPicture kPicture = samplePicture();
const fs::path kWriterTool = REPORT_WRITER_TOOL;

report::WriteResult writeText(const fs::path &folder, const std::string &total = "4321,09")
{
    report::ReportInput in = sampleInput();
    in.total = total;
    return report::writeTextReport(in, folder);
}

report::WriteResult writeDocument(const fs::path &folder,
    const std::string &total = "4321,09",
    const report::PngPicture &picture = kPicture)
{
    report::ReportInput in = sampleInput();
    in.total = total;
    return report::writeDocumentReport(in, folder, picture);
}

TEST(WriteReport, WritesTheFilesAndConfirmsWithThePathWritten)
{
    TempFolder folder;
    const report::WriteResult text = writeText(folder.path());
    ASSERT_TRUE(text.ok) << text.reason;
    EXPECT_EQ(text.path, folder.path() / "str.txt");
    EXPECT_EQ(readFile(text.path), report::textReportBytes(sampleInput()));
    // "Cохраненно" begins with a Latin C.
    EXPECT_EQ(report::savedMessage(text),
        "C\xD0\xBE\xD1\x85\xD1\x80\xD0\xB0\xD0\xBD\xD0\xB5\xD0\xBD\xD0\xBD\xD0\xBE: " + folder.path().string()
            + "/str.txt");

    const report::WriteResult doc = writeDocument(folder.path());
    ASSERT_TRUE(doc.ok) << doc.reason;
    EXPECT_EQ(doc.path, folder.path() / "str.doc");
    const std::string rtf = readFile(doc.path);
    EXPECT_TRUE(rtf.starts_with("{\\rtf1\\ansi\\ansicpg1251"));
    EXPECT_NE(rtf.find("{\\pict\\pngblip\\picw240\\pich48"), std::string::npos);

    EXPECT_EQ(listFolder(folder.path()), (std::vector<std::string>{"str.doc", "str.txt"}));
    // Readable as any new file of the user's (a temporary file's private mode must not stick).
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(fs::status(text.path).permissions(), fs::perms(0666 & ~mask));
}

TEST(WriteReport, ASecondShorterReportLeavesNoTraceOfTheFirst)
{
    using Writer = std::function<report::WriteResult(const fs::path &, const std::string &)>;
    const Writer writers[] = {[](const fs::path &f, const std::string &t) {
                                  return writeText(f, t);
                              },
        [](const fs::path &f, const std::string &t) {
            return writeDocument(f, t);
        }};
    for (const Writer &write : writers) {
        TempFolder folder;
        const report::WriteResult longer = write(folder.path(), std::string(20000, '9'));
        ASSERT_TRUE(longer.ok) << longer.reason;
        const std::uintmax_t longSize = fs::file_size(longer.path);
        const report::WriteResult shorter = write(folder.path(), "1");
        ASSERT_TRUE(shorter.ok) << shorter.reason;
        const std::string bytes = readFile(shorter.path);
        EXPECT_LT(bytes.size() + 19000, longSize);
        EXPECT_EQ(bytes.find("99999"), std::string::npos);
        EXPECT_EQ(listFolder(folder.path()).size(), 1u);
    }
}

TEST(WriteReport, ASymbolicLinkIsReplacedAndItsTargetKept)
{
    TempFolder folder;
    const fs::path elsewhere = folder.path() / "elsewhere";
    fs::create_directory(elsewhere);
    writeFile(elsewhere / "precious.txt", "keep me");
    fs::permissions(elsewhere / "precious.txt", fs::perms(0444)); // the link, not its target, is replaced
    fs::create_directory(folder.path() / "program");
    const fs::path link = folder.path() / "program" / "str.txt";
    fs::create_symlink(elsewhere / "precious.txt", link);

    const report::WriteResult result = writeText(folder.path() / "program");
    ASSERT_TRUE(result.ok) << result.reason;
    EXPECT_FALSE(fs::is_symlink(fs::symlink_status(link)));
    EXPECT_EQ(readFile(link), report::textReportBytes(sampleInput()));
    EXPECT_EQ(readFile(elsewhere / "precious.txt"), "keep me");
}

// Each case sets up a program folder with earlier reports in it (where it can hold files), spoils it,
// writes one report, and expects it to fail with the reason given, everything else as it was.
TEST(WriteReport, FailuresKeepTheEarlierReportAndSayWhy)
{
    struct Case {
        const char *name;
        const char *kind;                                // "text" or "doc"
        std::function<fs::path(const fs::path &)> spoil; // returns the folder to write into
        std::string reason;                              // a part of the reason
        report::PngPicture picture = kPicture;
    };
    const auto same = [](const fs::path &f) {
        return f;
    };
    // clang-format off
    const Case cases[] = {
        {"the text report's name is taken by a folder", "text", [](const fs::path &f) {
             fs::remove(f / "str.txt");
             fs::create_directory(f / "str.txt");
             writeFile(f / "str.txt" / "inside", "x");
             return f;
         }, "на месте файла отчета находится папка"},
        {"the document's name is taken by a folder", "doc", [](const fs::path &f) {
             fs::remove(f / "str.doc");
             fs::create_directory(f / "str.doc");
             return f;
         }, "на месте файла отчета находится папка"},
        {"a file stands where a folder of the path should be", "text", [](const fs::path &f) { return f / "str.doc" / "program"; },
         "в пути к папке вместо папки находится файл"},
        {"the folder does not exist", "doc", [](const fs::path &f) { return f / "gone"; }, "папка не найдена"},
        {"the picture is missing", "doc", same, "не найден рисунок /nonexistent/tmas.gif",
         {"/nonexistent/tmas.gif", report::PngPicture::Problem::Unreadable, ENOENT, {}}},
        {"the picture is no picture", "doc", same, "рисунок " __FILE__ " поврежден или не является рисунком",
         {__FILE__, report::PngPicture::Problem::NotAPicture, 0, {}}},
    };
    // clang-format on
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder root;
        ASSERT_TRUE(writeText(root.path(), "1").ok);
        ASSERT_TRUE(writeDocument(root.path(), "1").ok);
        const fs::path folder = c.spoil(root.path());
        const auto before = listFolder(root.path());
        const std::string textBefore
            = fs::is_regular_file(root.path() / "str.txt") ? readFile(root.path() / "str.txt") : "";
        const std::string docBefore
            = fs::is_regular_file(root.path() / "str.doc") ? readFile(root.path() / "str.doc") : "";

        const report::WriteResult result = std::string_view(c.kind) == "text"
            ? writeText(folder, "2")
            : writeDocument(folder, "2", c.picture);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.path, folder / (std::string_view(c.kind) == "text" ? "str.txt" : "str.doc"));
        EXPECT_NE(result.reason.find(c.reason), std::string::npos) << result.reason;
        EXPECT_EQ(report::failureMessage(result),
            "Не удалось сохранить отчет " + result.path.string() + ": " + result.reason
                + ".\nПрежний файл отчета, если он был, остался без изменений.");
        EXPECT_EQ(listFolder(root.path()), before);
        if (fs::is_regular_file(root.path() / "str.txt")) {
            EXPECT_EQ(readFile(root.path() / "str.txt"), textBefore);
        }
        if (fs::is_regular_file(root.path() / "str.doc")) {
            EXPECT_EQ(readFile(root.path() / "str.doc"), docBefore);
        }
        if (fs::is_directory(root.path() / "str.txt")) {
            EXPECT_EQ(listFolder(root.path() / "str.txt"), std::vector<std::string>{"inside"});
        }
    }
}

// A program folder under /tmp, owned by the test's user, with the writer tool copied into it, so that another
// user can run and read them but write nothing. The commands run from inside it: that user may not enter the
// build folder.
struct ProgramFolder {
    TempFolder root{"/tmp"};
    fs::path tool = root.path() / "report_writer_tool";
    fs::path reports = root.path() / "program";

    ProgramFolder()
    {
        fs::copy_file(kWriterTool, tool);
        fs::permissions(tool, fs::perms(0755));
        fs::create_directory(reports);
        fs::permissions(reports, fs::perms(0755));
    }

    // The writer's command line; runner goes before the tool (asOrdinaryUser(), a limit).
    std::string command(
        const std::string &kind, const std::string &total, const std::string &runner = "") const
    {
        return "cd " + quoted(root.path()) + " && " + runner + quoted(tool) + " " + kind + " "
            + quoted(reports) + " " + total;
    }
};

// Runs as the unprivileged user "nobody" when the test runs as root (permissions do not stop root),
// else as the test's own user on a folder without write permission.
TEST(WriteReport, AnUnwritableFolderFailsWithoutTouchingTheEarlierReports)
{
    ProgramFolder program;
    ASSERT_EQ(runCommand(program.command("text", "1")).status, 0);
    ASSERT_EQ(runCommand(program.command("doc", "1")).status, 0);
    const std::string text = readFile(program.reports / "str.txt");
    const std::string doc = readFile(program.reports / "str.doc");
    if (::geteuid() != 0)
        fs::permissions(program.reports, fs::perms(0555));

    for (const std::string kind : {"text", "doc"}) {
        SCOPED_TRACE(kind);
        const CommandResult result = runCommand(program.command(kind, "2", asOrdinaryUser()));
        EXPECT_EQ(result.status, 1) << result.output;
        const std::string file = (program.reports / (kind == "text" ? "str.txt" : "str.doc")).string();
        EXPECT_EQ(result.output,
            "Не удалось сохранить отчет " + file
                + ": нет прав на запись в папку.\nПрежний файл отчета, если он был, остался без "
                  "изменений.\n");
    }
    EXPECT_EQ(readFile(program.reports / "str.txt"), text);
    EXPECT_EQ(readFile(program.reports / "str.doc"), doc);
    EXPECT_EQ(listFolder(program.reports), (std::vector<std::string>{"str.doc", "str.txt"}));
    fs::permissions(program.reports, fs::perms(0755));
}

// A report the user made read-only is refused like a direct write would be, and a replaced report keeps
// its permission bits. As root, the writer runs as "nobody" in a folder that user may write.
TEST(WriteReport, AReadOnlyReportIsRefusedAndAReplacedOneKeepsItsMode)
{
    ProgramFolder program;
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(program.reports.c_str(), 65534, 65534), 0);
    }
    const fs::path text = program.reports / "str.txt";
    ASSERT_EQ(runCommand(program.command("text", "1", asOrdinaryUser())).status, 0);

    fs::permissions(text, fs::perms(0640));
    ASSERT_EQ(runCommand(program.command("text", "2", asOrdinaryUser())).status, 0);
    EXPECT_EQ(fs::status(text).permissions(), fs::perms(0640));
    const std::string second = readFile(text);
    EXPECT_NE(second.find("\xc8\xd2\xce\xc3\xce:2 "), std::string::npos); // "ИТОГО:2 "

    fs::permissions(text, fs::perms(0444));
    const CommandResult refused = runCommand(program.command("text", "3", asOrdinaryUser()));
    EXPECT_EQ(refused.status, 1) << refused.output;
    EXPECT_EQ(refused.output,
        "Не удалось сохранить отчет " + text.string()
            + ": файл отчета защищен от записи.\nПрежний файл отчета, если он был, остался без изменений.\n");
    EXPECT_EQ(readFile(text), second);
    EXPECT_EQ(fs::status(text).permissions(), fs::perms(0444));
    EXPECT_EQ(listFolder(program.reports), std::vector<std::string>{"str.txt"});
}

// A write that fails half-way (here at a file-size limit of 1 KiB, which the 1.7 KiB text report passes)
// must leave the earlier report whole.
TEST(WriteReport, AWriteFailingHalfWayKeepsTheEarlierReport)
{
    ProgramFolder program;
    ASSERT_EQ(runCommand(program.command("text", "1")).status, 0);
    const std::string before = readFile(program.reports / "str.txt");

    const CommandResult result = runCommand(program.command("text", "2", "prlimit --fsize=1024 "));
    EXPECT_EQ(result.status, 1) << result.output;
    EXPECT_NE(result.output.find(": файл превышает допустимый размер."), std::string::npos) << result.output;
    EXPECT_EQ(readFile(program.reports / "str.txt"), before);
    EXPECT_EQ(listFolder(program.reports), std::vector<std::string>{"str.txt"});
}

// A full disk: a 64 KiB memory file system in a mount namespace of its own, filled up after the first
// report. Needs the right to mount, which root has on the project's machines.
TEST(WriteReport, AFullDiskKeepsTheEarlierReport)
{
    ProgramFolder program;
    const fs::path kept = program.root.path() / "kept";
    fs::create_directory(kept);
    const std::string dir = quoted(program.reports);
    const std::string script = "set -e; mount -t tmpfs -o size=64k tmpfs " + dir + "; "
        + program.command("doc", "1") + " >/dev/null; cp " + dir + "/str.doc " + quoted(kept / "before")
        + "; " + "dd if=/dev/zero of=" + dir + "/filler bs=4k 2>/dev/null || true; " + "rc=0; "
        + program.command("doc", "2") + " || rc=$?; " + "cp " + dir + "/str.doc " + quoted(kept / "after")
        + "; ls -A " + dir + "; exit $rc";
    const CommandResult probe = runCommand("unshare --mount sh -c 'mount -t tmpfs -o size=4k tmpfs /mnt'");
    if (probe.status != 0)
        GTEST_SKIP() << "cannot mount a small file system here: " << probe.output;

    const CommandResult result = runCommand("unshare --mount sh -c " + quoted(fs::path(script)));
    EXPECT_EQ(result.status, 1) << result.output;
    EXPECT_NE(result.output.find(": на диске не хватает места."), std::string::npos) << result.output;
    EXPECT_TRUE(result.output.ends_with("filler\nstr.doc\n")) << result.output; // no temporary file left
    EXPECT_EQ(readFile(kept / "after"), readFile(kept / "before"));
    EXPECT_GT(fs::file_size(kept / "before"), 1000u);
}

} // namespace
