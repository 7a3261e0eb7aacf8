#include "app/services/language.h"
#include "app/base/error.h"
#include "app/services/sound.h"
#include "app/startup.h"
#include "app/windows.h"
#include "menu/menu.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

#include <optional>

int main(int argc, char* argv[])
{
    // The game centres its own windows and follows the pointer across the
    // whole screen, which Wayland denies its clients; on a Wayland desktop it
    // runs through XWayland unless the user chose a platform.
    const bool waylandSession = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
                                || qgetenv("XDG_SESSION_TYPE") == "wayland";
    if (waylandSession && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")
        && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    zephyra::refuseBadScaleSettings();

    // A display or platform that cannot be opened is Qt's fatal error here:
    // Qt says why, and the program ends with status 1 rather than a core dump.
    zephyra::exitOnFatalError(true);
    QApplication app(argc, argv);
    zephyra::exitOnFatalError(false);
    QApplication::setApplicationName(QStringLiteral("ZEPHYRA"));
    // Before any window exists, so every text and picture is the desktop's language.
    zephyra::installLanguage();
    // Ties the windows to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(ZEPHYRA_APP_ID));
    QIcon icon;
    for (int side : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/zephyra-%1.png").arg(side), QSize(side, side));
    QApplication::setWindowIcon(icon);
    // Hidden windows must not end the program; only closing the start screen does.
    QApplication::setQuitOnLastWindowClosed(false);

    // Made before the windows and ended after them, so no sound is asked of it gone.
    zephyra::PulseSound sound;
    try {
        zephyra::createWindows(sound);
    } catch (const zephyra::Error& e) {
        // A damaged embedded picture: say which, and end instead of running half-built.
        zephyra::showStandardError(e.message());
        return 1;
    }
    START->show();
    // Pictures are decoded when first shown; this proves now that every one
    // can be, so a damaged one ends the program here and never shows in play.
    // The start screen is painted first.
    std::optional<zephyra::PictureCheck> pictures;
    zephyra::afterFirstExpose(START->windowHandle(), [&pictures] {
        pictures.emplace(zephyra::picturesInUse(), [](const QString& error) {
            zephyra::showStandardError(error);
            QCoreApplication::exit(1);
        });
    });
    // After the first paint: opening the audio output costs time the start
    // screen should not wait for.
    QTimer::singleShot(300, [&sound] { sound.connect(); });
    const int result = QApplication::exec();
    pictures.reset();
    zephyra::destroyWindows();
    return result;
}
