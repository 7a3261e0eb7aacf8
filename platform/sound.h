#pragma once
// The game's sounds. The play field is handed a SoundOutput and asks it for a
// sound; the program hands it a PulseSound, tests a recording double.

#include "settings/parent.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>

namespace zephyra {

// The lullaby plays when play time is up.
enum class SoundId { Pop = 0, Prize = 1, Lullaby = 2 };
inline constexpr int kSoundCount = 3;

class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    // Starts the sound, cutting off the one this output plays. Returns at once,
    // whatever the sound system is doing.
    virtual void play(SoundId sound) = 0;
    // The level, 0 to kLoudest, of the sounds asked for from now on.
    virtual void setLevel(int level) { (void)level; }
};

// 16-bit samples at a level from 0 (silent) to kLoudest, on the scale the
// desktop's own volume sliders use (the amplitude grows with the cube of the
// level), so each step sounds about as much louder as the last.
QByteArray samplesAtLevel(QByteArrayView samples, int level);

// Plays through the desktop's sound server (PulseAudio, or the PulseAudio
// service of PipeWire) from a thread of its own, so no sound request and no
// server event can hold up the game: a device that goes away, a server that
// dies, restarts or stops answering. Each sound is a new stream on the
// default device, so sound follows the device the desktop has chosen. A sound
// that cannot be read is silent and leaves the one playing alone. With no
// server the game is silent and asks again on the next sound. The sounds play
// at their own level, which leaves the desktop's volume alone.
class PulseSound final : public SoundOutput {
public:
    explicit PulseSound(const std::array<QString, kSoundCount>& files = {QStringLiteral(":/sounds/pop.wav"),
                                                                         QStringLiteral(":/sounds/prize.wav"),
                                                                         QStringLiteral(":/sounds/lullaby.wav")});
    // Waits a moment for the sound thread; one held up inside the sound
    // library is left behind, so the exit never waits on the server.
    ~PulseSound() override;

    PulseSound(const PulseSound&) = delete;
    PulseSound& operator=(const PulseSound&) = delete;

    void play(SoundId sound) override;
    void setLevel(int level) override;
    // Opens the connection ahead of the first sound, so the first pop is on time.
    void connect();

private:
    class Loop;
    Loop* m_loop;  // owned; let go on purpose when its thread does not stop
};

}  // namespace zephyra
