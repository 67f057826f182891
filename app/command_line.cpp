#include "app/command_line.h"

#include <QCommandLineParser>
#include <cstdio>

namespace tavola {

namespace {

// The options QGuiApplication, QApplication and Qt's X11 platform take for
// themselves: known here so that they pass, and left out of the help, which
// is about the game.
void acceptQtOptions(QCommandLineParser& parser)
{
    const char* const withValue[] = {"platform", "platformpluginpath", "platformtheme", "plugin", "display", "style",
                                     "stylesheet", "qwindowgeometry", "geometry", "qwindowicon", "icon",
                                     "qwindowtitle", "title", "name", "visual", "session", "qmljsdebugger"};
    const char* const flags[] = {"reverse", "sync", "nograb", "dograb", "widgetcount", "testability"};
    for (const char* name : withValue) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : flags) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

// Refuses the command line, as Qt's parser does: on standard error, status 1.
int refuse(const QString& why)
{
    std::fprintf(stderr, "tavola: %s\nTry 'tavola --help'.\n", qPrintable(why));
    return 1;
}

}  // namespace

std::optional<int> answerCommandLine(int argc, char* argv[])
{
    if (argc < 2)
        return std::nullopt;
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A drill game in which a pupil practises subtracting signed integers.\n"
                       "The game takes no arguments; Qt's own options, such as -platform,\n"
                       "-display and -style, are passed on to Qt."));
    // "-platform" is one option, as Qt reads it, not the letters p, l, a, ...
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    // Qt's help option, without the help on Qt's own options: no Qt
    // application exists yet to list them.
    const QCommandLineOption help({"h", "help", "?"}, QStringLiteral("Displays help on commandline options."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    acceptQtOptions(parser);

    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (!parser.parse(arguments))
        return refuse(parser.errorText());
    if (parser.isSet(help)) {
        std::fputs(qPrintable(parser.helpText().replace(QStringLiteral("<executable_name>"), "tavola")), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("tavola %s\n", TAVOLA_VERSION);
        return 0;
    }
    if (const QStringList extra = parser.positionalArguments(); !extra.isEmpty())
        return refuse(QStringLiteral("unexpected argument '%1': the game takes none.").arg(extra.first()));
    return std::nullopt;
}

}  // namespace tavola
