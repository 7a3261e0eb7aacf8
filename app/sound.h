#pragma once
// The game's two sounds, played asynchronously from the embedded WAV data.
// One sound at a time: a new request cuts off whatever is playing. A missing
// or unplayable sound is silent.

#include <QObject>
#include <QPointer>
#include <QUrl>

#include <array>

class QSoundEffect;

namespace zephyra {

enum class SoundId { Pop = 0, Prize = 1 };

class SoundPlayer : public QObject {
    Q_OBJECT
public:
    static SoundPlayer& instance();

    void play(SoundId sound);
    // Loads both sounds ahead of the first request, so the first pop is on time.
    void preload();

    // Tests turn the real output off so they never wait on an audio device.
    void setOutputEnabled(bool enabled) { m_outputEnabled = enabled; }
    void setSource(SoundId sound, const QUrl& source);
    // Whether the sound was started on the real output and still plays.
    bool isPlaying(SoundId sound) const;

signals:
    // Every request, heard or not.
    void requested(zephyra::SoundId sound);

private:
    SoundPlayer();
    ~SoundPlayer() override;
    QSoundEffect* effect(SoundId sound);
    void start(QSoundEffect* effect);

    std::array<QUrl, 2> m_sources;
    std::array<QPointer<QSoundEffect>, 2> m_effects{};
    std::array<bool, 2> m_waiting{};  // asked for before it had loaded
    bool m_outputEnabled = true;
};

}  // namespace zephyra
