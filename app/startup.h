#pragma once
// Checks made once at start-up: the settings Qt reads before it starts, and
// the embedded pictures beside the start screen.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

class QWindow;

namespace zephyra {

// Whether a setting that scales every window and picture can be used:
// QT_SCALE_FACTOR and each factor of QT_SCREEN_SCALE_FACTORS ("2;1.5;" or
// "HDMI-1=2;DP-1=1") a finite number from 0.1 to 8, QT_FONT_DPI a whole
// number of dots per inch from 1 to 768 (8 times 96). An empty value sets
// nothing and is accepted.
bool scaleSettingAccepted(QByteArrayView name, const QByteArray& value);

// Before Qt starts: takes every refused scale setting out of this process's
// environment, and QT_SCALE_FACTOR too when with the screen's factor it would
// draw the game outside 0.1 to 8 times its size, with one line on stderr
// each. The game then starts at the desktop's own scale instead of asking
// for gigabytes or drawing nothing.
void refuseBadScaleSettings();

// Environment variables changed for a moment (while QApplication is built)
// and given back as they were by restore() or at the end of the scope, so
// that nothing the game starts later, such as the browser, inherits them.
class TemporaryEnvironment {
public:
    TemporaryEnvironment() = default;
    ~TemporaryEnvironment() { restore(); }
    TemporaryEnvironment(const TemporaryEnvironment&) = delete;
    TemporaryEnvironment& operator=(const TemporaryEnvironment&) = delete;

    void set(const char* name, const QByteArray& value);
    void unset(const char* name);
    void restore();

private:
    void save(const char* name);
    std::vector<std::pair<QByteArray, std::optional<QByteArray>>> m_saved;
};

// On, Qt's fatal error ends the program with status 1 after Qt's message,
// instead of an abort and a core dump. For the building of QApplication:
// its one fatal error is a display or platform that cannot be opened.
void exitOnFatalError(bool on);

// Runs then from the event loop, once, after window has first been shown and
// painted: its first paint never waits for it.
void afterFirstExpose(QWindow* window, std::function<void()> then);

// Decodes every picture given (or of a folder) once on a worker thread and
// lets it go again, so a damaged embedded picture is found at start-up rather than in
// the middle of play, while the pictures are still decoded only when shown.
// onDamaged runs on the GUI thread with the error of the first damaged one.
class PictureCheck {
public:
    PictureCheck(const QStringList& pictures, std::function<void(const QString&)> onDamaged);
    PictureCheck(const QString& folder, std::function<void(const QString&)> onDamaged);
    // Stops the check after the picture in hand and waits for that one, so
    // leaving never waits for the rest.
    ~PictureCheck();

    PictureCheck(const PictureCheck&) = delete;
    PictureCheck& operator=(const PictureCheck&) = delete;

private:
    std::jthread m_worker;
};

}  // namespace zephyra
