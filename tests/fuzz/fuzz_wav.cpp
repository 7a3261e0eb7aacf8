// The sound reader: whatever the bytes, it reads nothing outside them, and
// what it gives is whole 16-bit frames at a rate a server takes.
#include "assets/decode.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const zephyra::Pcm pcm = zephyra::readWav(bytes);
    if (pcm.channels == 0) {
        if (!pcm.samples.isEmpty())
            __builtin_trap();
        return 0;
    }
    const char* first = pcm.samples.data();
    const bool inside = first >= pcm.file.constData()
                        && first + pcm.samples.size() <= pcm.file.constData() + pcm.file.size();
    if (!inside || pcm.samples.isEmpty() || pcm.samples.size() % (2 * pcm.channels) != 0 || pcm.rate <= 0)
        __builtin_trap();
    // Every sample read once, so the sanitizer sees one that lies astray.
    volatile unsigned sum = 0;
    for (char c : pcm.samples)
        sum = sum + static_cast<unsigned char>(c);
    return 0;
}
