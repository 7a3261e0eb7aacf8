// Long play: drives the real play field offscreen for many ticks in each pop
// mode, with a seeded random pointer walk, presses of every mouse button,
// prizes and Esc now and then, and checks after every tick what must always
// hold. Rounds start through the start screen's Play button; ticks are the
// timers' own timeout signals, so the handlers run as the event loop runs them.
//
// Usage: soak_play [ticks-per-mode [seed]]     (default 50000, 20261207)
// One tick stands for 50 ms of game time: 1,000,000 ticks are about 14 hours.
#include "assets/PngImageList.h"
#include "base/error.h"
#include "controls/TImage.h"
#include "lcd/LCDScreen.h"
#include "menu/menu.h"
#include "platform/random.h"
#include "play/UnitPlay.h"
#include "play/counters.h"
#include "settings/GameSettings.h"
#include "tests/fixture.h"

#include <QCursor>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <set>
#include <string>

namespace {

constexpr int kPrizePauseTicks = 10000 / kTickMs;
// Resident memory may settle during the first prizes and rounds; after that
// it must stay within this margin (the Release build stays well inside it).
constexpr long kFlatMarginKb = 4096;

long residentKb()
{
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

bool sanitized()
{
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#endif
#endif
    return false;
}

QString counterLine(const char* caption, std::int32_t count)
{
    return QString::fromUtf8(caption) + QString::number(count);
}

class Soak {
public:
    Soak(std::uint8_t mode, long ticks, quint32 seed) : m_mode(mode), m_ticks(ticks), m_random(seed)
    {
        m_reference.setGeometry(0, 0, 10, 10);
        configureCounterDisplay(&m_reference);
    }

    // Runs every round of the mode; returns false at the first broken rule.
    bool run()
    {
        GameSettings.PopMode = m_mode;
        while (m_tick < m_ticks && m_failure.isEmpty()) {
            chooseOptions();
            QTimer::singleShot(0, [this] { playRound(); });
            START->B_PlayClick();  // returns when the round's Esc has closed the field
            if (m_failure.isEmpty() && !START->isVisible())
                fail("Esc did not bring back the start screen");
        }
        return m_failure.isEmpty();
    }

    void report(long rssBefore) const
    {
        std::printf("mode %d: %ld ticks, %ld rounds, %ld pops, %ld prizes, %ld presses; "
                    "resident %ld kB -> %ld kB%s%s\n",
                    int(m_mode), m_tick, m_rounds, m_pops, m_prizes, m_presses, rssBefore,
                    residentKb(), m_failure.isEmpty() ? "" : "; FAILED: ",
                    qPrintable(m_failure));
    }

    long prizes() const { return m_prizes; }

private:
    int random(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }

    // What the options dialog could have saved between two rounds.
    void chooseOptions()
    {
        static const SizeChoice sizes[] = {SizeChoice::Small, SizeChoice::Medium, SizeChoice::Large};
        ApplyBalloonSize(sizes[random(3)]);
        ApplyWaspSize(sizes[random(3)]);
        GameSettings.FlightStep = kFlightSteps[std::size_t(random(5))];
        GameSettings.LaunchInterval = kLaunchIntervals[std::size_t(random(5))];
        GameSettings.SoundEnabled = random(2) == 0;
        GameSettings.PrizeEnabled = random(8) != 0;
        GameSettings.PrizeThreshold = 1 + random(6);
        m_allowed.clear();
        for (int i = 0; i < 4; ++i)
            m_allowed.insert(Play->PngImageCollection1->Items()->Items(GameSettings.BalloonImageBase + i)->PngImage().cacheKey());
        m_allowed.insert(Play->PngImageCollectionBoom->Items()->Items(GameSettings.BurstImageIndex)->PngImage().cacheKey());
        const QRect area = Play->screen()->geometry();
        m_pointer = area.center();
        ++m_rounds;
    }

    void playRound()
    {
        int pause = 0;
        while (m_tick < m_ticks && m_failure.isEmpty()) {
            walkPointer();
            if (random(8) == 0)
                press();
            if (Play->TimerPriz->isActive()) {
                if (++pause == kPrizePauseTicks) {
                    pause = 0;
                    fire(Play->TimerPriz);
                }
            } else {
                fire(GameSettings.PopMode == PopByMove ? Play->Timer_B1 : Play->TimerClick);
            }
            ++m_tick;
            check();
            // Let the window paint and tidy up now and then, as the event loop would.
            if (m_tick % 512 == 0)
                QCoreApplication::processEvents();
            if (random(5000) == 0 || m_tick == m_ticks) {
                const bool inPause = Play->TimerPriz->isActive();
                QTest::keyClick(Play, Qt::Key_Escape);
                if (inPause) {
                    if (!Play->isVisible())
                        fail("Esc cut the prize pause short");
                    continue;  // the field is closed after the last tick
                }
                if (Play->isVisible())
                    fail("Esc did not close the play field");
                return;
            }
        }
        if (Play->isVisible())
            Play->close();
    }

    // A walk in steps of up to 40 pixels that keeps to the screen; now and
    // then a jump, as a child lifting the mouse does.
    void walkPointer()
    {
        const QRect area = Play->screen()->geometry();
        if (random(200) == 0)
            m_pointer = {area.left() + random(area.width()), area.top() + random(area.height())};
        else
            m_pointer += QPoint(random(81) - 40, random(81) - 40);
        m_pointer.setX(std::clamp(m_pointer.x(), area.left(), area.right()));
        m_pointer.setY(std::clamp(m_pointer.y(), area.top(), area.bottom()));
        QCursor::setPos(m_pointer);
        // Over the field the wasp follows the window's mouse events: the move
        // reaches it before the next tick, as in the event loop, without a
        // pass of the loop (and a paint) per tick.
        if (QWindow* window = Play->windowHandle(); window && Play->rect().contains(Play->mapFromGlobal(m_pointer))) {
            QMouseEvent move(QEvent::MouseMove, window->mapFromGlobal(m_pointer.toPointF()), m_pointer.toPointF(),
                             Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(window, &move);
        }
    }

    // A press and release of any button where the pointer is, delivered to
    // the control under it as the window system would.
    void press()
    {
        static const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton,
                                                  Qt::BackButton, Qt::ForwardButton};
        const QPoint local = Play->mapFromGlobal(m_pointer);
        QWidget* target = Play->childAt(local);
        if (!target)
            target = Play;
        const std::int32_t before = PlayState.PoppedCount;
        QTest::mouseClick(target, buttons[random(5)], {}, target->mapFrom(Play, local));
        ++m_presses;
        countPops(before);
        check();
    }

    void fire(QTimer* timer)
    {
        const std::int32_t before = PlayState.PoppedCount;
        if (!timer->isActive())
            return fail(QStringLiteral("%1 was due but not running").arg(timer->objectName()));
        QMetaObject::invokeMethod(timer, "timeout");
        countPops(before);
    }

    void countPops(std::int32_t before)
    {
        if (PlayState.PoppedCount > before)
            m_pops += PlayState.PoppedCount - before;
        if (Play->TimerPriz->isActive() && !m_inPrize)
            ++m_prizes;
        m_inPrize = Play->TimerPriz->isActive();
    }

    void check()
    {
        if (!m_failure.isEmpty())
            return;
        for (int i = 0; i < 8; ++i) {
            const auto phase = PlayState.BurstPhase[std::size_t(i)];
            if (phase > 6)
                return fail(QStringLiteral("Ball%1 has burst phase %2").arg(i + 1).arg(phase));
            const TImage* slot = Play->Slots()[std::size_t(i)];
            if (slot->isHidden())
                continue;
            if (!m_allowed.count(slot->Picture().cacheKey()))
                return fail(QStringLiteral("Ball%1 shows a picture of another size").arg(i + 1));
            if (slot->size() != QSize(GameSettings.BalloonWidth, GameSettings.BalloonHeight))
                return fail(QStringLiteral("Ball%1 is not the size of the current balloons").arg(i + 1));
        }
        checkDisplay(Play->LCDScreen1, counterLine("ВЫЛЕТЕЛО - ", PlayState.LaunchedCount));
        checkDisplay(Play->LCDScreen2, counterLine("СБИТО - ", PlayState.PoppedCount));
        const int running = int(Play->Timer_B1->isActive()) + int(Play->TimerClick->isActive())
                            + int(Play->TimerPriz->isActive());
        QTimer* tick = GameSettings.PopMode == PopByMove ? Play->Timer_B1 : Play->TimerClick;
        if (running != 1 || !(tick->isActive() || Play->TimerPriz->isActive()))
            fail(QStringLiteral("timers running: Timer_B1 %1, TimerClick %2, TimerPriz %3")
                     .arg(Play->Timer_B1->isActive()).arg(Play->TimerClick->isActive())
                     .arg(Play->TimerPriz->isActive()));
        if (Play->ImagePriz->isVisible() != Play->TimerPriz->isActive())
            fail(QStringLiteral("the prize picture and the prize pause disagree"));
    }

    // The line must be the count, and now and then the dots must be exactly
    // those of a fresh display given that line.
    void checkDisplay(TLCDScreen* display, const QString& expected)
    {
        if (display->Lines()->Count() != 1 || display->Lines()->Strings(0) != expected)
            return fail(QStringLiteral("%1 holds \"%2\", not \"%3\"")
                            .arg(display->objectName(), display->linesText().join(u'|'), expected));
        if (m_tick % 997 != 0)
            return;
        m_reference.resize(display->size());
        m_reference.Lines()->Assign({expected});
        if (m_reference.composeFrame() != display->composeFrame())
            fail(QStringLiteral("%1 shows other dots than \"%2\"").arg(display->objectName(), expected));
    }

    void fail(const QString& what)
    {
        if (m_failure.isEmpty())
            m_failure = QStringLiteral("tick %1: %2").arg(m_tick).arg(what);
    }

    std::uint8_t m_mode;
    long m_ticks;
    std::mt19937 m_random;
    TLCDScreen m_reference;
    std::set<qint64> m_allowed;
    QPoint m_pointer;
    long m_tick = 0, m_rounds = 0, m_pops = 0, m_prizes = 0, m_presses = 0;
    bool m_inPrize = false;
    QString m_failure;
};

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const long ticks = argc > 1 ? std::atol(argv[1]) : 50000;
    const quint32 seed = argc > 2 ? quint32(std::strtoul(argv[2], nullptr, 10)) : 20261207u;
    QString boxes;
    zephyra::setMessagePresenter([&](QMessageBox::Icon, const QString&, const QString& text) { boxes += text; });
    fixture::freshGame();

    // Every picture a round can show decoded up front, so that what the
    // modes add to resident memory is not a size met for the first time.
    for (TPngImageCollection* list : {Play->PngImageCollection1, Play->PngImageCollectionBoom,
                                      Play->PngImageCollection2})
        for (int i = 0; i < list->Items()->Count(); ++i)
            list->Items()->Items(i)->PngImage();

    bool ok = true;
    long rssSettled = 0;
    for (std::uint8_t mode : {PopByMove, PopByLeftClick, PopByRightClick}) {
        zephyra::seedRandom(seed + mode);
        const long before = residentKb();
        Soak soak(mode, ticks, seed + mode);
        ok = soak.run() && ok;
        soak.report(before);
        if (soak.prizes() == 0) {
            std::printf("mode %d: no prize was won; the walk does not reach the prize\n", int(mode));
            ok = false;
        }
        // The first mode is the warm-up: every cache filled, the heap settled.
        if (mode == PopByMove)
            rssSettled = residentKb();
    }
    const long rssEnd = residentKb();
    std::printf("resident after the first mode %ld kB, at the end %ld kB (%+ld kB)\n", rssSettled,
                rssEnd, rssEnd - rssSettled);
    if (!boxes.isEmpty()) {
        std::printf("a message box appeared: %s\n", qPrintable(boxes));
        ok = false;
    }
    // The sanitizer's quarantine holds freed memory back by design; the figure
    // is reported there but only judged in a plain build.
    if (!sanitized() && rssEnd - rssSettled > kFlatMarginKb) {
        std::printf("resident memory grew by more than %ld kB\n", kFlatMarginKb);
        ok = false;
    }
    zephyra::destroyWindows();
    std::printf("%s\n", ok ? "soak passed" : "soak FAILED");
    return ok ? 0 : 1;
}
