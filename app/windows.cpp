#include "app/windows.h"

#include "base/error.h"
#include "menu/Unit_options.h"
#include "menu/menu.h"
#include "platform/x11.h"
#include "play/UnitPlay.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QObject>

#include <cstdio>

namespace zephyra {

namespace {

// The options in force go to the user's settings file; one that cannot be
// written says so on stderr, and the options hold until the game ends.
void keepOptions()
{
    SavedSettings kept;
    kept.options = rememberedFrom(GameSettings);
    const QString file = userSettingsFile();
    QString why;
    if (!writeSettingsFile(file, kept, {QLatin1String(kOptionsSection)}, {}, &why))
        std::fprintf(stderr, "%s: %s\n",
                     qPrintable(QFileInfo(QCoreApplication::applicationFilePath()).fileName()),
                     qPrintable(QCoreApplication::translate("zephyra", "%1: the options cannot be kept (%2)")
                                    .arg(file, why)));
}

}  // namespace

void createWindows(SoundOutput& sound, const ParentChoices& choices, const RememberedOptions* remembered)
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
        QObject::connect(Options, &TOptions::settingsSaved, &keepOptions);
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
