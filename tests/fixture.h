#pragma once
// What every test of the real windows starts from: the application named as
// the program names it, the sound output off (no test waits on an audio
// device, but every request is logged), and the three windows built by the
// program's own function.

#include "app/sound.h"
#include "app/windows.h"

#include <QApplication>

#include <vector>

namespace fixture {

// The sounds asked for since the last clearSounds(), in order.
inline std::vector<zephyra::SoundId>& sounds()
{
    static std::vector<zephyra::SoundId> log;
    return log;
}
inline void clearSounds() { sounds().clear(); }

inline void buildWindows()
{
    QApplication::setApplicationName(QStringLiteral("ZEPHYRA"));
    zephyra::SoundPlayer& player = zephyra::SoundPlayer::instance();
    player.setOutputEnabled(false);
    QObject::connect(&player, &zephyra::SoundPlayer::requested,
                     [](zephyra::SoundId id) { sounds().push_back(id); });
    zephyra::createWindows();
}

}  // namespace fixture
