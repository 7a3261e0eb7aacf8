#include "app/windows.h"

#include "menu/Unit_options.h"
#include "menu/menu.h"
#include "play/UnitPlay.h"

#include <QObject>

namespace zephyra {

void createWindows(SoundOutput& sound)
{
    try {
        START = new TSTART();
        Play = new TPlay(sound);
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
    QObject::connect(Play, &TPlay::roundEnded, START, &QWidget::show);
    QObject::connect(Options, &TOptions::returnedToStart, START, &QWidget::show);
}

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
