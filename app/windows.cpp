#include "app/windows.h"

#include "base/error.h"
#include "menu/Unit_options.h"
#include "menu/menu.h"
#include "platform/x11.h"
#include "play/UnitPlay.h"

#include <QObject>

namespace zephyra {

void createWindows(SoundOutput& sound, const ParentChoices& choices)
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
