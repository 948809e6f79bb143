// How the window looks: fonts, colours, pictures and the hand cursor of the links.
//
// The window's fonts are given in points at 96 dots per inch; they are set in pixels so that the text
// keeps its proportion to the control rectangles whatever the screen's font resolution. Captions are
// written in Liberation Sans, whose widths match those the rectangles were drawn for.
#pragma once

#include <QColor>
#include <QCursor>
#include <QFont>
#include <QIcon>
#include <QPalette>
#include <QPixmap>
#include <QString>

class QWidget;

namespace window::look {

QFont font(unsigned looks);
void apply(QWidget *widget, unsigned looks);

QPalette windowPalette(); // the window's own light palette, whatever the desktop's
void setBaseColour(QWidget *widget, const QColor &colour);

QIcon windowIcon();
QPixmap picture(const QString &controlName); // Image1, Image2, Command5, Command6
QCursor handCursor();

} // namespace window::look
