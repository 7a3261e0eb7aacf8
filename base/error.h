#pragma once
// The one place errors go: an Error raised by a handler reaches the standard
// error box, and the program carries on. Tests replace the presenter so that
// nothing modal ever blocks them.

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <stdexcept>
#include <type_traits>
#include <utility>

namespace zephyra {

// An error raised by a handler; its message reaches the standard error box.
class Error : public std::runtime_error {
public:
    explicit Error(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    // Kept whole: what() ends at the first NUL a typed text may hold.
    QString message() const { return m_message; }

private:
    QString m_message;
};

// Shows a modal message box. Replaceable so tests can record instead of block.
using MessagePresenter =
    std::function<void(QMessageBox::Icon icon, const QString& caption, const QString& text)>;
// Empty restores the real box; gives back the presenter it replaces.
MessagePresenter setMessagePresenter(MessagePresenter presenter);
void showMessage(QMessageBox::Icon icon, const QString& caption, const QString& text);

// The standard error box: message plus a full stop unless it ends in one,
// the application's name as caption, error icon, one OK button.
QString errorBoxText(const QString& message);
void showStandardError(const QString& message);

// Runs an event handler; an error it raises goes to the standard error box and
// the program carries on. Exceptions never unwind through Qt's event machinery.
// With lastShown, a failure whose message equals the last one shown is not
// shown again, and a run that succeeds forgets it.
void reportHandlerError(const QString& message, QString* lastShown);
template <class F>
void runHandler(F&& handler, QString* lastShown = nullptr)
{
    try {
        std::forward<F>(handler)();
        if (lastShown)
            lastShown->clear();
    } catch (const Error& e) {
        reportHandlerError(e.message(), lastShown);
    } catch (const std::exception& e) {
        reportHandlerError(QString::fromLocal8Bit(e.what()), lastShown);
    }
}

// Binds a handler of the game's design to a signal through the guard above:
// connectHandler(Timer_B1, &QTimer::timeout, this, &TPlay::Timer_B1Timer).
// The handler takes the signal's first arguments (or none). A timer's
// handler reports a failure once, until a tick succeeds again: the same box
// every 50 ms would bury the player.
template <class Sender, class Signal, class Receiver, class... Args>
QMetaObject::Connection connectHandler(Sender* sender, Signal signal, Receiver* receiver,
                                       void (Receiver::*handler)(Args...))
{
    if constexpr (std::is_base_of_v<QTimer, Sender>) {
        return QObject::connect(sender, signal, receiver,
                                [receiver, handler, shown = QString()](Args... args) mutable {
                                    runHandler([&] { (receiver->*handler)(args...); }, &shown);
                                });
    } else {
        return QObject::connect(sender, signal, receiver, [receiver, handler](Args... args) {
            runHandler([&] { (receiver->*handler)(args...); });
        });
    }
}

}  // namespace zephyra
