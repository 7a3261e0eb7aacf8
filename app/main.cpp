#include "app/commandline.h"
#include "app/corner.h"
#include "app/session.h"
#include "app/startup.h"
#include "app/windows.h"
#include "assets/decode.h"
#include "base/error.h"
#include "menu/menu.h"
#include "platform/language.h"
#include "platform/single.h"
#include "platform/sound.h"

#include <QApplication>
#include <QDBusConnection>
#include <QIcon>
#include <QPixmap>
#include <QTimer>

#include <malloc.h>

#include <optional>

namespace {

void nameApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("ZEPHYRA"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZEPHYRA_VERSION));
}

// The wasp in every size a desktop asks for, decoded by the game itself: Qt
// asked to read a picture of unnamed format tries every image plugin there is.
QIcon windowIcon()
{
    QIcon icon;
    for (int side : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString path = QStringLiteral(":/icons/zephyra-%1.png").arg(side);
        QByteArray bytes;
        if (zephyra::readEmbedded(path, &bytes))
            icon.addPixmap(QPixmap::fromImage(zephyra::decodePng(bytes, path)));
    }
    return icon;
}

// False, after saying which, when an embedded picture of the icon is damaged.
bool setWindowIcon()
{
    try {
        QApplication::setWindowIcon(windowIcon());
    } catch (const zephyra::Error& e) {
        zephyra::showStandardError(e.message());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[])
{
    // The game's few helper threads (the picture check, sound, the keyboard
    // watchdog) allocate little; an arena each would keep freed pages
    // resident for the whole run.
    mallopt(M_ARENA_MAX, 2);
    // The game centres its own windows, follows the pointer across the whole
    // screen and, under the child lock, holds the keyboard and the mouse, all
    // of which Wayland denies its clients: on a Wayland desktop it runs
    // through XWayland. Wayland asked for in the environment is a choice for
    // Qt programs at large, which would open the lock; any other platform
    // (offscreen, say) stands.
    const bool waylandSession = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
                                || qgetenv("XDG_SESSION_TYPE") == "wayland";
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (waylandSession && (platform.isEmpty() || platform.startsWith("wayland"))
        && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    zephyra::refuseBadScaleSettings();

    // Help, the version and a value the game cannot take are answered before
    // a display is opened, so they work in any terminal. Only Qt's own
    // window-system options wait for the QApplication, which takes them out.
    bool kiosk = false;
    if (argc > 1) {
        QCoreApplication core(argc, argv);
        nameApplication();
        zephyra::installLanguage();
        const zephyra::CommandLine line = zephyra::readCommandLine(QCoreApplication::arguments(), true);
        if (line.outcome == zephyra::CommandLine::Answer || line.outcome == zephyra::CommandLine::Refuse)
            return zephyra::finishCommandLine(line);
        kiosk = line.session;
    }
    // The login screen's session: this process watches the game, which goes
    // on from here in a process of its own.
    if (kiosk)
        if (const std::optional<int> ended = zephyra::superviseSession(argc, argv))
            return *ended;
    // The launch that started this program, for a game that already runs
    // (Qt takes it out of the environment).
    const QString startupId = qEnvironmentVariable("DESKTOP_STARTUP_ID");

    // The game draws its own look, in its own font sizes, and decodes its own
    // pictures: whatever the desktop has installed or says it is, Qt loads the
    // xcb platform and the compose input method and nothing else. No platform
    // theme (GTK's would bring GTK and GL, KDE's its frameworks), hence no
    // desktop style; the environment asks for none of them while Qt starts.
    QGuiApplication::setDesktopSettingsAware(false);
    zephyra::TemporaryEnvironment forQtStart;
    forQtStart.unset("QT_QPA_PLATFORMTHEME");
    forQtStart.unset("QT_STYLE_OVERRIDE");  // Qt 6.8 loads the style while it starts
    forQtStart.unset("QT_IM_MODULES");
    forQtStart.set("QT_IM_MODULE", "compose");
    // The portal query Qt 6.8 makes at start serves only colour picking.
    forQtStart.set("QT_NO_XDG_DESKTOP_PORTAL", "1");
    // With no session bus, asking for one would start a bus for the display
    // that outlives the game.
    const bool sessionBus = zephyra::sessionBusExpected();
    if (!sessionBus)
        forQtStart.set("DBUS_SESSION_BUS_ADDRESS", "disabled:");

    // A display or platform that cannot be opened is Qt's fatal error here:
    // Qt says why, and the program ends with status 1 rather than a core dump.
    zephyra::exitOnFatalError(true);
    QApplication app(argc, argv);
    zephyra::exitOnFatalError(false);
    // The xcb platform and its input method are loaded; later lookups (image
    // formats, styles, icon engines) find no plugins at all. A platform the
    // user chose (Wayland's) may load its shell plugins with its first window.
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        QCoreApplication::setLibraryPaths({});
    // Qt keeps the failed connection, so the accessibility bridge never asks
    // again, and the environment is given back as it was.
    if (!sessionBus)
        QDBusConnection::sessionBus();
    forQtStart.restore();
    nameApplication();
    // Before any window exists, so every text and picture is the desktop's language.
    zephyra::installLanguage();
    // What a grown-up chose: the settings files, the command line over them.
    QStringList leftOut;
    const zephyra::SavedSettings saved = zephyra::readSavedSettings(&leftOut);
    const zephyra::CommandLine line = zephyra::readCommandLine(QCoreApplication::arguments(), false, saved.choices);
    if (line.outcome != zephyra::CommandLine::Play)
        return zephyra::finishCommandLine(line);
    zephyra::ParentChoices choices = line.choices;
    if (line.grownUps) {
        if (!setWindowIcon())
            return 1;
        const std::optional<zephyra::ParentChoices> playWith = zephyra::runGrownUps(saved, leftOut, startupId);
        if (!playWith)
            return 0;
        choices = *playWith;
    }
    if (!choices.language.isEmpty())
        zephyra::installLanguage(choices.language);
    // One game at a time: a game already running comes to the front instead,
    // and takes what a grown-up chose with this start. The session's game is
    // alone in a world of its own.
    zephyra::OneGame oneGame(QStringLiteral(ZEPHYRA_APP_ID), &zephyra::roundShown, &zephyra::takeChoices);
    QString notTaken;
    // The settings for grown-ups hand their whole set, volume and language too.
    if (!line.session && !oneGame.claim(startupId, choices, &notTaken, line.grownUps)) {
        if (!notTaken.isEmpty())
            zephyra::sayNotTaken(notTaken);
        return 0;
    }
    if (choices.childLock && !zephyra::lockCannotHold().isEmpty())
        zephyra::sayOnTerminal(zephyra::lockCannotHold());
    // Ties the windows to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(ZEPHYRA_APP_ID));
    // Hidden windows must not end the program; only closing the start screen does.
    QApplication::setQuitOnLastWindowClosed(false);

    // Made before the windows and ended after them, so no sound is asked of it gone.
    zephyra::PulseSound sound;
    sound.setLevel(choices.volume);
    if (!setWindowIcon())
        return 1;
    try {
        zephyra::createWindows(sound, choices,
                               choices.rememberOptions && saved.optionsGiven ? &saved.options : nullptr);
    } catch (const zephyra::Error& e) {
        // A damaged embedded picture: say which, and end instead of running half-built.
        zephyra::showStandardError(e.message());
        return 1;
    }
    std::optional<zephyra::Session> session;
    if (line.session) {
        session.emplace();
        QObject::connect(&*session, &zephyra::Session::ended, &app, [] { QCoreApplication::exit(0); });
    }
    QObject::connect(&oneGame, &zephyra::OneGame::frontRequested, &zephyra::bringGameToFront);
    // Another start took this game's place while it stood still, and keeps
    // it: the game ends even with a locked round, whose field refuses to close.
    QObject::connect(&oneGame, &zephyra::OneGame::replaced, &app, [] { QCoreApplication::exit(0); });
    START->show();
    // Pictures are decoded when first shown; this proves now that every one
    // can be, so a damaged one ends the program here and never shows in play.
    // The start screen is painted first.
    std::optional<zephyra::PictureCheck> pictures;
    zephyra::afterFirstExpose(START->window()->windowHandle(), [&pictures] {
        pictures.emplace(zephyra::picturesInUse(), [](const QString& error) {
            zephyra::showStandardError(error);
            QCoreApplication::exit(1);
        });
    });
    // After the first paint: opening the audio output costs time the start
    // screen should not wait for.
    QTimer::singleShot(300, [&sound] { sound.connect(); });
    const int result = QApplication::exec();
    oneGame.release();
    pictures.reset();
    session.reset();
    zephyra::destroyWindows();
    return result;
}
