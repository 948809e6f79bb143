#include "window/application.h"

#include "tarifmaster/version.h"
#include "window/look.h"
#include "window/text.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QStringList>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace window::application {

namespace {

QString helpText()
{
    return QStringLiteral(
        "Использование: %1 [параметр]\n"
        "       %1 [--fleet] [ФАЙЛ]\n"
        "\n"
        "ТарифМастер рассчитывает страховую премию по обязательному страхованию гражданской\n"
        "ответственности владельцев транспортных средств по тарифам, утвержденным постановлением\n"
        "Правительства Российской Федерации от 7 мая 2003 г. № 264.\n"
        "\n"
        "Параметры:\n"
        "  -h, --help      показать эту справку и выйти\n"
        "  -v, --version   показать версию программы и выйти\n"
        "  --fleet [ФАЙЛ]  открыть окно расчета парка ТС; список ФАЙЛ (CSV, .xlsx или .ods)\n"
        "                  рассчитывается сразу, без него окно предлагает выбрать список\n"
        "  ФАЙЛ            то же, что --fleet ФАЙЛ: так список передает файловый менеджер\n"
        "\n"
        "Результат расчета парка записывается рядом со списком: парк.xlsx дает\n"
        "парк-result.xlsx, парк.ods — парк-result.ods, другой список — <имя>-result.csv.\n"
        "Список можно и перетащить в окно программы.\n"
        "\n"
        "Без параметров программа открывает главное окно. Без экрана ее запускают так:\n"
        "  xvfb-run -a %1\n"
        "  QT_QPA_PLATFORM=offscreen %1\n"
        "\n"
        "Отчеты str.txt и str.doc записываются в папку документов пользователя; переносная\n"
        "копия программы, которая может писать в свою папку, записывает их рядом с собой.\n")
        .arg(QLatin1String(kCommand));
}

bool unset(const char *name)
{
    return qEnvironmentVariableIsEmpty(name);
}

// Qt's messages while the display is being opened; they are said only if it opens after all.
QStringList &heldWarnings()
{
    static QStringList held;
    return held;
}

QtMessageHandler qtHandler = nullptr;

void whileOpeningDisplay(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtFatalMsg) {
        // Qt cannot open the display. Its own words ("Reinstalling the application may fix this
        // problem") send the user the wrong way, and what follows them is an abort.
        const QByteArray message = noDisplayMessage().toUtf8();
        std::fwrite(message.constData(), 1, static_cast<std::size_t>(message.size()), stderr);
        std::fflush(stderr);
        ::_exit(kNoDisplayStatus);
    }
    const char *category = context.category ? context.category : "";
    heldWarnings() << (*category && qstrcmp(category, "default") != 0
            ? QString::fromLatin1(category) + QStringLiteral(": ") + text
            : text);
}

} // namespace

form::WindowRequest windowRequest(const QStringList &arguments)
{
    std::vector<std::string> utf8;
    for (qsizetype i = 1; i < arguments.size(); ++i)
        utf8.push_back(toUtf8(arguments[i]));
    const std::vector<std::string_view> views(utf8.begin(), utf8.end());
    return form::windowRequest(views);
}

std::optional<Answer> answerCommandLine(int argc, char *argv[], std::string_view moreHelp)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    // "-reverse" is one of Qt's options, not -r -e -v ...
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOption(help);
    parser.addOption(version);
    parser.parse(arguments); // unknown options are Qt's to take or ignore
    if (parser.isSet(help)) {
        QString text = helpText();
        if (!moreHelp.empty())
            text += u'\n' + QString::fromUtf8(moreHelp.data(), static_cast<qsizetype>(moreHelp.size()));
        return Answer{text, 0};
    }
    if (parser.isSet(version))
        return Answer{QString::fromUtf8(tarifmaster::kVersionLine), 0};
    return std::nullopt;
}

QString noDisplayMessage()
{
    QString problem;
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    if (!platform.isEmpty()) {
        problem = QStringLiteral("не удалось открыть экран через платформу QT_QPA_PLATFORM=%1").arg(platform);
    } else if (unset("DISPLAY") && unset("WAYLAND_DISPLAY")) {
        problem = QStringLiteral("нет графического экрана: переменные DISPLAY и WAYLAND_DISPLAY не заданы");
    } else {
        QStringList displays;
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY"})
            displays << (unset(name)
                    ? QStringLiteral("%1 не задан").arg(QLatin1String(name))
                    : QStringLiteral("%1=%2").arg(QLatin1String(name), qEnvironmentVariable(name)));
        problem = QStringLiteral("не удалось открыть экран (%1): он недоступен")
                      .arg(displays.join(QStringLiteral(", ")));
    }
    return QStringLiteral("ТарифМастер: %1.\n"
                          "Запустите программу в графическом сеансе или без экрана:\n"
                          "  xvfb-run -a %2\n"
                          "  QT_QPA_PLATFORM=offscreen %2\n")
        .arg(problem, QLatin1String(kCommand));
}

void guardDisplayOpening()
{
    heldWarnings().clear();
    qtHandler = qInstallMessageHandler(whileOpeningDisplay);
}

void displayOpened()
{
    qInstallMessageHandler(qtHandler);
    for (const QString &warning : std::as_const(heldWarnings()))
        std::fprintf(stderr, "%s\n", warning.toUtf8().constData());
    heldWarnings().clear();
}

QTranslator *loadQtTranslations(QCoreApplication &app, const QLocale &locale)
{
    auto *translator = new QTranslator(&app);
    if (!translator->load(locale,
            QStringLiteral("qtbase"),
            QStringLiteral("_"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return nullptr;
    }
    QCoreApplication::installTranslator(translator);
    return translator;
}

void setUp(QCoreApplication &app)
{
    // No application display name: Qt would append it to the window title.
    QCoreApplication::setApplicationName(QLatin1String(kCommand));
    QCoreApplication::setApplicationVersion(QLatin1String(tarifmaster::kVersion));
    QGuiApplication::setDesktopFileName(QLatin1String(tarifmaster::kAppId));
    QGuiApplication::setWindowIcon(look::windowIcon());
    loadQtTranslations(app, QLocale::system());
}

} // namespace window::application
