// The PNG decoder.
#include "tests/fuzz/fuzz_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return fuzzDecoder(data, size, [](const QByteArray& b, const QString& n) { return zephyra::decodePng(b, n); });
}
