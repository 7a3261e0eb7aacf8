#pragma once
// What every test of the real windows starts from: the application named as
// the program names it, a sound output that records what is asked of it (no
// test waits on an audio device), and the three windows built by the
// program's own function.

#include "app/sound.h"
#include "app/windows.h"

#include <QApplication>

#include <vector>

namespace fixture {

class RecordingSound final : public zephyra::SoundOutput {
public:
    void play(zephyra::SoundId sound) override { log.push_back(sound); }
    std::vector<zephyra::SoundId> log;
};

inline RecordingSound& recorder()
{
    static RecordingSound output;
    return output;
}

// The sounds asked for since the last clearSounds(), in order.
inline std::vector<zephyra::SoundId>& sounds() { return recorder().log; }
inline void clearSounds() { sounds().clear(); }

inline void buildWindows()
{
    QApplication::setApplicationName(QStringLiteral("ZEPHYRA"));
    zephyra::createWindows(recorder());
}

}  // namespace fixture
