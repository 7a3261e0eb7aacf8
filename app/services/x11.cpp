#include "app/services/x11.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QThread>
#include <QWidget>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>
#include <xcb/xcbext.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

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

PointerQuestion::PointerQuestion() : m_connection(connection()) {}

PointerQuestion::~PointerQuestion() { forget(); }

std::optional<QPoint> PointerQuestion::answer()
{
    if (!m_question)
        return {};
    void* reply = nullptr;
    xcb_generic_error_t* error = nullptr;
    if (!xcb_poll_for_reply(m_connection, *m_question, &reply, &error))
        return {};  // not yet
    m_question.reset();
    std::optional<QPoint> at;
    if (auto* pointer = static_cast<xcb_query_pointer_reply_t*>(reply); pointer && pointer->same_screen)
        at = QPoint(pointer->root_x, pointer->root_y);
    std::free(reply);
    std::free(error);
    return at;
}

void PointerQuestion::ask()
{
    if (!m_connection || m_question)
        return;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
    if (!screen)
        return;
    m_question = xcb_query_pointer(m_connection, screen->root).sequence;
    xcb_flush(m_connection);
}

void PointerQuestion::forget()
{
    if (m_question)
        xcb_discard_reply(m_connection, *m_question);
    m_question.reset();
}

namespace {

xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t a = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return a;
}

bool wmSupports(xcb_connection_t* c, xcb_window_t root, xcb_atom_t wanted)
{
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, root, atom(c, "_NET_SUPPORTED"), XCB_ATOM_ATOM, 0, 4096), nullptr);
    bool found = false;
    if (reply && reply->format == 32) {
        const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        const int n = xcb_get_property_value_length(reply) / 4;
        found = std::find(atoms, atoms + n, wanted) != atoms + n;
    }
    std::free(reply);
    return found;
}

// left, right, top, bottom, once the window manager has set them.
std::optional<QMargins> frameExtents(xcb_connection_t* c, xcb_window_t window, xcb_atom_t extents)
{
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, extents, XCB_ATOM_CARDINAL, 0, 4), nullptr);
    std::optional<QMargins> margins;
    if (reply && reply->format == 32 && xcb_get_property_value_length(reply) == 16) {
        const auto* v = static_cast<const uint32_t*>(xcb_get_property_value(reply));
        margins = QMargins(int(v[0]), int(v[2]), int(v[1]), int(v[3]));
    }
    std::free(reply);
    return margins;
}

}  // namespace

QMargins expectedFrameMargins(QWidget* window)
{
    // Once framed, Qt knows the frame.
    const QMargins known(window->geometry().left() - window->frameGeometry().left(),
                         window->geometry().top() - window->frameGeometry().top(),
                         window->frameGeometry().right() - window->geometry().right(),
                         window->frameGeometry().bottom() - window->geometry().bottom());
    if (!known.isNull())
        return known;
    // Before the first showing, ask the window manager what it will put round
    // the window (_NET_REQUEST_FRAME_EXTENTS); it answers in a property.
    xcb_connection_t* c = connection();
    if (!c)
        return {};
    const xcb_window_t id = xcb_window_t(window->winId());
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_atom_t request = atom(c, "_NET_REQUEST_FRAME_EXTENTS");
    const xcb_atom_t extents = atom(c, "_NET_FRAME_EXTENTS");
    if (!screen || !wmSupports(c, screen->root, request))
        return {};
    if (const auto now = frameExtents(c, id, extents))
        return *now;
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = id;
    message.type = request;
    xcb_send_event(c, 0, screen->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(c);
    // A window manager answers within a few milliseconds; one that does not
    // costs the dialog's first opening a tenth of a second at most.
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 100) {
        if (const auto answer = frameExtents(c, id, extents))
            return *answer;
        QThread::msleep(2);
    }
    return {};
}

}  // namespace zephyra
