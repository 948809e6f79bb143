// The window on other people's desktops: a dark desktop palette, a Russian locale and a screen scaled
// to 200 % (CTest runs this suite with QT_SCALE_FACTOR=2).
#include "form/contrast.h"
#include "form/inventory.h"
#include "support/window_fixture.h"
#include "support/window_test_main.h"
#include "window/application.h"
#include "window/look.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTabBar>
#include <QTest>
#include <QTranslator>

#include <map>

using namespace Qt::StringLiterals;

namespace {

QString nameOf(const form::ControlRow &row)
{
    return fromUtf8(row.name);
}

// A desktop palette with light text on dark grey, as dark themes have.
QPalette darkDesktop()
{
    QPalette palette(QColor(53, 53, 53), QColor(42, 42, 42));
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::BrightText})
        palette.setColor(role, QColor(238, 238, 238));
    palette.setColor(QPalette::Base, QColor(35, 35, 35));
    palette.setColor(QPalette::Highlight, QColor(42, 130, 218));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    return palette;
}

double contrast(const QColor &a, const QColor &b)
{
    return form::contrastRatio({a.red(), a.green(), a.blue()}, {b.red(), b.green(), b.blue()});
}

// What shows behind a widget that does not fill its own background: the nearest one that does.
QColor backgroundBehind(const QWidget *widget)
{
    for (const QWidget *w = widget; w; w = w->parentWidget())
        if (w->autoFillBackground() || w->isWindow())
            return w->palette().color(w->backgroundRole());
    return {};
}

struct TextPair {
    QString what;
    QColor text, background;
};

// Every text the window shows, with what it is drawn on.
QList<TextPair> textsOf(const WindowFixture &w)
{
    using form::Kind;
    QList<TextPair> pairs;
    for (const form::ControlRow &row : form::controlRows()) {
        if (row.top >= form::kClientHeightTwips || row.name == "Text11" || row.name == "Text12")
            continue; // the badge store below the window, the hidden start date and time
        auto *widget = w.get<QWidget>(nameOf(row));
        const QPalette palette = widget->palette();
        const QString name = nameOf(row);
        switch (row.kind) {
        case Kind::Label:
        case Kind::Link:
        case Kind::Option:
        case Kind::Check:
            if (!row.caption.empty())
                pairs.append({name, palette.color(widget->foregroundRole()), backgroundBehind(widget)});
            break;
        case Kind::Command:
            pairs.append({name, palette.color(QPalette::ButtonText), palette.color(QPalette::Button)});
            break;
        case Kind::ListBox:
            pairs.append({name + u" selected"_s,
                palette.color(QPalette::HighlightedText),
                palette.color(QPalette::Highlight)});
            [[fallthrough]];
        case Kind::TextBox:
        case Kind::ComboBox:
            pairs.append({name, palette.color(QPalette::Text), palette.color(QPalette::Base)});
            break;
        case Kind::Picture: // the word is part of the picture
        case Kind::Frame:
        case Kind::Image:
            break;
        }
    }
    auto *tabs = w.get<QWidget>(u"SSTab1_tabs"_s);
    pairs.append({u"tab captions"_s,
        tabs->palette().color(QPalette::WindowText),
        tabs->palette().color(QPalette::Window)});
    return pairs;
}

// What the window's controls say: captions, texts, entries, tips and spoken names, and the tab captions.
// (Qt's own parts, such as the hidden scroll buttons of the tab row, speak the desktop's language.)
QStringList windowTexts(const WindowFixture &w)
{
    QStringList texts;
    const auto *tabs = w.get<QTabBar>(u"SSTab1_tabs"_s);
    for (int i = 0; i < tabs->count(); ++i)
        texts << tabs->tabText(i);
    for (const form::ControlRow &row : form::controlRows()) {
        if (row.name == "Text11" || row.name == "Text12")
            continue; // the start date and time follow the regional settings, by design
        const QWidget *widget = w.get<QWidget>(nameOf(row));
        QString text = widget->objectName() + u'|' + widget->toolTip() + u'|' + widget->accessibleName();
        if (const auto *label = qobject_cast<const QLabel *>(widget))
            text += u'|' + label->text();
        if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
            text += u'|' + button->text();
        if (const auto *field = qobject_cast<const QLineEdit *>(widget))
            text += u'|' + field->text();
        if (const auto *combo = qobject_cast<const QComboBox *>(widget))
            for (int i = 0; i < combo->count(); ++i)
                text += u'|' + combo->itemText(i);
        if (const auto *list = qobject_cast<const QListWidget *>(widget))
            for (int i = 0; i < list->count(); ++i)
                text += u'|' + list->item(i)->text();
        texts << text;
    }
    return texts;
}

bool hasCyrillic(const QString &text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        return c.unicode() >= 0x400 && c.unicode() < 0x500;
    });
}

} // namespace

class DesktopTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup();
    void everyTextReadsOnItsBackgroundOnALightAndADarkDesktop();
    void qtTextsSpeakRussianWhileTheWindowTextsStayTheSame();
    void picturesAreDrawnForTheScreensScale();
};

void DesktopTest::cleanup()
{
    QApplication::setPalette(QPalette());
}

void DesktopTest::everyTextReadsOnItsBackgroundOnALightAndADarkDesktop()
{
    std::map<QString, std::pair<QRgb, QRgb>> light;
    for (const bool dark : {false, true}) {
        QApplication::setPalette(dark ? darkDesktop() : QApplication::style()->standardPalette());
        const WindowFixture w;
        const QList<TextPair> pairs = textsOf(w);
        QVERIFY(pairs.size() > 80);
        for (const TextPair &pair : pairs) {
            const double ratio = contrast(pair.text, pair.background);
            // The window's red warnings (bold) keep the pure red they have always had, which reaches
            // 4 : 1 on white at best; they must read as large text does, at 3 : 1.
            const double least = pair.text == QColor(255, 0, 0) ? 3.0 : 4.5;
            QVERIFY2(ratio >= least,
                qPrintable(u"%1 on a %2 desktop: %3 on %4, contrast %5 : 1"_s
                               .arg(pair.what, dark ? u"dark"_s : u"light"_s)
                               .arg(pair.text.name(), pair.background.name())
                               .arg(ratio, 0, 'f', 2)));
            // The window keeps its own colours whatever the desktop's.
            if (!dark)
                light[pair.what] = {pair.text.rgb(), pair.background.rgb()};
            else
                QVERIFY2(light.at(pair.what) == std::make_pair(pair.text.rgb(), pair.background.rgb()),
                    qPrintable(pair.what));
        }
    }
    // The colours that mark the window: cyan fields, yellow captions, grey strips.
    const WindowFixture w;
    QCOMPARE(w.get<QWidget>(u"Text3"_s)->palette().color(QPalette::Base), QColor(192, 255, 255));
    QCOMPARE(backgroundBehind(w.get<QWidget>(u"Label14(0)"_s)), QColor(255, 255, 0));
    QCOMPARE(backgroundBehind(w.get<QWidget>(u"Label15"_s)).value(), 112);
}

void DesktopTest::qtTextsSpeakRussianWhileTheWindowTextsStayTheSame()
{
    QStringList untranslated;
    {
        const WindowFixture w;
        untranslated = windowTexts(w);
    }
    auto &app = *QCoreApplication::instance();
    QTranslator *russian
        = window::application::loadQtTranslations(app, QLocale(QLocale::Russian, QLocale::Russia));
    QVERIFY2(russian, "Qt's Russian translations (qtbase_ru.qm) were not found");

    QMessageBox box(
        QMessageBox::Information, u"ТарифМастер"_s, QString(), QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(box.button(QMessageBox::Cancel)->text(), u"Отмена"_s);
    QLineEdit field;
    field.setText(u"1,3"_s);
    const std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    int translated = 0;
    for (const QAction *action : menu->actions())
        translated += hasCyrillic(action->text()) ? 1 : 0;
    QVERIFY2(translated >= 5, qPrintable(menu->actions().value(0)->text()));

    {
        const WindowFixture w;
        QCOMPARE(windowTexts(w), untranslated);
    }
    QCoreApplication::removeTranslator(russian);
    delete russian;
}

void DesktopTest::picturesAreDrawnForTheScreensScale()
{
    QCOMPARE(qApp->devicePixelRatio(), 2.0);
    const WindowFixture w;
    for (const char *name : {"Image1", "Image2"}) {
        const QPixmap picture = w.get<QLabel>(QLatin1String(name))->pixmap();
        QCOMPARE(picture.devicePixelRatio(), 2.0);
        QCOMPARE(picture.size(), QSize(42, 40)); // 21 x 20 drawn at double size
    }
    for (const char *name : {"Command5", "Command6"}) {
        const QPixmap picture = window::look::picture(QLatin1String(name));
        QCOMPARE(picture.deviceIndependentSize().toSize(), QSize(111, 25));
        QCOMPARE(picture.size(), QSize(222, 50));
    }
    const QCursor hand = w.get<QWidget>(u"Label45"_s)->cursor();
    QCOMPARE(hand.pixmap().size(), QSize(64, 64));
    QCOMPARE(hand.hotSpot(), QPoint(13, 9));
    const QPixmap icon = w.form->windowIcon().pixmap(QSize(32, 32), 2.0);
    QCOMPARE(icon.size(), QSize(64, 64));
}

TARIFMASTER_WINDOW_TEST_MAIN(DesktopTest)
#include "desktop_test.moc"
