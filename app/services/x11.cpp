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
#include <initializer_list>
#include <vector>

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

// A request to the window manager about a window (EWMH): a 32-bit client
// message to the root window.
void askWindowManager(xcb_connection_t* c, xcb_window_t root, xcb_window_t window, xcb_atom_t type,
                      std::initializer_list<uint32_t> data = {})
{
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = type;
    std::copy(data.begin(), data.end(), message.data.data32);
    xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&message));
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
    askWindowManager(c, screen->root, id, request);
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

std::optional<QMargins> frameMarginsNow(QWidget* window)
{
    xcb_connection_t* c = connection();
    if (!c)
        return {};
    return frameExtents(c, xcb_window_t(window->winId()), atom(c, "_NET_FRAME_EXTENTS"));
}

namespace {

// A startup id ends in _TIME and the X time of the click that launched it.
xcb_timestamp_t launchTime(const QString& startupId)
{
    const qsizetype at = startupId.lastIndexOf(QLatin1String("_TIME"));
    bool ok = false;
    const uint time = at < 0 ? 0 : startupId.mid(at + 5).toUInt(&ok);
    return ok ? time : XCB_CURRENT_TIME;
}

// Startup notification: "remove" ends the launcher's busy cursor or spinner
// for a start that shows no window of its own.
void endLaunchFeedback(xcb_connection_t* c, xcb_window_t root, xcb_window_t from, const QString& startupId)
{
    QByteArray text = "remove: ID=\"";
    for (const char ch : startupId.toUtf8()) {
        if (ch == '"' || ch == '\\')
            text += '\\';
        text += ch;
    }
    text += "\"";
    text += '\0';
    const xcb_atom_t begin = atom(c, "_NET_STARTUP_INFO_BEGIN");
    const xcb_atom_t more = atom(c, "_NET_STARTUP_INFO");
    for (qsizetype at = 0; at < text.size(); at += 20) {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 8;
        message.window = from;
        message.type = at == 0 ? begin : more;
        std::memcpy(message.data.data8, text.constData() + at, size_t(std::min<qsizetype>(20, text.size() - at)));
        xcb_send_event(c, 0, root, XCB_EVENT_MASK_PROPERTY_CHANGE, reinterpret_cast<const char*>(&message));
    }
}

// The windows a property of the root lists, once its answer has come: none
// when the property is not set.
std::optional<std::vector<uint32_t>> listedWindows(xcb_connection_t* c, std::optional<unsigned>& question,
                                                   bool* waiting)
{
    *waiting = false;
    if (!question)
        return {};
    void* reply = nullptr;
    xcb_generic_error_t* error = nullptr;
    if (!xcb_poll_for_reply(c, *question, &reply, &error)) {
        *waiting = true;
        return {};
    }
    question.reset();
    std::optional<std::vector<uint32_t>> windows;
    if (auto* property = static_cast<xcb_get_property_reply_t*>(reply);
        property && property->type == XCB_ATOM_WINDOW && property->format == 32) {
        const auto* first = static_cast<const uint32_t*>(xcb_get_property_value(property));
        windows.emplace(first, first + xcb_get_property_value_length(property) / 4);
    }
    std::free(reply);
    std::free(error);
    return windows;
}

}  // namespace

std::optional<std::bitset<256>> keymapNow()
{
    xcb_connection_t* const c = connection();
    if (!c)
        return {};
    xcb_query_keymap_reply_t* reply = xcb_query_keymap_reply(c, xcb_query_keymap(c), nullptr);
    if (!reply)
        return {};
    std::bitset<256> keys;
    for (std::size_t code = 0; code < keys.size(); ++code)
        keys[code] = (reply->keys[code / 8] >> (code % 8)) & 1;
    std::free(reply);
    return keys;
}

void bringToFront(QWidget* window, const QString& startupId)
{
    if (window->windowState() & Qt::WindowMinimized)
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    if (window->isHidden())
        window->show();
    window->raise();
    xcb_connection_t* const c = connection();
    const xcb_screen_t* screen = c ? xcb_setup_roots_iterator(xcb_get_setup(c)).data : nullptr;
    if (!screen || !window->windowHandle()) {
        window->activateWindow();
        return;
    }
    const xcb_window_t id = xcb_window_t(window->winId());
    const xcb_atom_t active = atom(c, "_NET_ACTIVE_WINDOW");
    if (wmSupports(c, screen->root, active)) {
        // Source 2: asked for on the user's behalf, as a pager or taskbar asks.
        askWindowManager(c, screen->root, id, active, {2, launchTime(startupId)});
    } else {
        window->activateWindow();
    }
    if (!startupId.isEmpty())
        endLaunchFeedback(c, screen->root, id, startupId);
    xcb_flush(c);
}

FrontGuard::FrontGuard()
{
    m_look.setInterval(kLookMs);
    QObject::connect(&m_look, &QTimer::timeout, [this] { look(); });
}

FrontGuard::~FrontGuard() { release(); }

void FrontGuard::hold(QWidget* window)
{
    m_connection = connection();
    const xcb_screen_t* screen = m_connection ? xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data : nullptr;
    if (!screen)
        return;
    m_root = screen->root;
    m_activeAtom = atom(m_connection, "_NET_ACTIVE_WINDOW");
    m_stackingAtom = atom(m_connection, "_NET_CLIENT_LIST_STACKING");
    m_window = window;
    // On every desktop: a desktop switch (another program asking for the
    // focus makes some window managers switch) then never hides the field,
    // which would let go of its keyboard grab.
    const xcb_window_t id = xcb_window_t(window->winId());
    const xcb_atom_t desktop = atom(m_connection, "_NET_WM_DESKTOP");
    const uint32_t everyDesktop = 0xFFFFFFFF;
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, id, desktop, XCB_ATOM_CARDINAL, 32, 1, &everyDesktop);
    askWindowManager(m_connection, m_root, id, desktop, {everyDesktop, 2});  // 2: on the user's behalf
    look();
    m_look.start();
}

void FrontGuard::release()
{
    m_look.stop();
    forget();
    m_window = nullptr;
}

void FrontGuard::forget()
{
    for (std::optional<unsigned>* question : {&m_activeQuestion, &m_stackingQuestion}) {
        if (*question)
            xcb_discard_reply(m_connection, **question);
        question->reset();
    }
}

void FrontGuard::look()
{
    if (!m_window)
        return;
    bool activeWaiting = false, stackingWaiting = false;
    const bool asked = m_activeQuestion || m_stackingQuestion;
    const auto active = listedWindows(m_connection, m_activeQuestion, &activeWaiting);
    const auto stacking = listedWindows(m_connection, m_stackingQuestion, &stackingWaiting);
    if (activeWaiting || stackingWaiting)
        return;  // asked again once both have answered
    if (asked) {
        // The game's own windows may be in front (its error box over the field).
        QList<uint32_t> ours;
        for (QWindow* w : QGuiApplication::topLevelWindows())
            if (w->isVisible() && w->handle())
                ours << uint32_t(w->winId());
        const bool activeOurs = !active || (!active->empty() && ours.contains(active->front()));
        const bool onTopOurs = !stacking || stacking->empty() || ours.contains(stacking->back());
        if (!activeOurs || !onTopOurs)
            bringToFront(m_window);
    }
    m_activeQuestion = xcb_get_property(m_connection, 0, m_root, m_activeAtom, XCB_ATOM_WINDOW, 0, 1).sequence;
    m_stackingQuestion =
        xcb_get_property(m_connection, 0, m_root, m_stackingAtom, XCB_ATOM_WINDOW, 0, 4096).sequence;
    xcb_flush(m_connection);
}

}  // namespace zephyra
