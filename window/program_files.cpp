#include "window/program_files.h"

#include "form/module1.h"
#include "report/report.h"
#include "tarifmaster/version.h"
#include "window/text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

namespace window {

namespace {

bool holdsProgramFiles(const QString &folder)
{
    const QDir dir(folder);
    for (const std::string_view name : {form::Module1::kTariffPage,
             form::Module1::kNotePage,
             form::Module1::kStructurePage,
             form::Module1::kExamplePage,
             report::kPictureName})
        if (QFileInfo::exists(dir.filePath(fromUtf8(name))))
            return true;
    return false;
}

bool canWrite(const QString &folder)
{
    return ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
}

} // namespace

ProgramFiles ProgramFiles::locate(const QString &programFolder)
{
    if (holdsProgramFiles(programFolder))
        return {programFolder, programFolder, false};
    const QString installed
        = QDir::cleanPath(programFolder + u'/' + QString::fromUtf8(tarifmaster::kDataFolderFromProgram));
    if (QFileInfo(installed).isDir())
        return {programFolder, installed, true};
    return {programFolder, programFolder, false};
}

QString documentsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

std::filesystem::path reportFolder(const ProgramFiles &files)
{
    QString folder = files.programFolder;
    if (files.installed || !canWrite(folder)) {
        folder = documentsFolder();
        QDir().mkpath(folder);
    }
    return std::filesystem::path(QFile::encodeName(folder).toStdString());
}

} // namespace window
