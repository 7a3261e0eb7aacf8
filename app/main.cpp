#include "app/services.h"
#include "app/sound.h"
#include "app/windows.h"
#include "menu/menu.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZEPHYRA"));
    QIcon icon;
    for (int side : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/zephyra-%1.png").arg(side), QSize(side, side));
    QApplication::setWindowIcon(icon);
    // Hidden windows must not end the program; only closing the start screen does.
    QApplication::setQuitOnLastWindowClosed(false);

    try {
        zephyra::createWindows();
    } catch (const zephyra::Error& e) {
        // A damaged embedded picture: say which, and end instead of running half-built.
        zephyra::showStandardError(e.message());
        return 1;
    }
    START->show();
    // After the first paint: opening the audio output costs time the start
    // screen should not wait for.
    QTimer::singleShot(300, [] { zephyra::SoundPlayer::instance().preload(); });
    const int result = QApplication::exec();
    zephyra::destroyWindows();
    return result;
}
