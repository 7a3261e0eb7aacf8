#include "platform/x11.h"

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

xcb_atom_t atom(xcb_connection_t* c, const char* name);
void askWindowManager(xcb_connection_t* c, xcb_window_t root, xcb_window_t window, xcb_atom_t type,
                      std::initializer_list<uint32_t> data = {});

// Asked for, not waited for: the answers are thrown away when they come.
// libxcb takes requests from any thread. mayGrab, when set, is the atom by
// which XWayland's compositor is asked to let the keyboard hold stand.
void grab(xcb_connection_t* c, xcb_window_t window, bool pointer, xcb_atom_t mayGrab = XCB_ATOM_NONE)
{
    if (mayGrab != XCB_ATOM_NONE) {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
        if (screen)
            askWindowManager(c, screen->root, window, mayGrab, {1});
    }
    xcb_discard_reply(c, xcb_grab_keyboard(c, 0, window, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC,
                                           XCB_GRAB_MODE_ASYNC).sequence);
    if (pointer) {
        // Owner events: the game's own windows get their mouse events as
        // always; confined to the window, so the pointer never leaves it.
        constexpr uint16_t kMouse = XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE
                                    | XCB_EVENT_MASK_POINTER_MOTION | XCB_EVENT_MASK_ENTER_WINDOW
                                    | XCB_EVENT_MASK_LEAVE_WINDOW;
        xcb_discard_reply(c, xcb_grab_pointer(c, 1, window, kMouse, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC,
                                              window, XCB_NONE, XCB_CURRENT_TIME).sequence);
    }
    xcb_flush(c);
}

void ungrab(xcb_connection_t* c, bool pointer)
{
    xcb_ungrab_keyboard(c, XCB_CURRENT_TIME);
    if (pointer)
        xcb_ungrab_pointer(c, XCB_CURRENT_TIME);
    xcb_flush(c);
}

}  // namespace

InputGrab::InputGrab()
{
    m_keep.setInterval(kKeepMs);
    QObject::connect(&m_keep, &QTimer::timeout, [this] { keep(); });
}

InputGrab::~InputGrab()
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

void InputGrab::hold(QWindow* window, InputHolds holds)
{
    xcb_connection_t* const c = connection();
    if (!c || !window)
        return;
    m_window = unsigned(window->winId());
    if (holds.overDesktopShortcuts && !m_mayGrabAtom)
        m_mayGrabAtom = atom(c, "_XWAYLAND_MAY_GRAB_KEYBOARD");
    {
        std::lock_guard lock(m_mutex);
        m_holds = holds;
        m_holding = true;
    }
    if (!m_watchdog.joinable())
        m_watchdog = std::thread([this, c] { watch(c); });
    keep();
    m_keep.start();
}

void InputGrab::release()
{
    if (!m_window)
        return;
    m_keep.stop();
    bool pointer = false;
    {
        std::lock_guard lock(m_mutex);
        m_holding = false;
        pointer = m_holds.pointer;
    }
    m_window = 0;
    if (xcb_connection_t* c = connection())
        ungrab(c, pointer);
}

void InputGrab::keep()
{
    m_lastBeat.store(Clock::now().time_since_epoch().count());
    if (xcb_connection_t* c = connection())
        grab(c, m_window, m_holds.pointer, m_holds.overDesktopShortcuts ? m_mayGrabAtom : xcb_atom_t(XCB_ATOM_NONE));
}

void InputGrab::watch(xcb_connection_t* c)
{
    bool letGo = false;  // for this stall; a beat after it starts over
    std::unique_lock lock(m_mutex);
    while (!m_quit) {
        m_wake.wait_for(lock, std::chrono::milliseconds(kKeepMs));
        const auto silent = Clock::now() - Clock::time_point(Clock::duration(m_lastBeat.load()));
        if (!m_holding || silent < m_holds.stallLimit) {
            letGo = false;
        } else if (!letGo) {
            letGo = true;
            const bool pointer = m_holds.pointer;
            lock.unlock();
            ungrab(c, pointer);
            lock.lock();
        }
    }
}

bool inputHoldsPossible() { return connection() != nullptr; }

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
                      std::initializer_list<uint32_t> data)
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

// The windows a window-list property of the root names; none when it is not set.
std::optional<std::vector<uint32_t>> listedWindows(const void* answer)
{
    const auto* property = static_cast<const xcb_get_property_reply_t*>(answer);
    if (!property || property->type != XCB_ATOM_WINDOW || property->format != 32)
        return {};
    const auto* first = static_cast<const uint32_t*>(xcb_get_property_value(property));
    return std::vector<uint32_t>(first, first + xcb_get_property_value_length(property) / 4);
}

// _NET_WM_DESKTOP's value for a window on every desktop.
constexpr uint32_t kEveryDesktop = 0xFFFFFFFF;
// How long a window shown again may take to be mapped before it is shown again.
constexpr int kRemapWaitMs = 1000;

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
    if (!screen || !window->windowHandle())
        return;
    m_root = screen->root;
    m_activeAtom = atom(m_connection, "_NET_ACTIVE_WINDOW");
    m_stackingAtom = atom(m_connection, "_NET_CLIENT_LIST_STACKING");
    m_desktopAtom = atom(m_connection, "_NET_WM_DESKTOP");
    m_window = window;
    // A field just shown is still being mapped (slowly through XWayland):
    // the first answers say unmapped, and must not make it hide and show
    // again, which would hand the focus to another window for a moment.
    if (!window->windowHandle()->isExposed())
        m_remapped.start();
    window->windowHandle()->installEventFilter(this);
    // On every desktop: a desktop switch (another program asking for the
    // focus makes some window managers switch) then never hides the field,
    // which would let go of its keyboard grab.
    putOnEveryDesktop();
    look();
    m_look.start();
}

void FrontGuard::release()
{
    m_look.stop();
    forget();
    if (m_window && m_window->windowHandle())
        m_window->windowHandle()->removeEventFilter(this);
    m_window = nullptr;
}

void FrontGuard::forget()
{
    for (Question& question : m_questions) {
        if (question.sequence)
            xcb_discard_reply(m_connection, *question.sequence);
        question = Question();
    }
}

void FrontGuard::putOnEveryDesktop()
{
    const xcb_window_t id = xcb_window_t(m_window->winId());
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, id, m_desktopAtom, XCB_ATOM_CARDINAL, 32, 1,
                        &kEveryDesktop);
    askWindowManager(m_connection, m_root, id, m_desktopAtom, {kEveryDesktop, 2});  // 2: on the user's behalf
    xcb_flush(m_connection);
}

bool FrontGuard::eventFilter(QObject* watched, QEvent* event)
{
    // Qt hears of the window's unmapping as an exposure to nothing.
    if (event->type() == QEvent::Expose && m_window && watched == m_window->windowHandle()
        && !m_window->windowHandle()->isExposed())
        QMetaObject::invokeMethod(this, [this] { if (m_window) takeBack(true); }, Qt::QueuedConnection);
    return false;
}

void FrontGuard::look()
{
    if (!m_window)
        return;
    bool waiting = false;
    for (Question& question : m_questions) {
        if (!question.sequence)
            continue;
        void* reply = nullptr;
        xcb_generic_error_t* error = nullptr;
        if (!xcb_poll_for_reply(m_connection, *question.sequence, &reply, &error)) {
            waiting = true;
            continue;
        }
        question.sequence.reset();
        question.answer.reset(reply);
        question.answered = true;
        std::free(error);
    }
    if (waiting)
        return;  // asked again once every question has its answer
    if (std::all_of(m_questions.begin(), m_questions.end(), [](const Question& q) { return q.answered; }))
        judge();
    if (!m_window)
        return;
    const xcb_window_t id = xcb_window_t(m_window->winId());
    m_questions[0].sequence =
        xcb_get_property(m_connection, 0, m_root, m_activeAtom, XCB_ATOM_WINDOW, 0, 1).sequence;
    m_questions[1].sequence =
        xcb_get_property(m_connection, 0, m_root, m_stackingAtom, XCB_ATOM_WINDOW, 0, 4096).sequence;
    m_questions[2].sequence = xcb_get_property(m_connection, 0, id, m_desktopAtom, XCB_ATOM_CARDINAL, 0, 1).sequence;
    m_questions[3].sequence = xcb_get_window_attributes(m_connection, id).sequence;
    for (Question& question : m_questions) {
        question.answer.reset();
        question.answered = false;
    }
    xcb_flush(m_connection);
}

void FrontGuard::judge()
{
    const auto* attributes = static_cast<const xcb_get_window_attributes_reply_t*>(m_questions[3].answer.get());
    const auto* desktop = static_cast<const xcb_get_property_reply_t*>(m_questions[2].answer.get());
    const bool unmapped = attributes && attributes->map_state != XCB_MAP_STATE_VIEWABLE;
    const bool oneDesktop = desktop && desktop->format == 32 && xcb_get_property_value_length(desktop) == 4
                            && *static_cast<const uint32_t*>(xcb_get_property_value(desktop)) != kEveryDesktop;
    if (unmapped || oneDesktop) {
        takeBack(unmapped);
        return;
    }
    const auto active = listedWindows(m_questions[0].answer.get());
    const auto stacking = listedWindows(m_questions[1].answer.get());
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

void FrontGuard::takeBack(bool unmapped)
{
    if (unmapped && (!m_remapped.isValid() || m_remapped.elapsed() > kRemapWaitMs)) {
        // Unmapped behind Qt's back (a client's unmapping withdraws it from
        // the window manager): shown again, it is managed afresh, on the
        // desktop shown, and the grabs come back once it is mapped. Answers
        // asked for before the mapping still say unmapped for a while.
        m_remapped.start();
        m_window->hide();
        m_window->show();
    }
    putOnEveryDesktop();
    bringToFront(m_window);
}

}  // namespace zephyra
