#pragma once
// The command line: the grown-up's choices, --help and --version in the usual
// form, and one line with status 2 for anything the game cannot take.

#include "settings/parent.h"

#include <QString>
#include <QStringList>

namespace zephyra {

struct CommandLine {
    enum Outcome {
        Play,       // start the game with these choices
        Answer,     // print the text (help, version) and end with 0
        Refuse,     // print the text (one line) and end with kBadArguments
        Undecided,  // read again once the QApplication has taken its own options
    };
    Outcome outcome = Play;
    QString text;
    ParentChoices choices;
    // --grown-ups: the settings for grown-ups instead of the game.
    bool grownUps = false;
    // --kiosk: the login screen's session, the game alone (app/session.h);
    // the child lock is on.
    bool session = false;
};

inline constexpr int kBadArguments = 2;

// Reads the arguments as QCoreApplication::arguments() gives them. Before the
// QApplication exists (beforeGui), Qt's own options are still among them, so
// one of those leaves the reading undecided, as does --help-all, which lists
// them; any other option the game does not know is refused at once. The texts are in the installed
// language. The choices are the saved ones with what the command line asks
// for over them.
CommandLine readCommandLine(const QStringList& arguments, bool beforeGui, const ParentChoices& saved = {});

// Prints the text of an answer or a refusal, and gives the status to end with.
int finishCommandLine(const CommandLine& line);

}  // namespace zephyra
