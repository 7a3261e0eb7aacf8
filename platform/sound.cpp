#include "platform/sound.h"

#include "assets/decode.h"

#include <pulse/pulseaudio.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <utility>

namespace zephyra {

namespace {

using Clock = std::chrono::steady_clock;

// A sound asked for longer ago than this, while the server was still being
// reached, is not worth playing late.
constexpr auto kStale = std::chrono::milliseconds(250);
// A server that has not answered a connection or a new stream by then is
// treated as gone: the connection is dropped, and the next sound asks again.
constexpr pa_usec_t kAnswerUsec = 2 * PA_USEC_PER_SEC;
// What a sound asks of the device: short enough to start at once, long
// enough not to make a busy server work hard.
constexpr pa_usec_t kTargetLatencyUsec = 50 * PA_USEC_PER_MSEC;
// What a played-out stream waits for its device when the device does not say.
constexpr pa_usec_t kLatencyUnknownUsec = PA_USEC_PER_SEC;
constexpr pa_usec_t kLatencyMarginUsec = 50 * PA_USEC_PER_MSEC;
// How long the exit waits for the sound thread.
constexpr auto kStopWait = std::chrono::milliseconds(300);

constexpr int kNothing = 0;
// A request is the time it was made and what it asks for, in one atomic word.
constexpr int kWhatBits = 3;
constexpr int kConnectOnly = kSoundCount + 1;  // the sounds are 1 to kSoundCount
static_assert(kConnectOnly < (1 << kWhatBits));

pa_proplist* properties(const char* key, const char* value)
{
    pa_proplist* p = pa_proplist_new();
    pa_proplist_sets(p, key, value);
    return p;
}

}  // namespace

// Owns the connection to the sound server. Everything but request() and
// stop() runs on its own thread; the game thread only leaves a request and
// wakes the loop, which never waits for it.
class PulseSound::Loop {
public:
    explicit Loop(std::array<Pcm, kSoundCount> sounds)
        : m_sounds(std::move(sounds)), m_mainloop(pa_mainloop_new()),
          m_wake(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC))
    {
        takeLevel();
        // A request stays readable on the event counter until the loop reads
        // it, so none is lost however it falls between two polls.
        if (m_wake >= 0)
            api()->io_new(api(), m_wake, PA_IO_EVENT_INPUT,
                          [](pa_mainloop_api*, pa_io_event*, int fd, pa_io_event_flags_t, void* self) {
                              std::uint64_t count;
                              (void)!read(fd, &count, sizeof count);
                              static_cast<Loop*>(self)->takeRequest();
                          },
                          this);
        m_thread = std::thread([this] { run(); });
    }

    void request(int what)
    {
        const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch());
        m_request.store((std::uint64_t(now.count()) << kWhatBits) | std::uint64_t(what));
        wake();
    }

    // Taken by the loop before the next sound it starts.
    void setLevel(int level) { m_level.store(std::clamp(level, 0, kLoudest)); }

    // True when the thread has ended and the loop may be deleted.
    bool stop()
    {
        m_quit.store(true);
        wake();
        std::unique_lock lock(m_doneMutex);
        if (!m_doneChanged.wait_for(lock, kStopWait, [this] { return m_done; })) {
            m_thread.detach();
            return false;
        }
        lock.unlock();
        m_thread.join();
        pa_mainloop_free(m_mainloop);
        if (m_wake >= 0)
            close(m_wake);
        return true;
    }

private:
    void wake()
    {
        const std::uint64_t one = 1;
        (void)!write(m_wake, &one, sizeof one);
    }

    void run()
    {
        while (!m_quit.load()) {
            if (pa_mainloop_iterate(m_mainloop, 1, nullptr) < 0)
                break;
            serve();
        }
        dropConnection();
        std::lock_guard lock(m_doneMutex);
        m_done = true;
        m_doneChanged.notify_all();
    }

    pa_mainloop_api* api() { return pa_mainloop_get_api(m_mainloop); }

    void takeRequest()
    {
        const std::uint64_t r = m_request.exchange(0);
        const int what = int(r & ((1 << kWhatBits) - 1));
        if (what == kNothing || (what == kConnectOnly && m_pending != kNothing))
            return;
        m_pending = what;
        m_pendingAt = Clock::time_point(std::chrono::milliseconds(r >> kWhatBits));
    }

    // The sounds at the level asked for: copies when it is not the loudest,
    // made on this thread before the stream that plays them.
    void takeLevel()
    {
        const int level = m_level.load();
        if (level == m_heardLevel)
            return;
        for (std::size_t i = 0; i < m_sounds.size(); ++i) {
            m_heard[i] = m_sounds[i];
            if (level != kLoudest) {
                m_heard[i].file = samplesAtLevel(m_sounds[i].samples, level);
                m_heard[i].samples = m_heard[i].file;
            }
        }
        m_heardLevel = level;
    }

    // Plays what was asked for once the server is there.
    void serve()
    {
        if (m_pending == kNothing)
            return;
        if (!m_context)
            connectServer();
        if (!m_context || pa_context_get_state(m_context) != PA_CONTEXT_READY)
            return;
        const int what = std::exchange(m_pending, kNothing);
        if (what != kConnectOnly && Clock::now() - m_pendingAt <= kStale)
            startStream(what - 1);
    }

    void connectServer()
    {
        pa_proplist* p = properties(PA_PROP_APPLICATION_NAME, "ZEPHYRA");
        pa_proplist_sets(p, PA_PROP_APPLICATION_ID, ZEPHYRA_APP_ID);
        pa_proplist_sets(p, PA_PROP_APPLICATION_ICON_NAME, ZEPHYRA_APP_ID);
        pa_proplist_sets(p, PA_PROP_MEDIA_ROLE, "game");
        m_context = pa_context_new_with_proplist(api(), "ZEPHYRA", p);
        pa_proplist_free(p);
        if (!m_context)
            return;
        pa_context_set_state_callback(
            m_context, [](pa_context* c, void* self) { static_cast<Loop*>(self)->contextChanged(c); }, this);
        // Never starts a server of its own: the desktop runs one, or the game is silent.
        if (pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
            dropConnection();
            return;
        }
        awaitAnswer();
    }

    void contextChanged(pa_context* c)
    {
        switch (pa_context_get_state(c)) {
        case PA_CONTEXT_READY:
            answered();
            serve();
            break;
        case PA_CONTEXT_FAILED:
        case PA_CONTEXT_TERMINATED:
            // The server went away; the next sound connects again.
            dropConnection();
            break;
        default:
            break;
        }
    }

    // Only a stream that has started cuts off the one playing, so a sound the
    // server refuses leaves it alone.
    void startStream(int index)
    {
        takeLevel();
        const Pcm& pcm = m_heard[std::size_t(index)];
        if (pcm.samples.isEmpty())
            return;  // a sound that cannot be read is not heard
        dropStream(m_starting);
        const pa_sample_spec spec{PA_SAMPLE_S16LE, std::uint32_t(pcm.rate), std::uint8_t(pcm.channels)};
        pa_proplist* p = properties(PA_PROP_MEDIA_ROLE, "game");
        static constexpr const char* kStreamNames[kSoundCount] = {"pop", "fanfare", "lullaby"};
        m_starting = pa_stream_new_with_proplist(m_context, kStreamNames[index], &spec, nullptr, p);
        pa_proplist_free(p);
        if (!m_starting)
            return;
        m_startingIndex = index;
        pa_stream_set_state_callback(
            m_starting, [](pa_stream* s, void* self) { static_cast<Loop*>(self)->streamChanged(s); }, this);
        // The whole sound is written at once and held by the server; the
        // device is asked for a short latency, so the sound starts at once and
        // the server's word that it has taken the last sample comes about
        // when it is heard.
        const auto bytes = std::uint32_t(pcm.samples.size());
        const auto target = std::uint32_t(pa_usec_to_bytes(kTargetLatencyUsec, &spec));
        pa_buffer_attr attr{std::max(bytes, target), target, std::min(bytes, target), std::uint32_t(-1),
                            std::uint32_t(-1)};
        if (pa_stream_connect_playback(m_starting, nullptr, &attr, PA_STREAM_ADJUST_LATENCY, nullptr, nullptr) < 0) {
            dropStream(m_starting);
            return;
        }
        awaitAnswer();
    }

    void streamChanged(pa_stream* s)
    {
        const pa_stream_state_t state = pa_stream_get_state(s);
        if (s == m_starting && state == PA_STREAM_READY) {
            answered();
            endPlaying();
            m_playing = std::exchange(m_starting, nullptr);
            const QByteArrayView samples = m_heard[std::size_t(m_startingIndex)].samples;
            pa_stream_write(s, samples.constData(), std::size_t(samples.size()), nullptr, 0, PA_SEEK_RELATIVE);
            // Once played out, the stream goes, so an idle server can rest its device.
            pa_operation* drained = pa_stream_drain(
                s, [](pa_stream* played, int, void* self) { static_cast<Loop*>(self)->playedOut(played); }, this);
            if (drained)
                pa_operation_unref(drained);
        } else if (state == PA_STREAM_FAILED || state == PA_STREAM_TERMINATED) {
            // Refused, or its device went away with no other to move it to.
            if (s == m_starting)
                dropStream(m_starting);
            else if (s == m_playing)
                endPlaying();
        }
    }

    // The server has taken the last sample, but the device has yet to play
    // what it holds: ending the stream now would cut that off. So it ends
    // once the device's latency has passed.
    void playedOut(pa_stream* s)
    {
        if (s != m_playing)
            return;
        pa_operation* timing = pa_stream_update_timing_info(
            s,
            [](pa_stream* played, int, void* self) {
                auto* loop = static_cast<Loop*>(self);
                if (played != loop->m_playing)
                    return;
                pa_usec_t held = kLatencyUnknownUsec;
                int negative = 0;
                if (pa_stream_get_latency(played, &held, &negative) < 0 || negative)
                    held = kLatencyUnknownUsec;
                timeval at;
                pa_timeval_add(pa_gettimeofday(&at), held + kLatencyMarginUsec);
                loop->m_playOutTimer = loop->api()->time_new(
                    loop->api(), &at,
                    [](pa_mainloop_api*, pa_time_event*, const timeval*, void* self) {
                        static_cast<Loop*>(self)->endPlaying();
                    },
                    loop);
            },
            this);
        if (timing)
            pa_operation_unref(timing);
    }

    void endPlaying()
    {
        if (m_playOutTimer)
            api()->time_free(m_playOutTimer);
        m_playOutTimer = nullptr;
        dropStream(m_playing);
    }

    static void dropStream(pa_stream*& s)
    {
        if (!s)
            return;
        if (pa_stream_get_state(s) == PA_STREAM_CREATING) {
            // Not yet made by the server, so not yet to be ended: it is ended
            // once made, and let go when it has ended.
            pa_stream_set_state_callback(s, [](pa_stream* late, void*) {
                const pa_stream_state_t state = pa_stream_get_state(late);
                if (state == PA_STREAM_READY) {
                    pa_stream_disconnect(late);
                } else if (state == PA_STREAM_FAILED || state == PA_STREAM_TERMINATED) {
                    pa_stream_set_state_callback(late, nullptr, nullptr);
                    pa_stream_unref(late);
                }
            }, nullptr);
            s = nullptr;
            return;
        }
        pa_stream_set_state_callback(s, nullptr, nullptr);
        if (pa_stream_get_state(s) == PA_STREAM_READY)
            pa_stream_disconnect(s);
        pa_stream_unref(s);
        s = nullptr;
    }

    void dropConnection()
    {
        answered();
        dropStream(m_starting);
        endPlaying();
        if (!m_context)
            return;
        pa_context_set_state_callback(m_context, nullptr, nullptr);
        pa_context_disconnect(m_context);
        pa_context_unref(m_context);
        m_context = nullptr;
    }

    // A server that stops answering is dropped rather than waited for, and
    // nothing piles up for it meanwhile.
    void awaitAnswer()
    {
        answered();
        timeval at;
        pa_timeval_add(pa_gettimeofday(&at), kAnswerUsec);
        m_answerTimer = api()->time_new(
            api(), &at,
            [](pa_mainloop_api*, pa_time_event*, const timeval*, void* self) {
                static_cast<Loop*>(self)->dropConnection();
            },
            this);
    }

    void answered()
    {
        if (m_answerTimer)
            api()->time_free(m_answerTimer);
        m_answerTimer = nullptr;
    }

    const std::array<Pcm, kSoundCount> m_sounds;
    pa_mainloop* const m_mainloop;
    const int m_wake;  // an eventfd: the game thread's requests wake the loop
    std::thread m_thread;
    std::atomic<std::uint64_t> m_request{0};  // time in ms << kWhatBits | what
    std::atomic<bool> m_quit{false};
    std::atomic<int> m_level{kLoudest};
    std::mutex m_doneMutex;
    std::condition_variable m_doneChanged;
    bool m_done = false;

    // The sound thread's own.
    std::array<Pcm, kSoundCount> m_heard;  // m_sounds at m_heardLevel
    int m_heardLevel = -1;
    pa_context* m_context = nullptr;
    pa_stream* m_starting = nullptr;
    pa_stream* m_playing = nullptr;
    int m_startingIndex = 0;
    pa_time_event* m_answerTimer = nullptr;
    pa_time_event* m_playOutTimer = nullptr;
    int m_pending = kNothing;
    Clock::time_point m_pendingAt;
};

namespace {

std::array<Pcm, kSoundCount> readSounds(const std::array<QString, kSoundCount>& files)
{
    std::array<Pcm, kSoundCount> sounds;
    for (std::size_t i = 0; i < files.size(); ++i) {
        QByteArray bytes;
        if (readEmbedded(files[i], &bytes))
            sounds[i] = readWav(bytes);
    }
    return sounds;
}

}  // namespace

QByteArray samplesAtLevel(QByteArrayView samples, int level)
{
    const double x = std::clamp(level, 0, kLoudest) / double(kLoudest);
    const double gain = x * x * x;
    QByteArray out(samples.size() & ~qsizetype(1), Qt::Uninitialized);
    for (qsizetype i = 0; i + 1 < samples.size(); i += 2) {
        // Little-endian, as the WAV file and the stream have them.
        const auto sample = std::int16_t(std::uint8_t(samples[i]) | std::uint8_t(samples[i + 1]) << 8);
        const auto scaled = std::uint16_t(std::lround(sample * gain));
        out[i] = char(scaled & 0xff);
        out[i + 1] = char(scaled >> 8);
    }
    return out;
}

PulseSound::PulseSound(const std::array<QString, kSoundCount>& files) : m_loop(new Loop(readSounds(files))) {}

PulseSound::~PulseSound()
{
    if (m_loop->stop())
        delete m_loop;
}

void PulseSound::play(SoundId sound) { m_loop->request(int(sound) + 1); }

void PulseSound::setLevel(int level) { m_loop->setLevel(level); }

void PulseSound::connect() { m_loop->request(kConnectOnly); }

}  // namespace zephyra
