// Easy play measured on the real field, offscreen at 1920 x 1080: a child
// who cannot aim presses a key about once a second (a random wait, then the
// flight) with the pointer parked in a corner, at each of the three balloon speeds
// (Min, the start value, Max) and in each pop mode. Prints the presses, those
// made while a balloon was wholly on the field, the pops their flights made,
// and the ticks from a press to its pop: shortest, median, longest.
// Usage: easy_play [presses]   (default 300 a speed and mode)

#include "app/windows.h"
#include "controls/TImage.h"
#include "platform/random.h"
#include "platform/sound.h"
#include "play/UnitPlay.h"
#include "play/input.h"
#include "settings/GameSettings.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Row {
    int presses = 0, withBalloons = 0, pops = 0;
    std::vector<int> ticks;
};

bool balloonOnField()
{
    const QRect field = Play->rect();
    for (int i = 0; i < kSlotCount; ++i)
        if (Play->Slots()[std::size_t(i)]->isVisible() && PlayState.BurstPhase[std::size_t(i)] == 0
            && field.contains(Play->Slots()[std::size_t(i)]->geometry()))
            return true;
    return false;
}

Row play(zephyra::SoundOutput& sound, int flightStep, TPopMode mode, int presses)
{
    zephyra::destroyWindows();
    GameSettings = TGameSettings();
    PlayState = TPlayState();
    zephyra::createWindows(sound, {.easyPlay = true});
    zephyra::seedRandom(20240611);
    GameSettings.FlightStep = flightStep;
    GameSettings.PopMode = mode;
    GameSettings.PrizeEnabled = false;  // the pause would only stretch the run
    Play->setGeometry(0, 0, 1920, 1080);
    Play->show();
    QCursor::setPos(Play->mapToGlobal(QPoint(1915, 1075)));
    Play->TickTimer()->setInterval(INT_MAX);  // ticks are driven here
    Play->TickTimer()->start();
    const auto tick = [] { GameSettings.PopMode == PopByMove ? Play->Timer_B1Timer() : Play->TimerClickTimer(); };
    for (int t = 0; t < 60; ++t)
        tick();  // balloons in the air

    Row row;
    const int second = 1000 / kTickMs;
    for (int p = 0; p < presses; ++p) {
        // About a second from press to press: a wait, then the flight.
        const int wait = 3 + zephyra::randomInt(second);
        for (int t = 0; t < wait; ++t)
            tick();
        ++row.presses;
        row.withBalloons += balloonOnField();
        const int before = PlayState.PoppedCount;
        QTest::keyClick(Play, Qt::Key_A);
        // Until the flight is over: a resting wasp's touches afterwards are
        // not this press's pops.
        int waited = 0;
        while (Play->Input->Flying() && waited < 2 * second) {
            tick();
            ++waited;
        }
        if (PlayState.PoppedCount > before) {
            row.pops += PlayState.PoppedCount - before;
            row.ticks.push_back(waited);
        }
    }
    return row;
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZEPHYRA"));
    const int presses = argc > 1 ? std::max(1, std::atoi(argv[1])) : 300;
    struct Silent final : zephyra::SoundOutput {
        void play(zephyra::SoundId) override {}
    } silent;

    std::printf("a press a second, pointer parked; flight of %d ticks (%d ms)\n", kFlightTicks, kFlightTicks * kTickMs);
    for (const auto& [name, step] : {std::pair{"Min", kFlightSteps[0]}, {"start value", kFlightSteps[2]},
                                     {"Max", kFlightSteps[4]}})
        for (const auto& [modeName, mode] :
             {std::pair{"by movement", PopByMove}, {"left click", PopByLeftClick}, {"right click", PopByRightClick}}) {
            Row r = play(silent, step, mode, presses);
            std::sort(r.ticks.begin(), r.ticks.end());
            const auto at = [&](std::size_t i) { return r.ticks.empty() ? -1 : r.ticks[i]; };
            std::printf("speed %-11s (%2d px a tick), %-11s: %d presses, %d with a balloon on the field, %d pops; "
                        "ticks from press to pop: shortest %d, median %d, longest %d\n",
                        name, step, modeName, r.presses, r.withBalloons, r.pops, at(0), at(r.ticks.size() / 2),
                        at(r.ticks.size() - 1));
        }
    return 0;
}
