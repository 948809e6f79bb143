// The fleet window's part of tarifmaster_screenshots: the window in each of its states, as PNG files.
#pragma once

#include <QDir>
#include <QString>

namespace window {

// Renders the fleet window waiting for a list, computing one (held at 42 %), done with the sample
// workbook (one rejected row), done with more rejected rows than it lists, and failed on a damaged
// workbook; suffix ends each file's name, as the main window's pictures are named.
void saveFleetWindowStates(const QDir &out, const QString &suffix, const QString &examples);

} // namespace window
