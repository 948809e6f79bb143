// Builds the window's controls from its inventory: each row becomes the widget of its kind, in its
// container, at its rectangle, with its caption or start text, its look, tooltip and spoken name; the
// combo boxes get the entries of their design; Tab is set to visit the pages as they read.
#pragma once

#include <QHash>
#include <QString>

class QWidget;

namespace window {

class TabControl;

struct BuiltControls {
    TabControl *tabs = nullptr;         // SSTab1
    QHash<QString, QWidget *> controls; // every control by its name, SSTab1 included
};

BuiltControls buildControls(QWidget &window);

} // namespace window
