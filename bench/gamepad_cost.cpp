// What the gamepad library costs the game once it is loaded: the time to
// load it (on its own thread), the resident memory, threads, open files and
// shared objects it adds, and the CPU of reading it on every 50 ms tick for
// a while with no gamepad, then with SDL's virtual gamepad attached.
// With no gamepad present the game never loads it: that costs nothing.
// Usage: gamepad_cost [seconds]   (default 30)

#include "platform/gamepad.h"
#include "platform/single.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTimer>

#include <SDL.h>

#include <cstdio>
#include <ctime>
#include <dlfcn.h>

namespace {

struct Usage {
    double rssMb = 0;
    int threads = 0;
    QStringList files;
    QSet<QString> objects;
    bool bus = false;  // libdbus among the shared objects
};

Usage usageNow()
{
    Usage u;
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("VmRSS:"))
                u.rssMb = line.simplified().split(' ').value(1).toDouble() / 1024;
    u.threads = int(QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString& fd : fds.entryList(QDir::System | QDir::NoDotAndDotDot))
        u.files << QFile::symLinkTarget(fds.filePath(fd));
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (maps.open(QIODevice::ReadOnly))
        for (const QByteArray& line : maps.readAll().split('\n'))
            if (line.contains(".so")) {
                u.objects.insert(QFileInfo(QString::fromLocal8Bit(line.mid(line.indexOf('/')))).fileName());
                u.bus = u.bus || line.contains("libdbus");
            }
    return u;
}

double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

// A 50 ms tick for the given time, reading the pads or not; the CPU used, in % of one core.
double tickFor(zephyra::Gamepads* pads, int seconds)
{
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        if (pads)
            pads->read();
    });
    tick.start(50);
    QElapsedTimer wall;
    wall.start();
    const double cpu0 = cpuSeconds();
    QTimer::singleShot(seconds * 1000, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
    tick.stop();
    return 100 * (cpuSeconds() - cpu0) / (wall.elapsed() / 1000.0);
}

void print(const char* what, const Usage& u)
{
    std::printf("%-34s RSS %.1f MB, %d threads, %d open files, %d shared objects%s\n", what, u.rssMb, u.threads,
                int(u.files.size()), int(u.objects.size()), u.bus ? " (libdbus mapped)" : "");
}

}  // namespace

int main(int argc, char** argv)
{
    // As the game starts: with no session bus, SDL must not start one.
    const bool sessionBus = zephyra::sessionBusExpected();
    if (!sessionBus)
        qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
    QCoreApplication app(argc, argv);
    if (!sessionBus) {
        QDBusConnection::sessionBus();
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    }
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    zephyra::Gamepads pads;
    const Usage before = usageNow();
    print("before loading:", before);
    std::printf("a gamepad under /dev/input: %s\n", zephyra::Gamepads::devicePresent() ? "yes" : "no");

    QElapsedTimer loading;
    loading.start();
    QObject::connect(&pads, &zephyra::Gamepads::loaded, &app, &QCoreApplication::quit);
    pads.load();
    QTimer::singleShot(10000, &app, &QCoreApplication::quit);
    QCoreApplication::exec();
    if (!pads.isLoaded()) {
        std::printf("FAIL: the library did not load\n");
        return 1;
    }
    std::printf("loaded on its thread in %lld ms\n", loading.elapsed());
    const Usage after = usageNow();
    print("loaded, no gamepad:", after);
    std::printf("%-34s +%.1f MB, %+d threads, %+d files, %+d shared objects\n", "added:", after.rssMb - before.rssMb,
                after.threads - before.threads, int(after.files.size() - before.files.size()),
                int(after.objects.size() - before.objects.size()));
    QStringList files = after.files;
    for (const QString& f : before.files)
        files.removeOne(f);
    QStringList objects = (after.objects - before.objects).values();
    objects.sort();
    std::printf("files opened: %s\nshared objects added: %s\n", qPrintable(files.join(QStringLiteral(", "))),
                qPrintable(objects.join(QStringLiteral(" "))));

    std::printf("the tick alone for %d s: %.3f %% of one core\n", seconds, tickFor(nullptr, seconds));
    std::printf("reading on every tick for %d s, no gamepad: %.3f %% of one core\n", seconds, tickFor(&pads, seconds));

    // SDL's own virtual gamepad, found in the library the game loaded.
    void* sdl = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_NOLOAD);
    auto attach = reinterpret_cast<decltype(&SDL_JoystickAttachVirtualEx)>(dlsym(sdl, "SDL_JoystickAttachVirtualEx"));
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "virtual";
    if (!attach || attach(&desc) < 0) {
        std::printf("FAIL: no virtual gamepad\n");
        return 1;
    }
    pads.read();
    std::printf("gamepads open: %d\n", pads.count());
    std::printf("reading on every tick for %d s, one gamepad: %.3f %% of one core\n", seconds, tickFor(&pads, seconds));
    print("with the virtual gamepad:", usageNow());
    return 0;
}
