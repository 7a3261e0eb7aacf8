// Speed of the play field's counter displays: one counter update (insert the
// new line at 0, delete line 1, then one paint) and a paint alone.

#include "lcd/LCDScreen.h"
#include "play/counters.h"

#include <QApplication>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

std::unique_ptr<TLCDScreen> launchedDisplay()
{
    auto d = std::make_unique<TLCDScreen>();
    configureCounterDisplay(d.get());
    d->setGeometry(8, 8, 485, 65);
    d->Lines()->Assign({QStringLiteral("ВЫЛЕТЕЛО - 0")});
    return d;
}

// The paint as Qt runs it: compose off-screen, one blit onto a surface.
void paint(TLCDScreen& d, QImage& surface)
{
    QPainter p(&surface);
    p.drawImage(0, 0, d.composeFrame());
}

void BM_CounterUpdateWithPaint(benchmark::State& state)
{
    auto d = launchedDisplay();
    QImage surface(d->size(), QImage::Format_RGB32);
    int count = 0;
    for (auto _ : state) {
        d->Lines()->Insert(0, QStringLiteral("ВЫЛЕТЕЛО - %1").arg(++count % 100000));
        d->Lines()->Delete(1);
        paint(*d, surface);
    }
    benchmark::DoNotOptimize(surface.constBits());
}
BENCHMARK(BM_CounterUpdateWithPaint);

void BM_Paint(benchmark::State& state)
{
    auto d = launchedDisplay();
    d->Lines()->Assign({QStringLiteral("ВЫЛЕТЕЛО - 88888")});  // many lit dots
    QImage surface(d->size(), QImage::Format_RGB32);
    for (auto _ : state)
        paint(*d, surface);
    benchmark::DoNotOptimize(surface.constBits());
}
BENCHMARK(BM_Paint);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
