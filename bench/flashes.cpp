// Flashes on the play field, counted by the general-flash rule for
// photosensitive viewers: a flash is a pair of opposite changes of relative
// luminance by 0.1 or more where the darker state is below 0.8, over at least
// a quarter of a 341 x 256 area (21,824 pixels) of a 1024 x 768 field; more
// than three flashes within any one second fail. Saturated red is counted
// the same way by its own rule (a change of (R-G-B) x 320 by more than 20,
// one state at least 80 % red).
//
// The real play field is built offscreen at 1024 x 768 and played tick by
// tick: a child who pops each balloon as early as possible, every frame
// composed as Qt paints it. Frames change only on ticks, so one frame a tick
// sees every change. A pixel's change counts once it reaches 0.1 from the
// last extreme, so slow fades add up; two changes of one direction in one
// second count as two (cautious: they may be different pixels).
//
// Usage: flashes [--seconds N] [--seed N] [--frames DIR]
//   --frames keeps the frames of each scenario's busiest second as PNG.

#include "app/windows.h"
#include "controls/TImage.h"
#include "platform/random.h"
#include "platform/sound.h"
#include "play/UnitPlay.h"
#include "play/input.h"
#include "settings/GameSettings.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QImage>
#include <QMouseEvent>
#include <QWindow>

#include <algorithm>
#include <array>
#include <cmath>
#include <climits>
#include <cstdio>
#include <deque>
#include <vector>

namespace {

constexpr QSize kField(1024, 768);
constexpr QSize kArea(341, 256);                                  // about ten degrees of sight
constexpr int kFlashArea = kArea.width() * kArea.height() / 4;    // 21,824 pixels
constexpr double kLuminanceStep = 0.1;
constexpr double kDarkerBelow = 0.8;
constexpr double kRedStep = 20;
constexpr double kSaturatedRed = 0.8;
constexpr int kMostFlashes = 3;
constexpr int kSecondTicks = 1000 / kTickMs;
constexpr int kStride = 4;  // areas are tried every 4 pixels each way

double linear(int channel)
{
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

const std::array<double, 256>& linearTable()
{
    static const std::array<double, 256> table = [] {
        std::array<double, 256> t{};
        for (int i = 0; i < 256; ++i)
            t[std::size_t(i)] = linear(i);
        return t;
    }();
    return table;
}

// One pixel's measure as it changes: each change that reaches the step from
// the last extreme is a transition, up or down.
struct Tracker {
    float low = 0, high = 0;
    std::int8_t last = 0;  // direction of the last transition; 0 before the first

    // +1, -1 or 0 for this frame; `allowed` says whether the pair of states
    // the change runs between may count (the darker one below 0.8, or a
    // saturated red among them).
    template <class Allowed>
    int step(float v, float stepSize, Allowed allowed)
    {
        if (last >= 0) {
            high = std::max(high, v);
            if (high - v >= stepSize && allowed(v, high)) {
                last = -1;
                low = v;
                return -1;
            }
        }
        if (last <= 0) {
            low = std::min(low, v);
            if (v - low >= stepSize && allowed(low, v)) {
                last = 1;
                high = v;
                return 1;
            }
        }
        return 0;
    }
};

// Transitions of one frame in one direction, summed over areas by an
// integral image.
struct Mask {
    std::vector<std::uint8_t> on;
    std::vector<int> sum;
    int count = 0;
    void clear() { std::fill(on.begin(), on.end(), 0), count = 0; }
    void integrate(int w, int h)
    {
        sum.assign(std::size_t((w + 1) * (h + 1)), 0);
        for (int y = 0; y < h; ++y) {
            int row = 0;
            for (int x = 0; x < w; ++x) {
                row += on[std::size_t(y * w + x)];
                sum[std::size_t((y + 1) * (w + 1) + x + 1)] = sum[std::size_t(y * (w + 1) + x + 1)] + row;
            }
        }
    }
    int in(int x, int y, int w, int cw, int ch) const
    {
        const auto at = [&](int px, int py) { return sum[std::size_t(py * (w + 1) + px)]; };
        return at(x + cw, y + ch) - at(x, y + ch) - at(x + cw, y) + at(x, y);
    }
};

struct Worst {
    double flashes = 0;
    int tick = -1;
    QRect area;
};

// Counts flashes by one rule over every frame it is given.
class FlashCount {
public:
    FlashCount()
        : m_pixels(std::size_t(kField.width() * kField.height())),
          m_columns((kField.width() - kArea.width()) / kStride + 1),
          m_rows((kField.height() - kArea.height()) / kStride + 1),
          m_events(std::size_t(m_columns * m_rows))
    {
        m_up.on.resize(m_pixels.size());
        m_down.on.resize(m_pixels.size());
    }

    // measure(pixel) gives the pixel's value; allowed(a, b) whether a
    // change between a and b may count.
    template <class Measure, class Allowed>
    void add(const QImage& frame, int tick, float stepSize, Measure measure, Allowed allowed)
    {
        m_up.clear();
        m_down.clear();
        const int w = kField.width();
        for (int y = 0; y < kField.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(frame.constScanLine(y));
            for (int x = 0; x < w; ++x) {
                const std::size_t i = std::size_t(y * w + x);
                const float v = measure(line[x]);
                if (tick == 0) {
                    m_pixels[i].low = m_pixels[i].high = v;
                    continue;
                }
                const int d = m_pixels[i].step(v, stepSize, allowed);
                if (d > 0)
                    m_up.on[i] = 1, ++m_up.count;
                else if (d < 0)
                    m_down.on[i] = 1, ++m_down.count;
            }
        }
        m_largest = std::max({m_largest, m_up.count, m_down.count});
        for (Mask* mask : {&m_up, &m_down}) {
            if (mask->count < kFlashArea)
                continue;  // no area can hold enough
            mask->integrate(w, kField.height());
            for (int r = 0; r < m_rows; ++r)
                for (int c = 0; c < m_columns; ++c)
                    if (mask->in(c * kStride, r * kStride, w, kArea.width(), kArea.height()) >= kFlashArea)
                        m_events[std::size_t(r * m_columns + c)].push_back(tick);
        }
        // Each area's transitions within the last second, this frame's included.
        for (std::size_t a = 0; a < m_events.size(); ++a) {
            std::deque<int>& e = m_events[a];
            while (!e.empty() && e.front() <= tick - kSecondTicks)
                e.pop_front();
            const double flashes = e.size() / 2.0;
            if (flashes > m_worst.flashes) {
                const int c = int(a) % m_columns, r = int(a) / m_columns;
                m_worst = {flashes, tick, QRect(QPoint(c * kStride, r * kStride), kArea)};
            }
        }
    }

    const Worst& worst() const { return m_worst; }
    int largestChange() const { return m_largest; }

private:
    std::vector<Tracker> m_pixels;
    int m_columns, m_rows;
    std::vector<std::deque<int>> m_events;
    Mask m_up, m_down;
    Worst m_worst;
    int m_largest = 0;
};

float luminance(QRgb p)
{
    const auto& lin = linearTable();
    return float(0.2126 * lin[std::size_t(qRed(p))] + 0.7152 * lin[std::size_t(qGreen(p))]
                 + 0.0722 * lin[std::size_t(qBlue(p))]);
}

float redness(QRgb p)
{
    const auto& lin = linearTable();
    const double r = lin[std::size_t(qRed(p))], g = lin[std::size_t(qGreen(p))], b = lin[std::size_t(qBlue(p))];
    // Negative values count as none; only a saturated red state has any.
    if (r + g + b <= 0 || r / (r + g + b) < kSaturatedRed)
        return 0;
    return float(std::max(0.0, (r - g - b) * 320));
}

struct Scenario {
    const char* name;
    SizeChoice balloons;
    int launchMs;
    int flightStep;
    int pressEvery = 0;  // easy play: a press every this many ticks, the pointer parked
};

void movePointer(QPoint at)
{
    QMouseEvent move(QEvent::MouseMove, at.toPointF(), at.toPointF(), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(Play->windowHandle(), &move);
}

// The child's hand: the pointer goes where the sting lies in the middle of
// the highest balloon that has risen into the sky, where a pop changes the
// most (a dark balloon over a bright sky); it rests in a corner otherwise.
void reachForBalloon()
{
    const TImage* target = nullptr;
    for (int i = 0; i < kSlotCount; ++i) {
        const TImage* s = Play->Slots()[std::size_t(i)];
        if (s->isVisible() && PlayState.BurstPhase[std::size_t(i)] == 0 && s->y() < Play->height() / 2
            && s->y() >= 0 && (!target || s->y() < target->y()))
            target = s;
    }
    if (!target) {
        movePointer({2, Play->height() - 2});
        return;
    }
    const int stingX = (GameSettings.StingLeft + GameSettings.StingRight) / 2;
    const int stingY = (GameSettings.StingTop + GameSettings.StingBottom) / 2;
    // Aimed at where the balloon will be after this tick's rise.
    const QPoint at(target->x() + GameSettings.BalloonWidth / 2 - stingX + GameSettings.WaspHotspot,
                    target->y() - GameSettings.FlightStep + GameSettings.BalloonHeight / 2 - stingY
                        + GameSettings.WaspHotspot);
    movePointer(at);
}

struct Outcome {
    Worst luminance, red;
    int largestChange = 0, largestRedChange = 0;
    int pops = 0;
    int prizes = 0;
};

Outcome play(zephyra::SoundOutput& sound, const Scenario& s, int seconds, quint32 seed, const QString& framesDir)
{
    zephyra::destroyWindows();
    GameSettings = TGameSettings();
    PlayState = TPlayState();
    zephyra::createWindows(sound, {.easyPlay = s.pressEvery > 0});
    zephyra::seedRandom(seed);
    ApplyBalloonSize(s.balloons);
    GameSettings.LaunchInterval = s.launchMs;
    GameSettings.FlightStep = s.flightStep;
    Play->setGeometry(QRect(QPoint(0, 0), kField));
    Play->show();
    Play->Timer_B1->setInterval(INT_MAX);  // ticks are driven here; a press asks whether they run
    Play->Timer_B1->start();

    FlashCount general, red;
    Outcome out;
    QImage frame(kField, QImage::Format_RGB32);
    std::deque<QImage> lastSecond;
    int pauseTicks = 0;
    const int ticks = seconds * 1000 / kTickMs;
    for (int tick = 0; tick < ticks; ++tick) {
        if (Play->TimerPriz->isActive()) {
            // The prize pause: no tick runs until its ten seconds are over.
            if (++pauseTicks * kTickMs >= kPrizePauseMs) {
                Play->TimerPrizTimer();
                pauseTicks = 0;
            }
        } else {
            if (s.pressEvery == 0)
                reachForBalloon();
            else if (tick % s.pressEvery == 0)
                Play->Input->Press();
            const int before = PlayState.PoppedCount;
            Play->Timer_B1Timer();
            if (Play->TimerPriz->isActive())
                ++out.prizes, ++out.pops;
            else if (PlayState.PoppedCount > before)
                ++out.pops;
        }
        Play->render(&frame);
        general.add(frame, tick, float(kLuminanceStep), luminance,
                    [](float a, float b) { return std::min(a, b) < kDarkerBelow; });
        red.add(frame, tick, float(kRedStep), redness, [](float a, float b) { return a > 0 || b > 0; });
        if (!framesDir.isEmpty()) {
            lastSecond.push_back(frame.copy());
            if (int(lastSecond.size()) > kSecondTicks + 1)
                lastSecond.pop_front();
            if (general.worst().tick == tick) {
                QDir(framesDir).mkpath(QString::fromLatin1(s.name));
                for (std::size_t i = 0; i < lastSecond.size(); ++i)
                    lastSecond[i].save(QStringLiteral("%1/%2/%3.png").arg(framesDir, QString::fromLatin1(s.name))
                                           .arg(tick - int(lastSecond.size()) + 1 + int(i), 5, 10, QLatin1Char('0')));
            }
        }
    }
    out.luminance = general.worst();
    out.red = red.worst();
    out.largestChange = general.largestChange();
    out.largestRedChange = red.largestChange();
    return out;
}

// The rule at work on known frames: a white square on black, lit every
// other tick for two seconds (ten flashes a second at 20 ticks a second),
// counts as flashing when it covers enough and not when it covers too little.
bool calibrate()
{
    const auto count = [](int side) {
        FlashCount c;
        for (int tick = 0; tick < 2 * kSecondTicks; ++tick) {
            QImage shown(kField, QImage::Format_RGB32);
            shown.fill(Qt::black);
            if (tick % 2)
                for (int y = 100; y < 100 + side; ++y)
                    std::fill_n(reinterpret_cast<QRgb*>(shown.scanLine(y)) + 100, side, qRgb(255, 255, 255));
            c.add(shown, tick, float(kLuminanceStep), luminance,
                  [](float a, float b) { return std::min(a, b) < kDarkerBelow; });
        }
        return c.worst().flashes;
    };
    const double large = count(200), small = count(140);
    std::printf("calibration: a 200x200 square lit every other tick: %g flashes in a second (10 expected); "
                "140x140: %g (0 expected)\n", large, small);
    return large == 10 && small == 0;
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZEPHYRA"));
    QCommandLineParser parser;
    const QCommandLineOption secondsOption(QStringLiteral("seconds"), QStringLiteral("Game time per scenario."),
                                           QStringLiteral("N"), QStringLiteral("60"));
    const QCommandLineOption seedOption(QStringLiteral("seed"), QStringLiteral("Random seed."), QStringLiteral("N"),
                                        QStringLiteral("20240611"));
    const QCommandLineOption framesOption(QStringLiteral("frames"), QStringLiteral("Keep the busiest second."),
                                          QStringLiteral("DIR"));
    parser.addOptions({secondsOption, seedOption, framesOption});
    parser.addHelpOption();
    parser.process(app);

    struct Silent final : zephyra::SoundOutput {
        void play(zephyra::SoundId) override {}
    } silent;

    static const Scenario scenarios[] = {
        {"start-values", SizeChoice::Medium, 1000, 10},
        {"large-fastest", SizeChoice::Large, 300, 30},
        {"small-fastest", SizeChoice::Small, 300, 2},
        // A toddler mashing keys on easy play, five presses a second.
        {"easy-mashing", SizeChoice::Large, 300, 10, 4},
    };
    bool fails = !calibrate();
    std::printf("1024x768 field, %s s of game time a scenario; a flash covers %d px of a 341x256 area\n",
                qPrintable(parser.value(secondsOption)), kFlashArea);
    for (const Scenario& s : scenarios) {
        const Outcome o = play(silent, s, parser.value(secondsOption).toInt(), parser.value(seedOption).toUInt(),
                               parser.value(framesOption));
        const auto where = [](const Worst& w) {
            return w.tick < 0 ? QStringLiteral("none")
                              : QStringLiteral("%1 at %2 s, area %3,%4").arg(w.flashes).arg(w.tick * kTickMs / 1000.0)
                                    .arg(w.area.x()).arg(w.area.y());
        };
        std::printf("%-14s %2d pops, %d prize(s); most flashes in a second: %s; red: %s; largest change of one "
                    "frame %d px, of red %d px\n",
                    s.name, o.pops, o.prizes, qPrintable(where(o.luminance)), qPrintable(where(o.red)),
                    o.largestChange, o.largestRedChange);
        fails = fails || o.luminance.flashes > kMostFlashes || o.red.flashes > kMostFlashes;
    }
    std::printf(fails ? "FAIL: more than %d flashes within a second\n" : "pass: at most %d flashes within any second\n",
                kMostFlashes);
    return fails ? 1 : 0;
}
