// The round's hold on the keyboard and the pointer on a real X server (the
// suite's Xvfb): seen from a second client, which can take them only while
// the game does not hold them.
#include "menu/menu.h"
#include "platform/x11.h"
#include "tests/fixture.h"

#include <QtTest>

#include <xcb/xcb.h>

#include <atomic>
#include <cstdlib>
#include <future>
#include <thread>

using namespace std::chrono_literals;

namespace {

using Clock = std::chrono::steady_clock;

// Whether another client could take the keyboard, or the pointer, now (it
// gives it back at once).
bool canTake(bool pointer)
{
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    bool free = false;
    if (pointer) {
        auto* reply = xcb_grab_pointer_reply(c, xcb_grab_pointer(c, 0, root, 0, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC,
                                                                 XCB_NONE, XCB_NONE, XCB_CURRENT_TIME), nullptr);
        free = reply && reply->status == XCB_GRAB_STATUS_SUCCESS;
        std::free(reply);
    } else {
        auto* reply = xcb_grab_keyboard_reply(
            c, xcb_grab_keyboard(c, 0, root, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC), nullptr);
        free = reply && reply->status == XCB_GRAB_STATUS_SUCCESS;
        std::free(reply);
    }
    xcb_disconnect(c);  // and with it any grab it took
    return free;
}

// Whether the game holds the keyboard and, locked, the pointer.
bool held(bool lock) { return !canTake(false) && !(lock && canTake(true)); }

}  // namespace

class X11Test : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb")); }
    void aStalledRoundLetsGoOnlyAfterItsLimit_data();
    void aStalledRoundLetsGoOnlyAfterItsLimit();
    void aFieldStillBeingMappedIsNotShownAgain();
};

void X11Test::aStalledRoundLetsGoOnlyAfterItsLimit_data()
{
    QTest::addColumn<bool>("lock");
    QTest::addColumn<int>("stallMs");
    QTest::addColumn<int>("letGoMs");  // the earliest another client may take them; 0: never
    QTest::newRow("unlocked, 3 s") << false << 3000 << 2000;
    QTest::newRow("locked, 5 s") << true << 5000 << 0;
    QTest::newRow("locked, 12 s") << true << 12000 << 10000;
}

// The game thread stops answering in a round; meanwhile another client
// tries, ten times a second, to take the keyboard (and, locked, the pointer).
void X11Test::aStalledRoundLetsGoOnlyAfterItsLimit()
{
    QFETCH(bool, lock);
    QFETCH(int, stallMs);
    QFETCH(int, letGoMs);
    fixture::freshGame(20240611, {.childLock = lock});
    START->show();
    std::chrono::milliseconds firstFree{-1};
    bool heldBefore = false, heldAfter = false;
    QTimer::singleShot(0, Play, [&] {
        // However this ends, the round is left as a held Esc leaves it.
        const auto leave = qScopeGuard([] {
            for (int i = 0; i < zephyra::kHoldToLeaveMs / kTickMs; ++i)
                Play->Lock().TimerEscTimer();
        });
        QTRY_VERIFY(held(lock));
        heldBefore = true;
        std::atomic<bool> stalled{true};
        auto probe = std::async(std::launch::async, [&, begun = Clock::now()] {
            for (; stalled; std::this_thread::sleep_for(100ms))
                if (!held(lock))
                    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - begun);
            return std::chrono::milliseconds(-1);
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(stallMs));
        stalled = false;
        firstFree = probe.get();
        QTRY_VERIFY(held(lock));  // back with the game
        heldAfter = true;
    });
    START->B_PlayClick();
    QVERIFY(heldBefore && heldAfter);
    if (letGoMs == 0)
        QCOMPARE(firstFree.count(), -1);
    else
        QVERIFY2(firstFree.count() >= letGoMs && firstFree.count() < stallMs,
                 qPrintable(QStringLiteral("let go after %1 ms").arg(firstFree.count())));
    QVERIFY(canTake(false) && canTake(true));  // the round over, the desktop has both
}

// A window manager may map the field a while after it is shown (KWin does,
// through XWayland): the guard's first answers then say unmapped, and must not
// make it hide and show the field again, which hands the focus away.
void X11Test::aFieldStillBeingMappedIsNotShownAgain()
{
    QWidget field;
    field.winId();  // there, and not yet mapped when the guard first asks
    zephyra::FrontGuard guard;
    guard.hold(&field);
    QSignalSpy shown(field.windowHandle(), &QWindow::visibleChanged);
    field.show();
    QTRY_VERIFY(field.windowHandle()->isExposed());
    // Nothing tells that the guard has judged its first answers: two looks.
    QTest::qWait(2 * zephyra::FrontGuard::kLookMs + 100);
    QCOMPARE(shown.count(), 1);
}

QTEST_MAIN(X11Test)
#include "test_x11.moc"
