// The JPEG decoder: any bytes either decode to a picture of a sane size or
// raise an Error; nothing else may happen.
#include "app/services.h"
#include "assets/decode.h"

#include <QByteArray>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        const QImage picture = zephyra::decodeJpeg(bytes, QStringLiteral("fuzz"));
        if (picture.isNull() || picture.width() > 16384 || picture.height() > 16384)
            __builtin_trap();
        // Read every pixel, so a short buffer shows.
        volatile unsigned sum = 0;
        for (int y = 0; y < picture.height(); ++y)
            sum = sum + picture.constScanLine(y)[picture.bytesPerLine() - 1];
    } catch (const zephyra::Error&) {
    }
    return 0;
}
