#include "app/windows.h"

#include "base/error.h"
#include "menu/Unit_options.h"
#include "menu/menu.h"
#include "platform/language.h"
#include "platform/x11.h"
#include "play/UnitPlay.h"
#include "settings/settingsfile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QObject>

#include <cstdio>

namespace zephyra {

namespace {

// The options in force go to the user's settings file; one that cannot be
// written is said, and the options hold until the game ends.
void keepOptions()
{
    SavedSettings kept;
    kept.options = GameSettings;
    if (const SaveTrouble trouble = saveUserSettings(kept, {QLatin1String(kOptionsSection)}))
        throw Error(QCoreApplication::translate("zephyra", "These options hold until the game is closed, but they "
                                                           "cannot be kept in %1: %2")
                        .arg(userSettingsFile(), troubleText(trouble)));
}

// The start screen says what is in force for the next round.
void showInForce() { START->ShowInForce(Play->InForce(), lockCannotHold().isEmpty()); }

}  // namespace

void createWindows(SoundOutput& sound, const ParentChoices& choices, const TGameSettings* remembered)
{
    try {
        START = new TSTART();
        Play = new TPlay(sound, choices);
        Options = new TOptions();
    } catch (...) {
        destroyWindows();
        throw;
    }
    QObject::connect(START, &TSTART::playRequested, Play, &TPlay::StartRound);
    QObject::connect(START, &TSTART::optionsRequested, Options, [] {
        Options->show();
        Options->raise();
        Options->activateWindow();
    });
    connectHandler(Play, &TPlay::playTimeOver, START, &TSTART::RefusePlay);
    QObject::connect(Play, &TPlay::roundEnded, START, &showInForce);
    QObject::connect(Play, &TPlay::roundEnded, START, &QWidget::show);
    QObject::connect(Options, &TOptions::returnedToStart, START, &QWidget::show);
    if (remembered)
        Options->LoadRemembered(*remembered);
    if (choices.rememberOptions)
        QObject::connect(Options, &TOptions::settingsSaved, Options, [] { runHandler(keepOptions); });
    showInForce();
}

QString takeChoices(const HandedChoices& handed)
{
    // A picture that cannot be decoded (the locked field's) is the standard error.
    runHandler([&handed] { Play->TakeChoices(handed.choices); });
    if (handed.withVolume)
        Play->SetVolume(handed.choices.volume);
    showInForce();
    QStringList notTaken;
    if (handed.choices.childLock && !lockCannotHold().isEmpty())
        notTaken << lockCannotHold();
    // Every text and picture was made in the language of the start.
    if (handed.withLanguage && handed.choices.language != currentLanguage())
        notTaken << QCoreApplication::translate("zephyra", "it keeps its language until it is closed");
    return notTaken.join(QStringLiteral("; "));
}

void sayOnTerminal(const QString& line)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(QFileInfo(QCoreApplication::applicationFilePath()).fileName()),
                 qPrintable(line));
}

void sayNotTaken(const QString& why)
{
    sayOnTerminal(why);
    // The grown-up who chose from the menu sees no terminal.
    QMessageBox box(QMessageBox::Warning, QStringLiteral("ZEPHYRA"),
                    QCoreApplication::translate("zephyra", "The game already running came forward, but %1.").arg(why),
                    QMessageBox::Ok);
    box.exec();
}

QString lockCannotHold()
{
    if (inputHoldsPossible())
        return {};
    return QCoreApplication::translate("zephyra", "the child lock cannot hold on this desktop: without XWayland, "
                                                  "no program may hold the keyboard and the mouse");
}

void bringGameToFront(const QString& startupId)
{
    QWidget* shown = START;
    if (Play->isVisible())
        shown = Play;
    else if (Options->isVisible())
        shown = Options;
    bringToFront(shown, startupId);
}

bool roundShown() { return Play && Play->isVisible(); }

void destroyWindows()
{
    delete Options;
    Options = nullptr;
    delete Play;
    Play = nullptr;
    delete START;
    START = nullptr;
}

}  // namespace zephyra
