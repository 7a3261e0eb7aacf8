// Speed of the play field: one tick with eight balloons in flight and the
// wasp moving (the control moves included, not the screen paint), and the
// paint of one whole full-screen frame at 1920 x 1080 with eight balloons.

#include "app/windows.h"
#include "assets/PngImageList.h"
#include "controls/TImage.h"
#include "menu/Unit_options.h"
#include "menu/menu.h"
#include "platform/sound.h"
#include "play/UnitPlay.h"
#include "settings/GameSettings.h"

#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QMouseEvent>
#include <QWindow>

#include <benchmark/benchmark.h>

namespace {

// Eight medium balloons spread over the field, none near the top where the
// wasp flies, so the tick runs every step without a pop.
void fillField()
{
    Play->setGeometry(0, 0, 1920, 1080);
    Play->show();
    GameSettings.FlightStep = 10;
    PlayState.LaunchElapsed = GameSettings.LaunchInterval;  // due, but no slot is free
    for (int i = 0; i < 8; ++i) {
        TImage* s = Play->Slots()[static_cast<std::size_t>(i)];
        s->setPicture(Play->PngImageCollection1->Items()->Items(4 + i % 4)->PngImage());
        s->move(40 + 230 * i, 200 + 90 * i);
        s->show();
        PlayState.BurstPhase[static_cast<std::size_t>(i)] = 0;
    }
    QApplication::processEvents();
}

void BM_TickEightBalloonsWaspMoving(benchmark::State& state)
{
    fillField();
    int n = 0;
    for (auto _ : state) {
        // The pointer wanders along the top, over the displays; the wasp
        // follows the window's mouse events, delivered here as the loop would.
        const QPoint at(100 + (n * 37) % 1700, 40 + (n % 2));
        QCursor::setPos(at);
        QMouseEvent move(QEvent::MouseMove, at.toPointF(), at.toPointF(), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(Play->windowHandle(), &move);
        Play->Timer_B1Timer();
        // Keep all eight in flight: one that nears the top starts again low.
        for (TImage* s : Play->Slots())
            if (s->y() < 120)
                s->move(s->x(), 900);
        ++n;
    }
    if (PlayState.PoppedCount != 0 || PlayState.LaunchedCount != 0)
        state.SkipWithError("the tick popped or launched; the set-up is wrong");
    // Repaints were only requested; drop them so they do not pile up.
    QApplication::processEvents();
}
BENCHMARK(BM_TickEightBalloonsWaspMoving);

void BM_PaintFullFrame1920x1080(benchmark::State& state)
{
    fillField();
    Play->ImageBee->move(900, 500);
    QImage frame(Play->size(), QImage::Format_RGB32);
    Play->render(&frame);  // the first paint scales the background once
    for (auto _ : state) {
        Play->render(&frame);
        benchmark::ClobberMemory();
    }
    benchmark::DoNotOptimize(frame.constBits());
}
BENCHMARK(BM_PaintFullFrame1920x1080)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZEPHYRA"));
    // The field's sounds cost it nothing: the real output only hands them on.
    struct Silent final : zephyra::SoundOutput {
        void play(zephyra::SoundId) override {}
    } silent;
    zephyra::createWindows(silent);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
