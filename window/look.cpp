#include "window/look.h"

#include "window/inventory.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QWidget>

namespace window::look {

namespace {

// The colours behind the system colour names the window uses, as a classic desktop defines them,
// except where the pair would not read: light text needs a grey dark enough behind it.
const QColor kButtonShadow(128, 128, 128);
const QColor kApplicationWorkspace(96, 96, 96);
const QColor kHighlightText(255, 255, 255);
const QColor kLinkText(160, 210, 255); // highlight blue, lightened to read on the workspace grey
const QColor kInactiveBorder(212, 208, 200);
const QColor kYellowColour(255, 255, 0);
const QColor kCyanColour(192, 255, 255);
const QColor kRedColour(255, 0, 0);

constexpr int pixelsOfPoints(double points)
{
    return static_cast<int>(points * 96.0 / 72.0 + 0.5);
}

} // namespace

QFont font(unsigned looks)
{
    QFont font;
    font.setFamilies(
        {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    // Liberation Sans runs some 5 % wider than the bitmap sans serif the rectangles were drawn for.
    font.setStretch(95);
    font.setPixelSize(pixelsOfPoints(8.25));
    if (looks & (kHeading | kLink)) {
        font.setPixelSize(pixelsOfPoints(9.75));
        font.setBold(true);
    }
    if (looks & kBold)
        font.setBold(true);
    if (looks & kItalic)
        font.setItalic(true);
    if (looks & kBadge) {
        font.setFamilies({QStringLiteral("DejaVu Sans")});
        font.setStretch(QFont::Unstretched);
        font.setPixelSize(pixelsOfPoints(14.25));
    }
    if (looks & kCopyright)
        font.setPixelSize(pixelsOfPoints(13.5));
    return font;
}

QColor windowColour()
{
    return QColor(255, 255, 255);
}

void setBaseColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, colour);
    widget->setPalette(palette);
}

void apply(QWidget *widget, unsigned looks)
{
    widget->setFont(font(looks));

    QColor background;
    QColor text;
    if (looks & kGreyStrip) {
        background = kButtonShadow;
        text = kHighlightText;
    }
    if (looks & kDarkStrip) {
        background = kApplicationWorkspace;
        text = kHighlightText;
    }
    if (looks & (kDarkBackground | kLink))
        background = kApplicationWorkspace;
    if (looks & kLink)
        text = kLinkText;
    if (looks & kYellow)
        background = kYellowColour;
    if (looks & kRedText)
        text = kRedColour;

    // Fields take the colour as their base (where the text is typed); everything else as background.
    const bool field = qobject_cast<QLineEdit *>(widget) || qobject_cast<QComboBox *>(widget)
        || qobject_cast<QListWidget *>(widget);
    QPalette palette = widget->palette();
    if (looks & kCyan)
        palette.setColor(QPalette::Base, kCyanColour);
    if (looks & kGreyBackground)
        palette.setColor(field ? QPalette::Base : QPalette::Window, kInactiveBorder);
    if (background.isValid()) {
        palette.setColor(QPalette::Window, background);
        palette.setColor(widget->backgroundRole(), background); // buttons fill with their button colour
        widget->setAutoFillBackground(true);
    }
    if (text.isValid()) {
        palette.setColor(QPalette::WindowText, text);
        palette.setColor(QPalette::ButtonText, text);
    }
    widget->setPalette(palette);
}

QIcon windowIcon()
{
    return QIcon(QStringLiteral(":/pictures/tarifmaster.png"));
}

QPixmap picture(const QString &controlName)
{
    if (controlName == u"Image1")
        return QPixmap(QStringLiteral(":/pictures/text-report.gif"));
    if (controlName == u"Image2")
        return QPixmap(QStringLiteral(":/pictures/document-report.gif"));
    if (controlName == u"Command5")
        return QPixmap(QStringLiteral(":/pictures/example.gif"));
    if (controlName == u"Command6")
        return QPixmap(QStringLiteral(":/pictures/exit.gif"));
    return {};
}

QCursor handCursor()
{
    // The finger tip is the hot spot.
    return QCursor(QPixmap(QStringLiteral(":/pictures/hand.png")), 13, 9);
}

} // namespace window::look
