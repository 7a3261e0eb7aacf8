// The round's keyboard grab on a real X server (the suite's Xvfb): seen from
// a second client, which can take the keyboard only while the game does not
// hold it.
#include "app/services/x11.h"

#include <QWidget>
#include <QtTest>

#include <xcb/xcb.h>

#include <cstdlib>
#include <future>
#include <thread>

namespace {

// Whether another client could take the keyboard now (it gives it back at once).
bool keyboardIsFree()
{
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_grab_keyboard_reply_t* reply = xcb_grab_keyboard_reply(
        c, xcb_grab_keyboard(c, 0, root, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC), nullptr);
    const bool free = reply && reply->status == XCB_GRAB_STATUS_SUCCESS;
    std::free(reply);
    xcb_ungrab_keyboard(c, XCB_CURRENT_TIME);
    xcb_disconnect(c);
    return free;
}

}  // namespace

class X11Test : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb")); }

    void aStalledGameLetsTheKeyboardGoAndTakesItBack()
    {
        QWidget field;
        field.setGeometry(0, 0, 200, 200);
        field.show();
        QVERIFY(QTest::qWaitForWindowExposed(&field));
        zephyra::InputGrab grab;
        grab.hold(field.windowHandle());
        QTRY_VERIFY(!keyboardIsFree());

        // The game thread stops answering; meanwhile another client looks.
        const auto stall = zephyra::InputHolds().stallLimit + std::chrono::milliseconds(1000);
        auto freed = std::async(std::launch::async, [stall] {
            std::this_thread::sleep_for(stall - std::chrono::milliseconds(300));
            return keyboardIsFree();
        });
        std::this_thread::sleep_for(stall);
        QVERIFY(freed.get());

        QTRY_VERIFY(!keyboardIsFree());  // back with the game
        grab.release();
        QVERIFY(keyboardIsFree());
    }
};

QTEST_MAIN(X11Test)
#include "test_x11.moc"
