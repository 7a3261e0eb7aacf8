// How soon a sound asked for is heard, and whether it is heard whole: the
// game's sound output plays into the default device of the sound server it
// finds (run it through tests/with-pulse.sh for a private one), whose monitor
// this program records. Prints the latency from a pop's request to its first
// sample on the monitor (median, 90th percentile, max over the pops) and the
// fanfare's heard length against the file's own.
// Usage: with-pulse.sh build/sound_latency [pops]
#include "assets/decode.h"
#include "platform/sound.h"

#include <QCoreApplication>
#include <QTimer>

#include <pulse/error.h>
#include <pulse/simple.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRate = 44100;
constexpr int kChunk = kRate / 200;  // 5 ms
constexpr int kLoud = 600;           // about -35 dBFS

double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Loud 5 ms chunks of the default device's monitor, by arrival time.
class Monitor {
public:
    Monitor()
    {
        m_thread = std::thread([this] {
            const pa_sample_spec spec{PA_SAMPLE_S16LE, kRate, 1};
            const pa_buffer_attr attr{std::uint32_t(-1), 0, 0, 0, kChunk * 2};
            int error = 0;
            pa_simple* s = pa_simple_new(nullptr, "sound_latency", PA_STREAM_RECORD, "@DEFAULT_MONITOR@",
                                         "monitor", &spec, nullptr, &attr, &error);
            if (!s) {
                std::fprintf(stderr, "cannot record the monitor: %s\n", pa_strerror(error));
                std::exit(1);
            }
            std::int16_t chunk[kChunk];
            while (!m_quit && pa_simple_read(s, chunk, sizeof chunk, &error) == 0) {
                m_recording = true;
                const bool loud = std::any_of(chunk, chunk + kChunk, [](std::int16_t v) { return std::abs(v) > kLoud; });
                if (loud) {
                    std::lock_guard lock(m_mutex);
                    m_loud.push_back(Clock::now());
                }
            }
            pa_simple_free(s);
        });
    }
    ~Monitor()
    {
        m_quit = true;
        m_thread.join();
    }
    bool recording() const { return m_recording; }
    std::vector<Clock::time_point> loud()
    {
        std::lock_guard lock(m_mutex);
        return m_loud;
    }

private:
    std::thread m_thread;
    std::atomic<bool> m_quit{false};
    std::atomic<bool> m_recording{false};
    std::mutex m_mutex;
    std::vector<Clock::time_point> m_loud;
};

void wait(int msecs)
{
    QTimer::singleShot(msecs, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
}

// Seconds from the first to the last loud sample of a sound file.
double audibleSeconds(const QString& path)
{
    QByteArray bytes;
    zephyra::readEmbedded(path, &bytes);
    const zephyra::Pcm pcm = zephyra::readWav(bytes);
    const auto* v = reinterpret_cast<const std::int16_t*>(pcm.samples.data());
    const qsizetype n = pcm.samples.size() / 2;
    qsizetype first = -1, last = -1;
    for (qsizetype i = 0; i < n; ++i)
        if (std::abs(v[i]) > kLoud) {
            if (first < 0)
                first = i;
            last = i;
        }
    return first < 0 ? 0.0 : double(last - first) / pcm.channels / pcm.rate;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int pops = argc > 1 ? std::atoi(argv[1]) : 20;
    Monitor monitor;
    zephyra::PulseSound sound;
    sound.connect();
    while (!monitor.recording())
        wait(100);
    wait(500);

    std::vector<double> latencies;
    for (int i = 0; i < pops; ++i) {
        const auto asked = Clock::now();
        sound.play(zephyra::SoundId::Pop);
        wait(700);  // the pop is over by then
        for (const auto t : monitor.loud())
            if (t >= asked) {
                latencies.push_back(ms(t - asked));
                break;
            }
    }
    std::sort(latencies.begin(), latencies.end());
    if (latencies.empty()) {
        std::printf("no pop heard\n");
        return 1;
    }
    std::printf("pop latency over %zu of %d pops heard: median %.1f ms, p90 %.1f ms, max %.1f ms\n",
                latencies.size(), pops, latencies[latencies.size() / 2], latencies[latencies.size() * 9 / 10],
                latencies.back());

    const auto asked = Clock::now();
    sound.play(zephyra::SoundId::Prize);
    wait(5000);
    std::vector<Clock::time_point> loud;
    for (const auto t : monitor.loud())
        if (t >= asked)
            loud.push_back(t);
    const double heard = loud.empty() ? 0.0 : ms(loud.back() - loud.front()) / 1000.0;
    std::printf("fanfare heard for %.2f s of its %.2f s\n", heard,
                audibleSeconds(QStringLiteral(":/sounds/prize.wav")));
    return 0;
}
