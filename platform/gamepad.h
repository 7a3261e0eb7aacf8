#pragma once
// Gamepads and joysticks, through SDL's game-controller API. The library is
// loaded only once a gamepad is present (a look at /dev/input when a round
// begins or a device is plugged in), on a thread of its own, so a game with
// none pays nothing: no library, no thread, no polling beyond the look.
// Once loaded it is read on the field's tick.

#include <QFileSystemWatcher>
#include <QObject>
#include <QPointF>
#include <QTimer>

#include <memory>

namespace zephyra {

struct GamepadRead {
    // Where the sticks and the D-pad point, each axis from -1 to 1, with the
    // stick's dead zone taken off; (0, 0) when nothing is pushed.
    QPointF steer;
    // Buttons that went down since the last read: face buttons (A, B, X, Y,
    // or any button of a joystick without a gamepad layout), and any button
    // but the D-pad.
    int facePresses = 0;
    int presses = 0;
};

class Gamepads : public QObject {
    Q_OBJECT
public:
    explicit Gamepads(QObject* parent = nullptr);
    ~Gamepads() override;

    // While a round runs: looks for a gamepad now and whenever /dev/input
    // changes, and loads the library once one is there.
    void watch(bool on);
    // Loads the library now, on its thread, whether or not a gamepad is
    // there; loaded() follows once it is ready.
    void load();
    bool isLoaded() const { return m_loaded; }
    // Gamepads open now.
    int count() const;
    // The sticks now and the presses since the last read. Presses older than
    // a moment (made while nothing read them: the prize pause, between
    // rounds) are dropped.
    GamepadRead read();

    // Whether an input device that looks like a gamepad or a joystick can be
    // opened under /dev/input.
    static bool devicePresent();

signals:
    void loaded();

private:
    void look();
    void finishLoading(bool ok);

    class Library;
    std::shared_ptr<Library> m_library;  // shared with the loading thread until it ends
    bool m_loading = false;
    bool m_loaded = false;
    QFileSystemWatcher m_devices;
    QTimer m_lookAgain;  // a device's permissions may come a moment after the device
};

}  // namespace zephyra
