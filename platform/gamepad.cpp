#include "platform/gamepad.h"

#include <QDir>
#include <QThread>

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <dlfcn.h>
#include <fcntl.h>
#include <linux/input.h>
#include <sys/ioctl.h>
#include <unistd.h>
#include <vector>

namespace zephyra {

namespace {

constexpr const char* kLibrary = "libSDL2-2.0.so.0";
const QString kInputFolder = QStringLiteral("/dev/input");
// A stick at rest on a worn pad still reads a little off centre.
constexpr double kDeadZone = 0.25;
// A press that waited longer than this for a read was made while nothing
// played: it is not carried into play.
constexpr Uint32 kStalePressMs = 250;
// udev gives a new device's permissions a moment after its node appears.
constexpr int kLookAgainMs = 1000;

// The buttons of a joystick (BTN_JOYSTICK) and of a gamepad (BTN_GAMEPAD).
constexpr int kFirstStickButton = BTN_JOYSTICK;
constexpr int kLastStickButton = BTN_THUMBR;

double stickAxis(Sint16 raw)
{
    const double v = std::clamp(raw / 32767.0, -1.0, 1.0);
    if (std::abs(v) < kDeadZone)
        return 0;
    // Squared past the dead zone: a small push steers finely.
    const double t = (std::abs(v) - kDeadZone) / (1 - kDeadZone);
    return std::copysign(t * t, v);
}

// The strongest of two pushes on one axis.
double stronger(double a, double b) { return std::abs(b) > std::abs(a) ? b : a; }

}  // namespace

// The library's functions, looked up once it is loaded.
class Gamepads::Library {
public:
#define ZEPHYRA_SDL_FUNCTIONS(X)                                                                              \
    X(SDL_SetHint) X(SDL_InitSubSystem) X(SDL_QuitSubSystem) X(SDL_EventState) X(SDL_PollEvent) X(SDL_GetTicks) \
    X(SDL_IsGameController) X(SDL_GameControllerOpen) X(SDL_GameControllerClose) X(SDL_GameControllerGetAxis)   \
    X(SDL_GameControllerGetButton) X(SDL_JoystickOpen) X(SDL_JoystickClose) X(SDL_JoystickGetAxis)              \
    X(SDL_JoystickGetHat) X(SDL_JoystickInstanceID) X(SDL_JoystickNumAxes) X(SDL_JoystickNumHats)               \
    X(SDL_GameControllerGetJoystick) X(SDL_TLSCleanup)
#define ZEPHYRA_SDL_POINTER(name) decltype(&::name) name = nullptr;
    ZEPHYRA_SDL_FUNCTIONS(ZEPHYRA_SDL_POINTER)
#undef ZEPHYRA_SDL_POINTER

    struct Pad {
        SDL_JoystickID id;
        SDL_GameController* controller;  // null for a joystick without a gamepad layout
        SDL_Joystick* joystick;
    };
    std::vector<Pad> pads;
    bool started = false;

    // Runs on the loading thread: nothing else touches the library until it
    // has ended.
    bool open()
    {
        void* handle = dlopen(kLibrary, RTLD_NOW | RTLD_LOCAL);
        if (!handle)
            return false;
        bool all = true;
#define ZEPHYRA_SDL_RESOLVE(name)                                              \
    name = reinterpret_cast<decltype(&::name)>(dlsym(handle, #name)); \
    all = all && name;
        ZEPHYRA_SDL_FUNCTIONS(ZEPHYRA_SDL_RESOLVE)
#undef ZEPHYRA_SDL_RESOLVE
        // Never unloaded: the library may keep threads or handlers of its own.
        if (!all)
            return false;
        // SIGINT and SIGTERM end the game as before, not as an SDL event no one reads.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        // The kernel's own gamepad devices are enough; SDL's raw USB and
        // Bluetooth drivers would open more devices and start threads.
        SDL_SetHint(SDL_HINT_JOYSTICK_HIDAPI, "0");
        // SDL connects to the session bus as it starts. With none there,
        // libdbus would start one for the display that outlives the game;
        // it does not, as libdbus keeps the first bus address it was given,
        // and main gave it "disabled:" before any bus was asked for.
        if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
            return false;
        // Sticks are read as they stand on each tick; events of their
        // movement would only fill the queue.
        for (Uint32 type : {SDL_JOYAXISMOTION, SDL_JOYBALLMOTION, SDL_CONTROLLERAXISMOTION, SDL_CONTROLLERBUTTONUP, SDL_CONTROLLERDEVICEADDED,
                            SDL_CONTROLLERDEVICEREMOVED, SDL_CONTROLLERDEVICEREMAPPED, SDL_CONTROLLERTOUCHPADDOWN,
                            SDL_CONTROLLERTOUCHPADMOTION, SDL_CONTROLLERTOUCHPADUP, SDL_CONTROLLERSENSORUPDATE,
                            SDL_JOYBATTERYUPDATED})
            SDL_EventState(type, SDL_IGNORE);
        started = true;
        return true;
    }

    ~Library()
    {
        for (const Pad& p : pads)
            p.controller ? SDL_GameControllerClose(p.controller) : SDL_JoystickClose(p.joystick);
        if (started)
            SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    }

    void add(int deviceIndex)
    {
        Pad p{};
        if (SDL_IsGameController(deviceIndex)) {
            p.controller = SDL_GameControllerOpen(deviceIndex);
            p.joystick = p.controller ? SDL_GameControllerGetJoystick(p.controller) : nullptr;
        } else {
            p.joystick = SDL_JoystickOpen(deviceIndex);
        }
        if (!p.joystick)
            return;
        p.id = SDL_JoystickInstanceID(p.joystick);
        if (std::none_of(pads.begin(), pads.end(), [&](const Pad& q) { return q.id == p.id; }))
            pads.push_back(p);
    }

    void remove(SDL_JoystickID id)
    {
        const auto gone = std::find_if(pads.begin(), pads.end(), [&](const Pad& p) { return p.id == id; });
        if (gone == pads.end())
            return;
        gone->controller ? SDL_GameControllerClose(gone->controller) : SDL_JoystickClose(gone->joystick);
        pads.erase(gone);
    }

    bool isController(SDL_JoystickID id) const
    {
        return std::any_of(pads.begin(), pads.end(), [&](const Pad& p) { return p.id == id && p.controller; });
    }

    QPointF steer(const Pad& p) const
    {
        double x = 0, y = 0;
        if (p.controller) {
            SDL_GameController* c = p.controller;
            x = stronger(stickAxis(SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTX)),
                         stickAxis(SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_RIGHTX)));
            y = stronger(stickAxis(SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTY)),
                         stickAxis(SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_RIGHTY)));
            const auto held = [&](SDL_GameControllerButton b) { return SDL_GameControllerGetButton(c, b) != 0; };
            x = stronger(x, held(SDL_CONTROLLER_BUTTON_DPAD_RIGHT) - held(SDL_CONTROLLER_BUTTON_DPAD_LEFT));
            y = stronger(y, held(SDL_CONTROLLER_BUTTON_DPAD_DOWN) - held(SDL_CONTROLLER_BUTTON_DPAD_UP));
            return {x, y};
        }
        if (SDL_JoystickNumAxes(p.joystick) >= 2) {
            x = stickAxis(SDL_JoystickGetAxis(p.joystick, 0));
            y = stickAxis(SDL_JoystickGetAxis(p.joystick, 1));
        }
        if (SDL_JoystickNumHats(p.joystick) >= 1) {
            const Uint8 hat = SDL_JoystickGetHat(p.joystick, 0);
            x = stronger(x, bool(hat & SDL_HAT_RIGHT) - bool(hat & SDL_HAT_LEFT));
            y = stronger(y, bool(hat & SDL_HAT_DOWN) - bool(hat & SDL_HAT_UP));
        }
        return {x, y};
    }
};

Gamepads::Gamepads(QObject* parent) : QObject(parent)
{
    m_lookAgain.setSingleShot(true);
    m_lookAgain.setInterval(kLookAgainMs);
    connect(&m_lookAgain, &QTimer::timeout, this, &Gamepads::look);
    connect(&m_devices, &QFileSystemWatcher::directoryChanged, this, [this] {
        look();
        m_lookAgain.start();
    });
}

Gamepads::~Gamepads()
{
    // A thread still loading has the library to itself until it ends.
    if (m_loading)
        if (auto* loader = findChild<QThread*>())
            loader->wait();
}

void Gamepads::watch(bool on)
{
    if (!on || m_loaded || m_loading) {
        if (!m_devices.directories().isEmpty())
            m_devices.removePaths(m_devices.directories());
        m_lookAgain.stop();
        return;
    }
    if (QDir(kInputFolder).exists() && m_devices.directories().isEmpty())
        m_devices.addPath(kInputFolder);
    look();
}

void Gamepads::look()
{
    if (!m_loaded && !m_loading && devicePresent())
        load();
}

void Gamepads::load()
{
    if (m_loaded || m_loading)
        return;
    m_loading = true;
    watch(false);
    auto library = std::make_shared<Library>();
    auto ok = std::make_shared<bool>(false);
    QThread* loader = QThread::create([library, ok] {
        *ok = library->open();
        // SDL keeps each thread's own state (its error text) until the thread
        // says it is done; only SDL's own threads do so by themselves.
        if (library->SDL_TLSCleanup)
            library->SDL_TLSCleanup();
    });
    loader->setParent(this);
    connect(loader, &QThread::finished, this, [this, loader, library, ok] {
        loader->deleteLater();
        m_loading = false;
        if (!*ok)
            return;  // no library: gamepads stay unread, the game plays on
        m_library = library;
        m_loaded = true;
        emit loaded();
    });
    loader->start(QThread::LowPriority);
}

int Gamepads::count() const { return m_library ? int(m_library->pads.size()) : 0; }

GamepadRead Gamepads::read()
{
    GamepadRead r;
    if (!m_library)
        return r;
    Library& sdl = *m_library;
    const Uint32 now = sdl.SDL_GetTicks();
    SDL_Event e;
    while (sdl.SDL_PollEvent(&e)) {
        switch (e.type) {
        case SDL_JOYDEVICEADDED:
            sdl.add(e.jdevice.which);
            break;
        case SDL_JOYDEVICEREMOVED:
            sdl.remove(e.jdevice.which);
            break;
        case SDL_CONTROLLERBUTTONDOWN: {
            const auto b = SDL_GameControllerButton(e.cbutton.button);
            if (now - e.cbutton.timestamp > kStalePressMs || b == SDL_CONTROLLER_BUTTON_DPAD_UP
                || b == SDL_CONTROLLER_BUTTON_DPAD_DOWN || b == SDL_CONTROLLER_BUTTON_DPAD_LEFT
                || b == SDL_CONTROLLER_BUTTON_DPAD_RIGHT)
                break;
            ++r.presses;
            if (b == SDL_CONTROLLER_BUTTON_A || b == SDL_CONTROLLER_BUTTON_B || b == SDL_CONTROLLER_BUTTON_X
                || b == SDL_CONTROLLER_BUTTON_Y)
                ++r.facePresses;
            break;
        }
        case SDL_JOYBUTTONDOWN:
            // A gamepad's buttons come as its own events above.
            if (now - e.jbutton.timestamp > kStalePressMs || sdl.isController(e.jbutton.which))
                break;
            ++r.presses;
            ++r.facePresses;
            break;
        default:
            break;
        }
    }
    for (const Library::Pad& p : sdl.pads) {
        const QPointF s = sdl.steer(p);
        r.steer = {stronger(r.steer.x(), s.x()), stronger(r.steer.y(), s.y())};
    }
    return r;
}

bool Gamepads::devicePresent()
{
    const QStringList nodes = QDir(kInputFolder).entryList({QStringLiteral("event*")}, QDir::System);
    for (const QString& node : nodes) {
        const int fd = ::open(qPrintable(kInputFolder + QLatin1Char('/') + node), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;  // a keyboard or a mouse, kept from ordinary users
        unsigned char keys[KEY_MAX / 8 + 1] = {};
        const bool read = ioctl(fd, EVIOCGBIT(EV_KEY, sizeof keys), keys) >= 0;
        ::close(fd);
        if (!read)
            continue;
        for (int b = kFirstStickButton; b <= kLastStickButton; ++b)
            if (keys[b / 8] & (1 << (b % 8)))
                return true;
    }
    return false;
}

}  // namespace zephyra
