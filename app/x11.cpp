#include "app/x11.h"

#include <QGuiApplication>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

namespace zephyra {

namespace {

using Clock = std::chrono::steady_clock;

xcb_connection_t* connection()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

// Asked for, not waited for: the answer is thrown away when it comes. libxcb
// takes requests from any thread.
void grab(xcb_connection_t* c, xcb_window_t window)
{
    const xcb_grab_keyboard_cookie_t asked =
        xcb_grab_keyboard(c, 0, window, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    xcb_discard_reply(c, asked.sequence);
    xcb_flush(c);
}

void ungrab(xcb_connection_t* c)
{
    xcb_ungrab_keyboard(c, XCB_CURRENT_TIME);
    xcb_flush(c);
}

}  // namespace

KeyboardGrab::KeyboardGrab()
{
    m_keep.setInterval(kKeepMs);
    QObject::connect(&m_keep, &QTimer::timeout, [this] { keep(); });
}

KeyboardGrab::~KeyboardGrab()
{
    release();
    if (!m_watchdog.joinable())
        return;
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_wake.notify_all();
    m_watchdog.join();
}

void KeyboardGrab::hold(QWindow* window)
{
    xcb_connection_t* const c = connection();
    if (!c || !window)
        return;
    m_window = unsigned(window->winId());
    {
        std::lock_guard lock(m_mutex);
        m_holding = true;
    }
    if (!m_watchdog.joinable())
        m_watchdog = std::thread([this, c] { watch(c); });
    keep();
    m_keep.start();
}

void KeyboardGrab::release()
{
    if (!m_window)
        return;
    m_keep.stop();
    {
        std::lock_guard lock(m_mutex);
        m_holding = false;
    }
    m_window = 0;
    if (xcb_connection_t* c = connection())
        ungrab(c);
}

void KeyboardGrab::keep()
{
    m_lastBeat.store(Clock::now().time_since_epoch().count());
    if (xcb_connection_t* c = connection())
        grab(c, m_window);
}

void KeyboardGrab::watch(xcb_connection_t* c)
{
    bool letGo = false;  // for this stall; a beat after it starts over
    std::unique_lock lock(m_mutex);
    while (!m_quit) {
        m_wake.wait_for(lock, std::chrono::milliseconds(kKeepMs));
        const auto silent = Clock::now() - Clock::time_point(Clock::duration(m_lastBeat.load()));
        if (!m_holding || silent < kStallMs) {
            letGo = false;
        } else if (!letGo) {
            letGo = true;
            lock.unlock();
            ungrab(c);
            lock.lock();
        }
    }
}

}  // namespace zephyra
