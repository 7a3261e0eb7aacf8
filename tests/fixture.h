#pragma once
// What every test of the real windows starts from: the application named as
// the program names it, a sound output that records what is asked of it (no
// test waits on an audio device), and the three windows built by the
// program's own function; freshGame() gives all of it anew in one call.

#include "app/windows.h"
#include "menu/Unit_options.h"
#include "menu/menu.h"
#include "platform/random.h"
#include "platform/sound.h"
#include "play/UnitPlay.h"
#include "settings/GameSettings.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>
#include <QtTest>

#include <functional>

#include <vector>

namespace fixture {

class RecordingSound final : public zephyra::SoundOutput {
public:
    void play(zephyra::SoundId sound) override { log.push_back(sound); }
    void setLevel(int l) override { level = l; }
    std::vector<zephyra::SoundId> log;
    int level = zephyra::kLoudest;
};

inline RecordingSound& recorder()
{
    static RecordingSound output;
    return output;
}

// The sounds asked for since the last clearSounds(), in order.
inline std::vector<zephyra::SoundId>& sounds() { return recorder().log; }
inline void clearSounds() { sounds().clear(); }

// A control of the options dialog, found by its name as the layout gives it.
template <class Control>
Control* option(const char* name)
{
    return Options->findChild<Control*>(QLatin1String(name));
}

inline void buildWindows(const zephyra::ParentChoices& choices = {},
                         const TGameSettings* remembered = nullptr)
{
    QApplication::setApplicationName(QStringLiteral("ZEPHYRA"));
    zephyra::createWindows(recorder(), choices, remembered);
}

// A freshly started game, as the program starts one: the settings and the
// round at their start values, the windows built anew, no sound asked for
// yet, and the random generator seeded so that play repeats; with a
// grown-up's choices as the command line gives them, and the options an
// earlier start remembered.
inline void freshGame(quint32 seed = 20240611, const zephyra::ParentChoices& choices = {},
                      const TGameSettings* remembered = nullptr)
{
    zephyra::destroyWindows();
    GameSettings = TGameSettings();
    PlayState = TPlayState();
    clearSounds();
    recorder().level = zephyra::kLoudest;
    buildWindows(choices, remembered);
    zephyra::seedRandom(seed);
}

// Ticks the hold on Esc of a locked round as the event loop would while it runs.
inline void holdEsc(int ticks)
{
    for (int i = 0; i < ticks && Play->Lock().TimerEsc->isActive(); ++i)
        Play->Lock().TimerEscTimer();
}

// Plays one round, running `during` inside it; true when the round ended by
// itself. One that does not is left after five seconds, as a grown-up would
// leave it, so a fault fails the test instead of hanging it.
inline bool playRound(const std::function<void()>& during)
{
    bool forced = false;
    QTimer fallback;
    fallback.setSingleShot(true);
    QObject::connect(&fallback, &QTimer::timeout, [&forced] {
        forced = true;
        QTest::keyRelease(Play, Qt::Key_A);
        QTest::keyPress(Play, Qt::Key_Escape);
        holdEsc(zephyra::kHoldToLeaveMs / kTickMs);
        Play->close();
    });
    fallback.start(5000);
    QTimer::singleShot(0, Play, during);
    START->B_PlayClick();
    return !forced;
}

}  // namespace fixture
