// Where the program finds its own files and where it writes the reports. Both rules live here and
// nowhere else.
//
// The program's files are the help pages (tarif.htm, prim.htm, struk.htm, primer.htm and help.css) and
// the report picture tmas.gif. They are looked for, in this order:
//   1. beside the program, when any of them lies there: the build folder, or a copy the user unpacked
//      somewhere (a portable copy);
//   2. in share/tarifmaster of the prefix the program is installed to, the folder that the install
//      rules put beside the prefix's bin/ (an installed copy);
//   3. found nowhere: beside the program, as a portable copy whose files are missing; a help page then
//      opens nothing and the document report says that its picture is missing.
//
// The reports str.txt and str.doc go beside a portable copy that can write its own folder. An installed
// copy never writes into its prefix, also not when run by root, and a portable copy whose folder is
// closed to the user has no place of its own either: both write into the user's documents folder,
// which is created when it is missing.
#pragma once

#include <QString>

#include <filesystem>

namespace window {

struct ProgramFiles {
    QString programFolder; // the folder of the executable
    QString dataFolder;    // the help pages and the report picture
    bool installed = false;

    static ProgramFiles locate(const QString &programFolder);
};

// The user's documents folder (the desktop's standard documents location).
QString documentsFolder();

// The folder that the next report goes to, decided at the moment of writing. The documents folder is
// created when it is chosen and missing; when it cannot be created the write that follows fails and
// says so.
std::filesystem::path reportFolder(const ProgramFiles &files);

} // namespace window
