// Where the window finds its pages and picture and where its reports go, in each layout the program
// lives in: the build folder, a portable copy (writable or not), an installed prefix, and a user whose
// documents folder is closed. Runs as an ordinary user (CTest starts it through as_ordinary_user.sh,
// as nobody under root), so that a folder without write permission really cannot be written. That user
// may not reach the build folder, so the script copies beside this program the build's program folder
// as bin/ and the prefix the install rules laid out as prefix/.
#include "support/window_fixture.h"
#include "support/window_test_main.h"
#include "window/program_files.h"

#include <QDir>
#include <QFile>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// A folder the script copied beside this program.
QString staged(const char *name)
{
    return QCoreApplication::applicationDirPath() + u'/' + QLatin1String(name);
}

const QStringList kProgramFiles
    = {u"tarif.htm"_s, u"prim.htm"_s, u"struk.htm"_s, u"primer.htm"_s, u"help.css"_s, u"tmas.gif"_s};

bool copyProgramFiles(const QString &to)
{
    if (!QDir().mkpath(to))
        return false;
    for (const QString &name : kProgramFiles)
        if (!QFile::copy(staged("bin") + u'/' + name, to + u'/' + name))
            return false;
    return true;
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

} // namespace

class ProgramFilesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void buildFolderIsAPortableCopy();
    void portableCopyKeepsItsReportsBesideIt();
    void portableCopyThatCannotWriteItsFolderUsesTheDocumentsFolder();
    void installedCopyFindsItsFilesInShareAndNeverWritesIntoThePrefix_data();
    void installedCopyFindsItsFilesInShareAndNeverWritesIntoThePrefix();
    void closedDocumentsFolderWarnsOnceAndLosesNothing();

private:
    // Writes both reports by clicks and returns the confirmations.
    QStringList writeBothReports();

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<WindowFixture> w;
};

void ProgramFilesTest::initTestCase()
{
    for (const char *folder : {"bin", "prefix"})
        QVERIFY2(QFileInfo(staged(folder)).isDir(),
            qPrintable(staged(folder) + u" is missing: run this test through ctest"_s));
}

void ProgramFilesTest::init()
{
    QVERIFY2(::geteuid() != 0, "runs as an ordinary user; root may write anywhere");
    // A fresh home without a documents folder; without user-dirs.dirs it is ~/Documents.
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid());
    qputenv("HOME", QFile::encodeName(m_home->path()));
    qunsetenv("XDG_CONFIG_HOME");
    QCOMPARE(window::documentsFolder(), m_home->filePath(u"Documents"_s));
}

void ProgramFilesTest::cleanup()
{
    w.reset();
    if (m_home) {
        // Give back what a test closed, so that the folder can be removed.
        QFile::setPermissions(m_home->filePath(u"Documents"_s),
            QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        m_home.reset();
    }
}

QStringList ProgramFilesTest::writeBothReports()
{
    // The text report is chosen at start.
    if (const QString failed = w->play({"List1:физических лиц", "#Command7", "#Option9", "#Command7"});
        !failed.isEmpty())
        return {failed};
    QStringList texts;
    for (const RecordingDesktop::Message &message : std::as_const(w->desktop.messages))
        texts << (message.warning ? u"warning: "_s : QString()) + message.text;
    return texts;
}

void ProgramFilesTest::buildFolderIsAPortableCopy()
{
    const auto files = window::ProgramFiles::locate(staged("bin"));
    QCOMPARE(files.dataFolder, staged("bin"));
    QVERIFY(!files.installed);
}

void ProgramFilesTest::portableCopyKeepsItsReportsBesideIt()
{
    QTemporaryDir unpacked(QDir::tempPath() + u"/unpacked copy XXXXXX"_s);
    QVERIFY(copyProgramFiles(unpacked.path()));
    w = std::make_unique<WindowFixture>(unpacked.path());
    w->clickButton(u"Command5"_s);
    QCOMPARE(w->desktop.opened.value(0), QUrl::fromLocalFile(unpacked.filePath(u"primer.htm"_s)));

    const QString saved = u"Cохраненно: "_s + unpacked.path();
    QCOMPARE(writeBothReports(), QStringList({saved + u"/str.txt"_s, saved + u"/str.doc"_s}));
    QVERIFY(!QFileInfo::exists(window::documentsFolder()));
}

void ProgramFilesTest::portableCopyThatCannotWriteItsFolderUsesTheDocumentsFolder()
{
    QTemporaryDir closed;
    QVERIFY(copyProgramFiles(closed.path()));
    QVERIFY(QFile::setPermissions(closed.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    w = std::make_unique<WindowFixture>(closed.path());
    w->clickButton(u"Command4"_s);
    QCOMPARE(w->desktop.opened.value(0), QUrl::fromLocalFile(closed.filePath(u"tarif.htm"_s)));

    const QString documents = window::documentsFolder();
    const QString saved = u"Cохраненно: "_s + documents;
    QCOMPARE(writeBothReports(), QStringList({saved + u"/str.txt"_s, saved + u"/str.doc"_s}));
    QCOMPARE(entries(documents), QStringList({u"str.doc"_s, u"str.txt"_s}));
    QFile::setPermissions(
        closed.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

void ProgramFilesTest::installedCopyFindsItsFilesInShareAndNeverWritesIntoThePrefix_data()
{
    QTest::addColumn<QString>("prefix");
    // What the install rules laid out (cmake --install), which this user cannot write; and the same
    // layout in a prefix the user owns, as an installation is to root.
    QTest::newRow("cmake --install") << staged("prefix");
    QTest::newRow("writable prefix") << QString();
}

void ProgramFilesTest::installedCopyFindsItsFilesInShareAndNeverWritesIntoThePrefix()
{
    QFETCH(QString, prefix);
    QTemporaryDir own;
    if (prefix.isEmpty()) {
        prefix = own.path();
        QVERIFY(QDir().mkpath(prefix + u"/bin"_s));
        QVERIFY(copyProgramFiles(prefix + u"/share/tarifmaster"_s));
    }
    const QString bin = prefix + u"/bin"_s;
    const QString share = prefix + u"/share/tarifmaster"_s;
    const QStringList before = entries(bin) + entries(share);

    w = std::make_unique<WindowFixture>(bin);
    const std::pair<const char *, const char *> pages[] = {{"Command4", "tarif.htm"},
        {"Command1", "prim.htm"},
        {"Command3", "struk.htm"},
        {"Command5", "primer.htm"}};
    for (const auto &[button, page] : pages) {
        w->clickButton(QLatin1String(button));
        const QString path = w->desktop.opened.back().toLocalFile();
        QCOMPARE(path, share + u'/' + QLatin1String(page));
        QVERIFY2(QFileInfo(path).isFile(), qPrintable(path));
    }

    const QString documents = window::documentsFolder();
    const QString saved = u"Cохраненно: "_s + documents;
    QCOMPARE(writeBothReports(), QStringList({saved + u"/str.txt"_s, saved + u"/str.doc"_s}));
    QFile document(documents + u"/str.doc"_s);
    QVERIFY(document.open(QIODevice::ReadOnly));
    QVERIFY(document.readAll().contains("\\pngblip")); // the picture from share/tarifmaster
    QCOMPARE(entries(bin) + entries(share), before);
}

void ProgramFilesTest::closedDocumentsFolderWarnsOnceAndLosesNothing()
{
    const QString documents = window::documentsFolder();
    QVERIFY(QDir().mkpath(documents));
    QVERIFY(QFile::setPermissions(documents, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    w = std::make_unique<WindowFixture>(staged("prefix") + u"/bin"_s);

    const QStringList messages = writeBothReports();
    QCOMPARE(messages.size(), 2);
    QCOMPARE(messages.value(0),
        QStringLiteral("warning: Не удалось сохранить отчет %1/str.txt: нет прав на запись в папку.\n"
                       "Прежний файл отчета, если он был, остался без изменений.")
            .arg(documents));
    QVERIFY2(messages.value(1).startsWith(u"warning: Не удалось сохранить отчет %1/str.doc"_s.arg(documents)),
        qPrintable(messages.value(1)));
    QVERIFY(entries(documents).isEmpty());
    QVERIFY(w->form->isVisible());
    QCOMPARE(w->text(u"txtTb"_s), u"1980"_s);
    QVERIFY(w->get<QRadioButton>(u"Option9"_s)->isChecked());
}

TARIFMASTER_WINDOW_TEST_MAIN(ProgramFilesTest)
#include "program_files_test.moc"
