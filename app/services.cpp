#include "app/services.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QRect>
#include <QScreen>
#include <QThread>
#include <QWidget>
#include <QPointer>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>
#include <xcb/xcbext.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <random>

namespace zephyra {

namespace {

MessagePresenter& presenter()
{
    static MessagePresenter p;
    return p;
}

std::mt19937& generator()
{
    static std::mt19937 g(5489u);
    return g;
}

}  // namespace

void setMessagePresenter(MessagePresenter p) { presenter() = std::move(p); }

void showMessage(QMessageBox::Icon icon, const QString& caption, const QString& text)
{
    if (presenter()) {
        presenter()(icon, caption, text);
        return;
    }
    // Over the window on screen, even before it has the focus (a check at start-up).
    QWidget* over = QApplication::activeWindow();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (!over && w->isVisible())
            over = w;
    QMessageBox box(icon, caption, text, QMessageBox::Ok, over);
    box.exec();
}

QString errorBoxText(const QString& message)
{
    if (message.endsWith(QLatin1Char('.')))
        return message;
    return message + QLatin1Char('.');
}

void showStandardError(const QString& message)
{
    showMessage(QMessageBox::Critical, QCoreApplication::applicationName(), errorBoxText(message));
}

void reportHandlerError(const QString& message, QString* lastShown)
{
    if (lastShown) {
        if (*lastShown == message)
            return;
        *lastShown = message;
    }
    showStandardError(message);
}

void seedRandomFromClock()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count()
                   ^ std::chrono::system_clock::now().time_since_epoch().count();
    generator().seed(static_cast<std::mt19937::result_type>(now));
}

void seedRandom(quint32 seed) { generator().seed(seed); }

int randomInt(int n)
{
    if (n <= 0)
        return 0;
    std::uniform_int_distribution<int> d(0, n - 1);
    return d(generator());
}

namespace {

// Mouse events carry the pointer's global position, so over our own windows
// following them costs nothing. Asking instead (QCursor::pos on X11) is a
// round trip to the server: on a busy machine a tick waiting for one misses
// its frame.
class PointerTracker : public QObject {
public:
    static PointerTracker& instance()
    {
        static auto* tracker = new PointerTracker(qApp);
        return *tracker;
    }

    QPoint pos()
    {
        if (!(m_window && m_window->isVisible()))
            askWithoutWaiting();
        return m_pos;
    }

    void take()
    {
        forgetQuestion();
        m_pos = QCursor::pos();
        m_window = nullptr;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Window-level events only: each reaches the widget under the pointer
        // too, but the window sees it first and says where it happened.
        if (!watched->isWindowType())
            return false;
        switch (event->type()) {
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Enter:
            m_pos = static_cast<QSinglePointEvent*>(event)->globalPosition().toPoint();
            m_window = static_cast<QWindow*>(watched);
            forgetQuestion();
            break;
        case QEvent::Leave:
            if (watched == m_window)
                m_window = nullptr;
            break;
        default:
            break;
        }
        return false;
    }

private:
    explicit PointerTracker(QObject* parent) : QObject(parent)
    {
        auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        m_connection = x11 ? x11->connection() : nullptr;
        qApp->installEventFilter(this);
    }

    // The answer to the question asked last time, if it has come, then the
    // next question. Without X11 the platform knows the position itself.
    void askWithoutWaiting()
    {
        if (!m_connection) {
            m_pos = QCursor::pos();
            return;
        }
        if (m_question) {
            void* answer = nullptr;
            xcb_generic_error_t* error = nullptr;
            if (!xcb_poll_for_reply(m_connection, *m_question, &answer, &error))
                return;  // not yet; the position stands
            m_question.reset();
            if (auto* reply = static_cast<xcb_query_pointer_reply_t*>(answer); reply && reply->same_screen)
                m_pos = fromNative(QPoint(reply->root_x, reply->root_y));
            std::free(answer);
            std::free(error);
        }
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
        if (!screen)
            return;
        m_question = xcb_query_pointer(m_connection, screen->root).sequence;
        xcb_flush(m_connection);
    }

    void forgetQuestion()
    {
        if (m_question)
            xcb_discard_reply(m_connection, *m_question);
        m_question.reset();
    }

    // The server counts device pixels; Qt scales each screen's from its
    // corner, which both count alike.
    static QPoint fromNative(QPoint native)
    {
        for (QScreen* s : QGuiApplication::screens()) {
            const qreal ratio = s->devicePixelRatio();
            const QRect area(s->geometry().topLeft(), (QSizeF(s->geometry().size()) * ratio).toSize());
            if (area.contains(native))
                return area.topLeft() + ((native - area.topLeft()).toPointF() / ratio).toPoint();
        }
        return native;
    }

    QPoint m_pos;
    QPointer<QWindow> m_window;  // the window under the pointer, while events say so
    xcb_connection_t* m_connection = nullptr;
    std::optional<unsigned> m_question;
};

}  // namespace

QPoint pointerScreenPos() { return PointerTracker::instance().pos(); }

void followPointer() { PointerTracker::instance(); }

void takePointerPos() { PointerTracker::instance().take(); }

QPoint centredIn(const QRect& area, const QSize& outerSize)
{
    // Halved toward zero, as integer division in C++ does.
    return {area.left() + (area.width() - outerSize.width()) / 2,
            area.top() + (area.height() - outerSize.height()) / 2};
}

QPoint centredOnPrimaryScreen(const QSize& outerSize)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    return centredIn(area, outerSize);
}

namespace {

xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t a = reply ? reply->atom : XCB_ATOM_NONE;
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
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
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
