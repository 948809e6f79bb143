// Plays a user's moves on the window, for the browser test, which plays the same moves on the page and
// compares what both show and write.
//
//   window_replay FOLDER START_DATE START_TIME MOVE...
//
// The window runs off-screen with FOLDER as its program folder: the reports are written there, and the
// report picture is looked for there. START_DATE and START_TIME stand in the hidden start fields, as if
// the window had been opened then. The moves are those of WindowFixture::play ("List1:физических лиц",
// "Combo1:9", "Text2=омск", "#Command2"). Afterwards every factor field, the total and the class at the end
// of the term are printed as "NAME=TEXT" lines, and every message shown as a "message=TEXT" line (a line
// break of a message as "\n"). Exit status: 0 played, 1 a move could not be made, 2 wrong arguments.
#include "form/names.h"
#include "support/window_fixture.h"

#include <QApplication>
#include <QLineEdit>

#include <cstdio>
#include <string_view>
#include <vector>

namespace {

void print(const QString &name, QString text)
{
    text.replace(u'\n', QStringLiteral("\\n"));
    std::printf("%s=%s\n", qPrintable(name), text.toUtf8().constData());
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() < 4) {
        std::fputs("usage: window_replay FOLDER START_DATE START_TIME MOVE...\n", stderr);
        return 2;
    }
    WindowFixture window(arguments[1]);
    if (!window.exposed)
        return 1;
    window.get<QLineEdit>(QStringLiteral("Text11"))->setText(arguments[2]);
    window.get<QLineEdit>(QStringLiteral("Text12"))->setText(arguments[3]);
    if (const QString failed = window.play(arguments.mid(4)); !failed.isEmpty()) {
        std::fprintf(stderr, "window_replay: %s\n", qPrintable(failed));
        return 1;
    }
    std::vector<std::string_view> fields(form::kFactorFields.begin(), form::kFactorFields.end());
    fields.insert(fields.end(), {"Text1", "Text10", "Text13"}); // the percentage, the total, the end class
    for (const std::string_view field : fields)
        print(fromUtf8(field), window.text(fromUtf8(field)));
    for (const RecordingDesktop::Message &message : window.desktop.messages)
        print(QStringLiteral("message"), message.text);
    return 0;
}
