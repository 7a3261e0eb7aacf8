#include "app/services.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QRect>
#include <QScreen>

#include <chrono>
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
    QMessageBox box(icon, caption, text, QMessageBox::Ok, QApplication::activeWindow());
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

QPoint pointerScreenPos() { return QCursor::pos(); }

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

}  // namespace zephyra
