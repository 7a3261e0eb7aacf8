// Easy play measured on the real field, offscreen at 1920 x 1080: a child
// who cannot aim presses a key about once a second (a random wait, then the
// flight) with the pointer parked in a corner, at each of the three balloon speeds
// (Min, the start value, Max) and in each pop mode. Prints the presses, those
// made while no balloon was wholly on the field, the pops their flights made,
// and the ticks from a press to the wasp's first move (or the pop, where it
// is there already) and to its pop: median and worst ("never" when some
// press got none).
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
#include <climits>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Row {
    int presses = 0, withoutBalloons = 0, pops = 0;
    std::vector<int> moveTicks, popTicks;  // a press that got none counts as never
};

constexpr int kNever = INT_MAX;

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
        row.withoutBalloons += !balloonOnField();
        const int before = PlayState.PoppedCount;
        const QPoint from = Play->ImageBee->pos();
        QTest::keyClick(Play, Qt::Key_A);
        // Until the flight is over: a resting wasp's touches afterwards are
        // not this press's pops.
        int moved = kNever, popped = kNever;
        for (int t = 1; t <= 2 * second && (popped == kNever || Play->Input->Flying()); ++t) {
            tick();
            if (popped == kNever && PlayState.PoppedCount > before)
                popped = t;
            // A balloon that pops where the wasp already is needs no move.
            if (moved == kNever && (Play->ImageBee->pos() != from || popped != kNever))
                moved = t;
        }
        row.pops += PlayState.PoppedCount - before;
        row.moveTicks.push_back(moved);
        row.popTicks.push_back(popped);
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
    const auto medianAndWorst = [](std::vector<int> ticks) {
        std::sort(ticks.begin(), ticks.end());
        const auto text = [](int t) { return t == kNever ? std::string("never") : std::to_string(t); };
        return "median " + text(ticks[ticks.size() / 2]) + ", worst " + text(ticks.back());
    };
    for (const auto& [name, step] : {std::pair{"Min", kFlightSteps[0]}, {"start value", kFlightSteps[2]},
                                     {"Max", kFlightSteps[4]}})
        for (const auto& [modeName, mode] :
             {std::pair{"by movement", PopByMove}, {"left click", PopByLeftClick}, {"right click", PopByRightClick}}) {
            const Row r = play(silent, step, mode, presses);
            std::printf("speed %-11s (%2d px a tick), %-11s: %d presses (%d with no balloon wholly on the field), "
                        "%d pops; ticks from press to first move: %s; to pop: %s\n",
                        name, step, modeName, r.presses, r.withoutBalloons, r.pops,
                        medianAndWorst(r.moveTicks).c_str(), medianAndWorst(r.popTicks).c_str());
        }
    return 0;
}
