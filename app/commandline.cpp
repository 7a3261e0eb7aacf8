#include "app/commandline.h"

#include "settings/settingsfile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cstdio>

namespace zephyra {

namespace {

// Qt's parser translates its own words in its own context; naming them here
// puts them in our catalogues, so the help reads in one language.
[[maybe_unused]] constexpr const char* kParserWords[] = {
    QT_TRANSLATE_NOOP("QCommandLineParser", "Usage: %1"),
    QT_TRANSLATE_NOOP("QCommandLineParser", "Options:"),
    QT_TRANSLATE_NOOP("QCommandLineParser", "[options]"),
    QT_TRANSLATE_NOOP("QCommandLineParser", "Displays help on commandline options."),
    QT_TRANSLATE_NOOP("QCommandLineParser", "Displays help including Qt specific options."),
    QT_TRANSLATE_NOOP("QCommandLineParser", "Displays version information."),
    QT_TRANSLATE_NOOP("QCommandLineParser", "Unknown option '%1'."),
    QT_TRANSLATE_NOOP("QCommandLineParser", "Unknown options: %1."),
    QT_TRANSLATE_NOOP("QCommandLineParser", "Missing value after '%1'."),
    QT_TRANSLATE_NOOP("QCommandLineParser", "Unexpected value after '%1'."),
};

// The options Qt's application takes out of the arguments itself (its own,
// its window system's, and the widgets').
bool isQtOption(const QString& name)
{
    static const QStringList names{
        QStringLiteral("platform"), QStringLiteral("platformpluginpath"), QStringLiteral("platformtheme"),
        QStringLiteral("plugin"), QStringLiteral("qmljsdebugger"), QStringLiteral("qwindowgeometry"),
        QStringLiteral("qwindowicon"), QStringLiteral("qwindowtitle"), QStringLiteral("reverse"),
        QStringLiteral("session"), QStringLiteral("display"), QStringLiteral("geometry"),
        QStringLiteral("name"), QStringLiteral("title"), QStringLiteral("visual"),
        QStringLiteral("ncols"), QStringLiteral("cmap"), QStringLiteral("nograb"),
        QStringLiteral("dograb"), QStringLiteral("sync"), QStringLiteral("style"),
        QStringLiteral("stylesheet"), QStringLiteral("widgetcount")};
    return names.contains(name.section(QLatin1Char('='), 0, 0));
}

CommandLine refuse(const QString& why) { return {CommandLine::Refuse, why, {}}; }

}  // namespace

CommandLine readCommandLine(const QStringList& arguments, bool beforeGui, const ParentChoices& saved)
{
    using QC = QCoreApplication;
    QCommandLineParser parser;
    // Qt's own options are words after one dash (-display, -platform), so
    // ours read the same way with one dash or two.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    // The desktop entry's actions carry these same names.
    const QString lockAction = QC::translate("zephyra", "Play with child lock");
    const QString minutesAction = QC::translate("zephyra", "Play for %1 minutes").arg(kDesktopMinutes);
    const QString easyAction = QC::translate("zephyra", "Easy play");
    const QString grownUpsAction = QC::translate("zephyra", "Settings for grown-ups");
    parser.setApplicationDescription(
        QC::translate("zephyra", "A balloon-popping game for young children.") + QLatin1Char('\n')
        + QC::translate("zephyra", "Its menu on the desktop also offers \"%1\", \"%2\", \"%3\" and \"%4\".")
              .arg(lockAction, minutesAction, easyAction, grownUpsAction));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption lock(
        QStringLiteral("child-lock"),
        QC::translate("zephyra", "Child lock: during a round only Esc held for %1 seconds leaves; "
                                 "the field cannot be closed, minimised or covered.")
            .arg(kHoldToLeaveMs / 1000));
    const QCommandLineOption minutes(
        QStringLiteral("minutes"),
        QC::translate("zephyra", "Play time in minutes, %1 to %2. Then the balloons float away and a goodnight "
                                 "picture ends play; with the child lock, Play stays closed until the game starts "
                                 "again.")
            .arg(kLeastMinutes)
            .arg(kMostMinutes),
        QStringLiteral("N"));
    const QCommandLineOption easy(
        QStringLiteral("easy"),
        QC::translate("zephyra", "Easy play: any key but Esc, any mouse button, a tap or a gamepad button sends "
                                 "the wasp to the nearest balloon, and it pops it."));
    const QCommandLineOption grownUps(
        QStringLiteral("grown-ups"),
        QC::translate("zephyra", "Opens the settings for grown-ups: the child lock, the play time, easy play, the "
                                 "language, the volume and whether the options are remembered, kept for every start "
                                 "in %1.")
            .arg(userSettingsFile()));
    parser.addOption(lock);
    parser.addOption(minutes);
    parser.addOption(easy);
    parser.addOption(grownUps);

    const bool parsed = parser.parse(arguments);
    const QStringList unknown = parser.unknownOptionNames();
    if (!parsed && (!beforeGui || unknown.isEmpty() || !std::all_of(unknown.begin(), unknown.end(), isQtOption)))
        return refuse(parser.errorText());
    if (parser.isSet(QStringLiteral("help-all"))) {
        if (beforeGui)
            return {CommandLine::Undecided, {}, {}};
        parser.process(arguments);  // prints the help with Qt's options and ends with 0
    }
    if (parser.isSet(help))
        return {CommandLine::Answer, parser.helpText(), {}};
    if (parser.isSet(version))
        return {CommandLine::Answer,
                QC::applicationName() + QLatin1Char(' ') + QC::applicationVersion() + QLatin1Char('\n'), {}};

    CommandLine line;
    line.choices = saved;
    line.grownUps = parser.isSet(grownUps);
    if (parser.isSet(minutes)) {
        const QString value = parser.value(minutes);
        static const QRegularExpression digits(QStringLiteral("^[0-9]{1,6}$"));
        const int n = digits.match(value).hasMatch() ? value.toInt() : 0;
        if (n < kLeastMinutes || n > kMostMinutes)
            return refuse(QC::translate("zephyra", "--minutes takes a whole number from %1 to %2, not '%3'.")
                              .arg(kLeastMinutes)
                              .arg(kMostMinutes)
                              .arg(value));
        line.choices.playTime = std::chrono::minutes(n);
    }
    line.choices.childLock = saved.childLock || parser.isSet(lock);
    line.choices.easyPlay = saved.easyPlay || parser.isSet(easy);
    if (!parsed || !parser.positionalArguments().isEmpty()) {
        // Before the QApplication an unknown word may be one of Qt's own.
        if (beforeGui)
            return {CommandLine::Undecided, {}, {}};
        return refuse(
            QC::translate("zephyra", "Unexpected argument '%1'.").arg(parser.positionalArguments().value(0)));
    }
    return line;
}

int finishCommandLine(const CommandLine& line)
{
    if (line.outcome == CommandLine::Answer) {
        std::fputs(qPrintable(line.text), stdout);
        return 0;
    }
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    std::fprintf(stderr, "%s: %s\n", qPrintable(program), qPrintable(line.text));
    return kBadArguments;
}

}  // namespace zephyra
