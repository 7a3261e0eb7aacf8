#pragma once
// What the game asks of the X server directly, past Qt: holding the keyboard
// and the pointer, where the pointer is, keeping a window at the front, the
// frame a window manager will put round a window. Elsewhere than on X11 each
// does nothing, or says it cannot.

#include <QElapsedTimer>
#include <QMargins>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QTimer>

#include <array>
#include <atomic>
#include <bitset>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

class QWidget;
class QWindow;
struct xcb_connection_t;

namespace zephyra {

// What a round holds: the keyboard always, the pointer if asked; and how
// long the game may stop answering before both are let go.
struct InputHolds {
    bool pointer = false;
    std::chrono::milliseconds stallLimit{2000};
    // Through XWayland, the keyboard hold stands over the compositor's own
    // shortcuts too (mutter honours it for a window that asks, as
    // virtual-machine viewers do); elsewhere the request means nothing.
    bool overDesktopShortcuts = false;
};

// Holds the keyboard for one window, so every key reaches it whatever window
// has the focus, and no key a child mashes reaches the desktop; if asked, the
// pointer too, kept inside the window, so no click reaches another program or
// another monitor and the window manager's mouse bindings never fire. Only
// X11 grants such holds; elsewhere this does nothing.
//
// The holds are asked for again every kKeepMs without waiting for the
// answer: a hold the window manager or another client took away (a restart,
// a reparenting, the window unmapped) comes back within that time, and none
// of it waits on the server. If the game thread stops answering for the
// stall limit, a watchdog thread lets both go, so a hung game never holds the
// desktop; they come back with the game. Asked over the desktop's shortcuts,
// that request is renewed as often, so a grown-up's Super+Esc on GNOME (which
// hands the shortcuts back) holds only until the next renewal.
class InputGrab {
public:
    static constexpr int kKeepMs = 100;

    InputGrab();
    ~InputGrab();

    InputGrab(const InputGrab&) = delete;
    InputGrab& operator=(const InputGrab&) = delete;

    void hold(QWindow* window, InputHolds holds = {});
    void release();

private:
    void keep();
    void watch(xcb_connection_t* c);

    QTimer m_keep;
    unsigned m_window = 0;  // the X window held for, 0 when none
    unsigned m_mayGrabAtom = 0;
    std::atomic<std::chrono::steady_clock::rep> m_lastBeat{0};
    std::mutex m_mutex;
    std::condition_variable m_wake;
    InputHolds m_holds;      // set on the game thread, under m_mutex
    bool m_holding = false;  // under m_mutex
    bool m_quit = false;     // under m_mutex
    std::thread m_watchdog;
};

// Whether the keyboard and the pointer can be held at all: only X11 (XWayland
// included) grants it.
bool inputHoldsPossible();

// Where the pointer is, asked of the X server without waiting for the answer.
class PointerQuestion {
public:
    PointerQuestion();
    ~PointerQuestion();

    PointerQuestion(const PointerQuestion&) = delete;
    PointerQuestion& operator=(const PointerQuestion&) = delete;

    // Whether there is an X server to ask.
    bool available() const { return m_connection != nullptr; }
    // The answer to the last question, once it has come: the server's device
    // pixels, from the corner of its screen.
    std::optional<QPoint> answer();
    // Asks, unless the last question is still unanswered.
    void ask();
    // The answer to an open question will not be wanted.
    void forget();

private:
    xcb_connection_t* m_connection;
    std::optional<unsigned> m_question;
};

// The keys down now by X key code, as the X server knows them (held since
// before the program asked included); none elsewhere. Waits for the answer.
std::optional<std::bitset<256>> keymapNow();

// Brings a window to the front and gives it the keyboard focus, also when
// another program has it: window managers that refuse an application's own
// request (focus-stealing prevention) honour one made on the user's behalf,
// which a second start of the game is. startupId is the second start's
// launch (DESKTOP_STARTUP_ID): its time stamps the request, and the
// launcher's busy feedback for it ends here.
void bringToFront(QWidget* window, const QString& startupId = QString());

// Keeps a window at the front, on every desktop, while it is held: four
// times a second it asks, without waiting, which window is active and which
// is on top, which desktop the window is on and whether it is mapped. It
// brings the window back when the last answers name another program's window
// (a window that raised itself, a window manager that lowered this one), put
// it on one desktop, or say it is unmapped (another desktop shown, another
// client unmapping it); an unmapping the window hears of itself brings it
// back at once, on the desktop shown. Only with a window manager that says
// (EWMH); elsewhere this does nothing.
class FrontGuard : public QObject {
public:
    static constexpr int kLookMs = 250;

    FrontGuard();
    ~FrontGuard() override;

    FrontGuard(const FrontGuard&) = delete;
    FrontGuard& operator=(const FrontGuard&) = delete;

    void hold(QWidget* window);
    void release();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A question to the server and its answer, once it has come.
    struct Free {
        void operator()(void* reply) const { std::free(reply); }
    };
    struct Question {
        std::optional<unsigned> sequence;
        std::unique_ptr<void, Free> answer;
        bool answered = false;
    };

    void look();
    void judge();
    void takeBack(bool unmapped);
    void putOnEveryDesktop();
    void forget();

    QTimer m_look;
    QWidget* m_window = nullptr;
    xcb_connection_t* m_connection = nullptr;
    unsigned m_root = 0;
    unsigned m_activeAtom = 0;
    unsigned m_stackingAtom = 0;
    unsigned m_desktopAtom = 0;
    // Which window is active, the stacking order, the window's desktop and its attributes.
    std::array<Question, 4> m_questions;
    QElapsedTimer m_remapped;  // since it was last shown (again, after an unmapping)
};

// The frame the window manager puts round a window, before it is first shown:
// the window's outer size is its size grown by these. None without a window
// manager that says (then the window gets no frame either).
QMargins expectedFrameMargins(QWidget* window);
// The frame the window manager has put round a window, as it says it; none
// until it has said, or where nobody frames windows.
std::optional<QMargins> frameMarginsNow(QWidget* window);

}  // namespace zephyra
