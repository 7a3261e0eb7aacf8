#include "platform/pointer.h"

#include "platform/x11.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QWindow>

#include <optional>

namespace zephyra {

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

    void put(QPoint global)
    {
        // A question asked before the move would answer with the old place.
        forgetQuestion();
        QCursor::setPos(global);
        m_pos = global;
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
    explicit PointerTracker(QObject* parent) : QObject(parent) { qApp->installEventFilter(this); }

    // The answer to the question asked last time, if it has come, then the
    // next question. Without X11 the platform knows the position itself.
    void askWithoutWaiting()
    {
        if (!m_question.available()) {
            m_pos = QCursor::pos();
            return;
        }
        if (const std::optional<QPoint> answer = m_question.answer())
            m_pos = fromNative(*answer);
        m_question.ask();
    }

    void forgetQuestion() { m_question.forget(); }

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
    PointerQuestion m_question;
};

}  // namespace

QPoint pointerScreenPos() { return PointerTracker::instance().pos(); }

void followPointer() { PointerTracker::instance(); }

void takePointerPos() { PointerTracker::instance().take(); }

void putPointer(QPoint global) { PointerTracker::instance().put(global); }

}  // namespace zephyra
