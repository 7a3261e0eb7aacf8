#include "app/windows.h"

#include "base/error.h"
#include "menu/Unit_options.h"
#include "menu/menu.h"
#include "platform/x11.h"
#include "play/UnitPlay.h"
#include "settings/settingsfile.h"

#include <QCoreApplication>
#include <QObject>

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
    QObject::connect(Play, &TPlay::roundEnded, START, &QWidget::show);
    QObject::connect(Options, &TOptions::returnedToStart, START, &QWidget::show);
    if (remembered)
        Options->LoadRemembered(*remembered);
    if (choices.rememberOptions)
        QObject::connect(Options, &TOptions::settingsSaved, Options, [] { runHandler(keepOptions); });
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
