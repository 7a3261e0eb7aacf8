#pragma once
// What both picture decoders must do with any bytes: decode to a picture of a
// sane size, or raise an Error; nothing else may happen.
#include "assets/decode.h"
#include "base/error.h"

#include <QByteArray>

#include <cstdint>

template <class Decode>
int fuzzDecoder(const std::uint8_t* data, std::size_t size, Decode decode)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        const QImage picture = decode(bytes, QStringLiteral("fuzz"));
        if (picture.isNull() || picture.width() > 16384 || picture.height() > 16384)
            __builtin_trap();
        // Read every row to its end, so a short buffer shows.
        volatile unsigned sum = 0;
        for (int y = 0; y < picture.height(); ++y)
            sum = sum + picture.constScanLine(y)[picture.bytesPerLine() - 1];
    } catch (const zephyra::Error&) {
    }
    return 0;
}
