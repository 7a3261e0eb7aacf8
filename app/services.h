#pragma once
// Thin layer over the platform services the game uses: the standard error
// box, modal message boxes, random numbers and the pointer position. Tests
// replace the presenters so that nothing modal ever blocks them.

#include <QMessageBox>
#include <QPoint>
#include <QString>

#include <functional>
#include <stdexcept>
#include <utility>

class QWidget;

namespace zephyra {

// An error raised by a handler; its message reaches the standard error box.
class Error : public std::runtime_error {
public:
    explicit Error(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

// Shows a modal message box. Replaceable so tests can record instead of block.
using MessagePresenter =
    std::function<void(QMessageBox::Icon icon, const QString& caption, const QString& text)>;
void setMessagePresenter(MessagePresenter presenter);  // empty restores the real box
void showMessage(QMessageBox::Icon icon, const QString& caption, const QString& text);

// The standard error box: message plus a full stop unless it ends in one,
// the application's name as caption, error icon, one OK button.
QString errorBoxText(const QString& message);
void showStandardError(const QString& message);

// Runs an event handler; an error it raises goes to the standard error box and
// the program carries on. Exceptions never unwind through Qt's event machinery.
template <class F>
void runHandler(F&& handler)
{
    try {
        std::forward<F>(handler)();
    } catch (const Error& e) {
        showStandardError(e.message());
    } catch (const std::exception& e) {
        showStandardError(QString::fromLocal8Bit(e.what()));
    }
}

// One random generator for the whole game, seeded once from the clock.
void seedRandomFromClock();
void seedRandom(quint32 seed);
// Uniform in 0 .. n-1; 0 when n <= 0.
int randomInt(int n);

// The pointer's position in screen coordinates.
QPoint pointerScreenPos();

// Centre of the primary screen's geometry for a window of the given outer size.
QPoint centredOnPrimaryScreen(const QSize& outerSize);
QPoint centredIn(const QRect& area, const QSize& outerSize);

}  // namespace zephyra
