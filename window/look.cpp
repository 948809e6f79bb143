#include "window/look.h"

#include "form/inventory.h"
#include "form/looks.h"
#include "tarifmaster/version.h"
#include "window/text.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGuiApplication>
#include <QHash>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QWidget>

namespace window::look {

namespace {

// The colours behind the system colour names the window uses, as a classic desktop defines them,
// except where the pair would not read: every text keeps a contrast of at least 4.5 : 1 to what lies
// behind it, so light text needs a grey dark enough behind it. The yellow, the cyan and the red of the
// warnings are the window's own (form::fixedColour) and stay as they have always been; pure red on a
// light ground cannot reach 4.5 : 1 (4 : 1 on white at best), so its bold warnings keep the 3 : 1 of
// large text.
const QColor kWindowGrey(239, 239, 239);
const QColor kButtonShadow(112, 112, 112);
const QColor kApplicationWorkspace(80, 80, 80);
const QColor kHighlightText(255, 255, 255);
const QColor kLinkText(160, 210, 255); // highlight blue, lightened to read on the workspace grey
const QColor kInactiveBorder(212, 208, 200);

constexpr int pixelsOfPoints(double points)
{
    return static_cast<int>(points * 96.0 / 72.0 + 0.5);
}

// The window's fixed palette for the system colours the looks name, and the window's own colours;
// invalid for a control's own.
QColor colourOf(form::LookColour colour)
{
    if (const std::optional<form::Rgb> fixed = form::fixedColour(colour))
        return {fixed->red, fixed->green, fixed->blue};
    switch (colour) {
    case form::LookColour::ButtonShadow:
        return kButtonShadow;
    case form::LookColour::ApplicationWorkspace:
        return kApplicationWorkspace;
    case form::LookColour::HighlightText:
        return kHighlightText;
    case form::LookColour::Highlight:
        return kLinkText;
    case form::LookColour::InactiveBorder:
        return kInactiveBorder;
    default: // a control's own; the fixed colours are returned above
        return {};
    }
}

} // namespace

QFont font(unsigned looks)
{
    const form::TextLook look = form::textLook(looks);
    QFont font;
    font.setFamilies(
        {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    // Liberation Sans runs some 5 % wider than the bitmap sans serif the rectangles were drawn for.
    font.setStretch(95);
    if (look.symbols) {
        font.setFamilies({QStringLiteral("DejaVu Sans")});
        font.setStretch(QFont::Unstretched);
    }
    font.setPixelSize(pixelsOfPoints(look.hundredthsOfPoint / 100.0));
    if (look.bold)
        font.setBold(true);
    if (look.italic)
        font.setItalic(true);
    return font;
}

QPalette windowPalette()
{
    // Derived from the grey of the buttons: black text on white fields and on the grey of the window,
    // the selection in dark blue behind white text. Every role is set, so nothing of a dark desktop
    // palette shows through.
    QPalette palette(kWindowGrey);
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Highlight, QColor(0, 0, 128));
        palette.setColor(group, QPalette::HighlightedText, kHighlightText);
    }
    return palette;
}

void setBaseColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, colour);
    widget->setPalette(palette);
}

void apply(QWidget *widget, unsigned looks)
{
    // A control of the window's own font and colours inherits them; setting them again would only
    // cost time at start-up.
    if (looks & form::kFontLooks)
        widget->setFont(font(looks));
    const form::LookColours colours = form::lookColours(looks);
    if (colours.ground == form::LookColour::Default && colours.text == form::LookColour::Default)
        return;
    // Fields take the cyan and the inactive grey as their base (where the text is typed); other colours
    // are the background.
    const bool field = qobject_cast<QLineEdit *>(widget) || qobject_cast<QComboBox *>(widget)
        || qobject_cast<QListWidget *>(widget);
    QPalette palette = widget->palette();
    if (colours.ground == form::LookColour::Cyan) {
        palette.setColor(QPalette::Base, colourOf(form::LookColour::Cyan));
    } else if (colours.ground == form::LookColour::InactiveBorder) {
        palette.setColor(field ? QPalette::Base : QPalette::Window, kInactiveBorder);
    } else if (colours.ground != form::LookColour::Default) {
        const QColor background = colourOf(colours.ground);
        palette.setColor(QPalette::Window, background);
        palette.setColor(widget->backgroundRole(), background); // buttons fill with their button colour
        widget->setAutoFillBackground(true);
    }
    const QColor text = colourOf(colours.text);
    if (text.isValid()) {
        palette.setColor(QPalette::WindowText, text);
        palette.setColor(QPalette::ButtonText, text);
    }
    widget->setPalette(palette);
}

namespace {

// Pictures read once and shared by every window, given up with the application (pixmaps must not
// outlive it).
QHash<QString, QPixmap> &readPictures()
{
    static QHash<QString, QPixmap> read;
    static const bool released = [] {
        qAddPostRoutine([] {
            read.clear();
        });
        return true;
    }();
    Q_UNUSED(released);
    return read;
}

// A picture drawn twice: at its own size, and at double size for screens scaled beyond 100 %. The
// pixmap fits the sharpest screen the program has; Qt scales the double picture down for 150 %.
QPixmap sharpPicture(const QString &name, const QString &suffix)
{
    QHash<QString, QPixmap> &read = readPictures();
    const qreal scale = qGuiApp->devicePixelRatio();
    const QString key = name + u'@' + QString::number(scale);
    if (const auto found = read.constFind(key); found != read.cend())
        return *found;
    const QString base = QStringLiteral(":/pictures/") + name;
    QIcon icon(base + suffix);
    const QSize size = icon.availableSizes().value(0);
    icon.addFile(base + QStringLiteral("@2x.png"));
    return *read.insert(key, icon.pixmap(size, scale));
}

} // namespace

QIcon windowIcon()
{
    // The icon the desktop's theme holds under the program's id, where the program is installed; the
    // same pictures from inside the program otherwise. Looked up once: the theme does not change while
    // the program runs.
    static QIcon icon;
    if (icon.isNull()) {
        QIcon bundled;
        for (const int size : {16, 24, 32, 48, 64, 128, 256})
            bundled.addFile(QStringLiteral(":/pictures/icon/%1.png").arg(size), QSize(size, size));
        icon = QIcon::fromTheme(QLatin1String(tarifmaster::kAppId), bundled);
        qAddPostRoutine([] {
            icon = QIcon();
        });
    }
    return icon;
}

QPixmap picture(const QString &controlName)
{
    const std::string_view name = form::pictureOf(toUtf8(controlName));
    if (name.empty())
        return {};
    return sharpPicture(fromUtf8(name), QStringLiteral(".gif"));
}

QCursor handCursor()
{
    // The finger tip is the hot spot, in the picture's own 32 x 32 pixels at any scale.
    return QCursor(sharpPicture(QStringLiteral("hand"), QStringLiteral(".png")), 13, 9);
}

} // namespace window::look
