#pragma once
// The game's two sounds, played asynchronously from the embedded WAV data.
// One sound at a time: a new request cuts off whatever is playing. A missing
// or unplayable sound is silent. Every request is recorded so tests can see
// which sound was asked for and when.

#include <QElapsedTimer>
#include <QString>
#include <QUrl>

#include <array>
#include <memory>
#include <vector>

class QSoundEffect;

namespace zephyra {

enum class SoundId { Pop = 0, Prize = 1 };

struct SoundRequest {
    SoundId sound;
    qint64 atMs;  // milliseconds since the player was created
};

class SoundPlayer {
public:
    static SoundPlayer& instance();

    void play(SoundId sound);
    // Loads both sounds ahead of the first request, so the first pop is on time.
    void preload();

    const std::vector<SoundRequest>& requests() const { return m_requests; }
    void clearRequests() { m_requests.clear(); }
    // Tests turn the real output off so they never wait on an audio device.
    void setOutputEnabled(bool enabled) { m_outputEnabled = enabled; }
    void setSource(SoundId sound, const QUrl& source);
    // The sound last started on the real output (for tests of the cut-off).
    bool isPlaying(SoundId sound) const;

private:
    SoundPlayer();
    ~SoundPlayer();
    QSoundEffect* effect(SoundId sound);

    std::array<QUrl, 2> m_sources;
    std::array<QSoundEffect*, 2> m_effects{};
    std::vector<SoundRequest> m_requests;
    QElapsedTimer m_clock;
    bool m_outputEnabled = true;
};

}  // namespace zephyra
