#include "base/error.h"

#include <QApplication>
#include <QWidget>

#include <utility>

namespace zephyra {

namespace {

MessagePresenter& presenter()
{
    static MessagePresenter p;
    return p;
}

}  // namespace

MessagePresenter setMessagePresenter(MessagePresenter p) { return std::exchange(presenter(), std::move(p)); }

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

}  // namespace zephyra
