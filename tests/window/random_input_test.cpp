// A long stream of random user input against the real window: clicks anywhere, keys, typed and pasted
// texts of every awkward kind, presses of "ОК" and "отчет". After every event the window must still
// keep its promises:
//   - the total is empty or the premium the engine computes from the fields as they were at the last
//     press of "ОК";
//   - single-line fields hold a single line without control characters;
//   - every report written is whole: the text report has its 31 lines, the document is balanced RTF
//     whose total line is the window's total.
//
// The stream is fixed by a seed, so a failure can be replayed. CI runs a few thousand events;
// TARIFMASTER_RANDOM_EVENTS=1000000 runs a million (and TARIFMASTER_RANDOM_SEED another stream).
#ifndef Q_MOC_RUN // moc cannot parse the C++20 concepts that these headers bring in
#include "engine/fixed_point.h"
#include "engine/premium.h"
#include "engine/utf8.h"
#include "engine/windows1251.h"
#include "form/names.h"
#endif
#include "support/report_checks.h"
#include "support/window_fixture.h"
#include "support/window_test_main.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#ifndef Q_MOC_RUN
#include <iterator>
#include <random>
#endif

using namespace Qt::StringLiterals;

namespace {

qlonglong setting(const char *name, qlonglong fallback)
{
    bool ok = false;
    const qlonglong value = qEnvironmentVariableIntValue(name, &ok);
    return ok && value > 0 ? value : fallback;
}

std::string utf8(const QString &text)
{
    return text.toStdString();
}

bool holdsOneLine(const QString &text)
{
    for (const QChar c : text)
        if (engine::isControlCharacter(c.unicode()) || c.unicode() == 0x2028 || c.unicode() == 0x2029)
            return false;
    return true;
}

} // namespace

class RandomInputTest : public QObject {
    Q_OBJECT

private slots:
    void windowKeepsItsPromisesUnderRandomInput_data();
    void windowKeepsItsPromisesUnderRandomInput();

private:
    QString randomText();
    void step();
    void clickSomewhere();
    void pressKey();
    void typeOrPaste(bool paste);
    void pressButton(const char *name);
    void chooseEntry();
    void checkInvariants();
    void onOk();
    void onReport();
    QString expectedTotal() const;

    std::mt19937_64 m_random;
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<WindowFixture> w;
    QString m_expectedTotal;
    QStringList m_recent; // the last events, shown when an invariant breaks
    int m_reports = 0;
    bool m_broken = false;
    int m_totals = 0;
};

QString RandomInputTest::randomText()
{
    // clang-format off
    static const QStringList kPieces = {"1,3", "0,7", "2375", "1.5", "-1,5", "+2", "0", " ", "Ново", "омск", "✓", "中文",
        "😀", "𝟙", "\r\n", "\t", QString(QChar(0)), "\x1b", "\u0085", "\u2028", "{\\par}", "99999999999999999999"};
    // clang-format on
    switch (m_random() % 8) {
    case 0:
        return {};
    case 1:
        return QString(static_cast<qsizetype>(1000 + m_random() % 20000), QChar(u'9'));
    default: {
        QString text;
        const int pieces = 1 + static_cast<int>(m_random() % 4);
        for (int i = 0; i < pieces; ++i)
            text += kPieces[static_cast<qsizetype>(m_random() % static_cast<std::uint64_t>(kPieces.size()))];
        return text;
    }
    }
}

void RandomInputTest::clickSomewhere()
{
    QList<QWidget *> targets;
    for (QWidget *widget : w->form->findChildren<QWidget *>()) {
        // The exit button would end the session; everything else is fair game.
        if (widget->isVisible() && widget->isEnabled() && widget->objectName() != u"Command6"
            && widget->rect().isValid())
            targets << widget;
    }
    if (QWidget *popup = QApplication::activePopupWidget())
        targets << popup;
    QWidget *target
        = targets[static_cast<qsizetype>(m_random() % static_cast<std::uint64_t>(targets.size()))];
    const QPoint at(static_cast<int>(m_random() % static_cast<std::uint64_t>(target->width())),
        static_cast<int>(m_random() % static_cast<std::uint64_t>(target->height())));
    m_recent << u"click %1 at %2,%3"_s.arg(target->objectName()).arg(at.x()).arg(at.y());
    if (m_random() % 10 == 0)
        QTest::mouseDClick(target, Qt::LeftButton, {}, at);
    else
        QTest::mouseClick(target, Qt::LeftButton, {}, at);
}

void RandomInputTest::pressKey()
{
    struct Key {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    };
    // clang-format off
    static const Key kKeys[] = {{Qt::Key_Up, {}}, {Qt::Key_Down, {}}, {Qt::Key_Left, {}}, {Qt::Key_Right, {}},
        {Qt::Key_Home, {}}, {Qt::Key_End, {}}, {Qt::Key_PageUp, {}}, {Qt::Key_PageDown, {}}, {Qt::Key_Tab, {}},
        {Qt::Key_Backtab, Qt::ShiftModifier}, {Qt::Key_Space, {}}, {Qt::Key_Return, {}}, {Qt::Key_Escape, {}},
        {Qt::Key_Delete, {}}, {Qt::Key_Backspace, {}}, {Qt::Key_A, Qt::ControlModifier},
        {Qt::Key_Z, Qt::ControlModifier}, {Qt::Key_F4, {}}, {Qt::Key_Down, Qt::AltModifier},
        {Qt::Key_Tab, Qt::ControlModifier}};
    // clang-format on
    QWidget *target = QApplication::activePopupWidget();
    if (!target)
        target = QApplication::focusWidget();
    // The total is typed only by "ОК", and the exit button would end the session.
    if (!target || target->objectName() == u"Text10" || target->objectName() == u"Command6")
        target = w->form.get();
    const Key &key = kKeys[m_random() % std::size(kKeys)];
    m_recent << u"key %1+%2 to %3"_s.arg(key.modifiers.toInt()).arg(key.key, 0, 16).arg(target->objectName());
    QTest::keyClick(target, key.key, key.modifiers);
}

void RandomInputTest::typeOrPaste(bool paste)
{
    QWidget *target = QApplication::focusWidget();
    const auto *combo = qobject_cast<QComboBox *>(target);
    if (!target || !(qobject_cast<QLineEdit *>(target) || (combo && combo->isEditable()))
        || target->objectName() == u"Text10")
        return; // only fields take text, and the total is typed only by "ОК"
    const QString text = randomText();
    m_recent << u"%1 %2 chars into %3"_s.arg(paste ? u"paste"_s : u"type"_s)
                    .arg(text.size())
                    .arg(target->objectName());
    if (paste) {
        QApplication::clipboard()->setText(text);
        QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
    } else {
        // Typed characters come one key event at a time; a key event may carry several characters.
        for (qsizetype i = 0; i < text.size() && i < 64;) {
            const qsizetype n
                = std::min<qsizetype>(1 + static_cast<qsizetype>(m_random() % 3), text.size() - i);
            QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, text.mid(i, n), {});
            i += n;
        }
    }
}

void RandomInputTest::pressButton(const char *name)
{
    m_recent << u"press %1"_s.arg(QLatin1String(name));
    if (std::string_view(name) == "Command7" && m_random() % 2 == 0)
        w->clickButton(m_random() % 2 ? u"Option8"_s : u"Option9"_s);
    w->clickButton(QLatin1String(name));
}

// A choice as a user makes it in a step: an entry of a list, of a drop-down list, or an option.
void RandomInputTest::chooseEntry()
{
    // clang-format off
    static const QStringList kLists = {"List1", "List2", "List3", "List5", "List6", "List7", "List8", "List9", "List10",
        "List11", "List12"};
    static const QStringList kCombos = {"Combo1", "Combo2", "Combo3", "Combo4", "Combo5"};
    static const QStringList kOptions = {"Option1", "Option2", "Option3", "Option4", "Option5", "Option6", "Option7",
        "Option10", "Option11", "Check1"};
    // clang-format on
    const auto pick = [this](const QStringList &names) {
        return names[static_cast<qsizetype>(m_random() % static_cast<std::uint64_t>(names.size()))];
    };
    switch (m_random() % 3) {
    case 0: {
        const QString name = pick(kLists);
        const auto *list = w->get<QListWidget>(name);
        if (list->count() == 0)
            return;
        const QString entry
            = list->item(static_cast<int>(m_random() % static_cast<std::uint64_t>(list->count())))->text();
        m_recent << u"choose %1 in %2"_s.arg(entry, name);
        w->clickRow(name, entry);
        break;
    }
    case 1: {
        const QString name = pick(kCombos);
        const auto *combo = w->get<QComboBox>(name);
        if (!combo->isVisible() && name == u"Combo5")
            return;
        const QString entry
            = combo->itemText(static_cast<int>(m_random() % static_cast<std::uint64_t>(combo->count())));
        m_recent << u"choose %1 in %2"_s.arg(entry, name);
        w->chooseFromDropDown(name, entry);
        break;
    }
    default: {
        const QString name = pick(kOptions);
        m_recent << u"select %1"_s.arg(name);
        w->clickButton(name);
        break;
    }
    }
}

void RandomInputTest::step()
{
    while (m_recent.size() > 12)
        m_recent.removeFirst();
    // Of twenty: five clicks, four keys, two typed and two pasted texts, two "ОК", one "отчет", four choices.
    const auto roll = m_random() % 20;
    if (roll < 5)
        clickSomewhere();
    else if (roll < 9)
        pressKey();
    else if (roll < 13)
        typeOrPaste(roll >= 11);
    else if (roll < 15)
        pressButton("Command2");
    else if (roll < 16)
        pressButton("Command7");
    else
        chooseEntry();
}

// The oracle: the engine's premium of the fields as the window shows them, read here independently.
QString RandomInputTest::expectedTotal() const
{
    engine::FieldSnapshot fields;
    for (const form::CategoryOption &option : form::kCategoryOptions)
        if (w->get<QRadioButton>(fromUtf8(option.name))->isChecked())
            fields.category = option.category;
    fields.excludeKp = w->get<QCheckBox>(fromUtf8(form::kExcludeKpCheck))->isChecked();
    for (std::size_t i = 0; i < engine::kFactorCount; ++i)
        fields.texts[i] = utf8(w->text(fromUtf8(form::kFactorFields[i])));
    const engine::PremiumOutcome outcome = engine::premiumOf(fields);
    if (outcome.status != engine::PremiumOutcome::Status::Ok)
        return {};
    const QString total = QString::fromStdString(engine::formatFactorText(outcome.total));
    return total == u"0" ? QString() : total; // a total of 0 is warned about and emptied
}

void RandomInputTest::onOk()
{
    m_expectedTotal = expectedTotal();
    if (!m_expectedTotal.isEmpty())
        ++m_totals;
}

void RandomInputTest::onReport()
{
    ++m_reports;
    QVERIFY(!w->desktop.messages.isEmpty());
    const RecordingDesktop::Message &message = w->desktop.messages.back();
    QVERIFY2(!message.warning && message.text.startsWith(u"Cохраненно: "_s), qPrintable(message.text));
    const QString path = message.text.mid(12);
    QFile file(path);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
    const QByteArray bytes = file.readAll();
    const QByteArray total
        = QByteArray::fromStdString(engine::toWindows1251("ИТОГО:" + utf8(w->text(u"Text10"_s)) + " рублей"));
    if (path.endsWith(u"str.txt"_s)) {
        const support::ReportLines lines = support::splitReportLines(bytes.toStdString());
        QCOMPARE(lines.texts.size(), std::size_t(31));
        QCOMPARE(lines.rest, std::string());
        QCOMPARE(QByteArray::fromStdString(lines.texts.at(24)), total);
    } else {
        QVERIFY2(support::bracesBalanced(bytes.toStdString()) && bytes.startsWith("{\\rtf1")
                && bytes.endsWith("}\n"),
            "the document is not balanced RTF");
    }
}

void RandomInputTest::checkInvariants()
{
    QVERIFY2(w->form->isVisible(), "the window closed");
    QCOMPARE(w->text(u"Text10"_s), m_expectedTotal);
    for (const QLineEdit *field : w->form->findChildren<QLineEdit *>())
        QVERIFY2(holdsOneLine(field->text()),
            qPrintable(field->parentWidget()->objectName() + field->objectName()));
}

// One stream, in rows of at most 10 000 events, so that a long run reports as it goes and no row runs
// into Qt Test's time limit for one test function. The window lives on from row to row.
void RandomInputTest::windowKeepsItsPromisesUnderRandomInput_data()
{
    QTest::addColumn<qlonglong>("first");
    QTest::addColumn<qlonglong>("count");
    const qlonglong events = setting("TARIFMASTER_RANDOM_EVENTS", 3000);
    constexpr qlonglong kRow = 10000;
    for (qlonglong first = 0; first < events; first += kRow) {
        const qlonglong count = std::min(kRow, events - first);
        QTest::addRow("events %lld-%lld", first + 1, first + count) << first << count;
    }
}

void RandomInputTest::windowKeepsItsPromisesUnderRandomInput()
{
    QFETCH(qlonglong, first);
    QFETCH(qlonglong, count);
    if (m_broken)
        QSKIP("the stream broke in an earlier row");
    const qlonglong seed = setting("TARIFMASTER_RANDOM_SEED", 20261207);
    if (!w) {
        m_random.seed(static_cast<std::uint64_t>(seed));
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(m_folder->isValid());
        QVERIFY(
            QFile::copy(QStringLiteral(TARIFMASTER_BIN_DIR "/tmas.gif"), m_folder->filePath(u"tmas.gif"_s)));
        w = std::make_unique<WindowFixture>(m_folder->path());
        QVERIFY(w->exposed);
        // Connected after the window's own handlers: these run once "ОК" and "отчет" have done their work.
        connect(w->get<QPushButton>(u"Command2"_s), &QPushButton::clicked, this, &RandomInputTest::onOk);
        connect(w->get<QPushButton>(u"Command7"_s), &QPushButton::clicked, this, &RandomInputTest::onReport);
    }

    for (qlonglong i = first; i < first + count; ++i) {
        step();
        checkInvariants();
        if (QTest::currentTestFailed()) {
            m_broken = true;
            qWarning(
                "seed %lld, event %lld; the last events:\n%s", seed, i + 1, qPrintable(m_recent.join(u'\n')));
            return;
        }
        w->desktop.messages.clear();
        w->desktop.opened.clear();
    }
    qInfo("%lld events so far, %d totals computed, %d reports checked", first + count, m_totals, m_reports);
    QVERIFY(m_totals > 0 && m_reports > 0);
}

TARIFMASTER_WINDOW_TEST_MAIN(RandomInputTest)

#include "random_input_test.moc"
