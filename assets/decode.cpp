#include "assets/decode.h"

#include "base/error.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QResource>
#include <QScreen>
#include <QtEndian>

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace zephyra {

namespace {

// Larger pictures than this are refused before any allocation: none of ours
// comes near it, and a forged header must not make us reserve gigabytes.
constexpr quint32 kMaxSide = 16384;

[[noreturn]] void fail(const QString& name, const QString& why)
{
    throw Error(QCoreApplication::translate("zephyra", "Cannot decode picture '%1': %2").arg(name, why));
}

struct JpegErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void jpegErrorExit(j_common_ptr info)
{
    auto* err = reinterpret_cast<JpegErrorManager*>(info->err);
    (*info->err->format_message)(info, err->message);
    std::longjmp(err->jump, 1);
}

// libjpeg only warns about a truncated or damaged stream and fills the rest
// with grey; for our pictures that is as fatal as an error.
void jpegWarningIsFatal(j_common_ptr info, int level)
{
    if (level < 0)
        jpegErrorExit(info);
}

// libjpeg reduces by n/8 while decoding; the smallest n whose result still
// covers the wanted size, or 8 (full size) when nothing smaller does.
unsigned reducedEighths(unsigned width, unsigned height, QSize atLeast)
{
    if (!atLeast.isValid())
        return 8;
    for (unsigned n = 1; n < 8; ++n) {
        // libjpeg rounds the reduced size up.
        const unsigned w = (width * n + 7) / 8, h = (height * n + 7) / 8;
        if (w >= static_cast<unsigned>(atLeast.width()) && h >= static_cast<unsigned>(atLeast.height()))
            return n;
    }
    return 8;
}

// Plain C state only between setjmp and longjmp, so no destructor is skipped.
// With a header size to fill, reads no further than the header.
bool decodeJpegInto(const unsigned char* bytes, unsigned long size, QSize atLeast, QImage* out,
                    char* why, std::size_t whySize, QSize* headerSize = nullptr)
{
    jpeg_decompress_struct info;
    JpegErrorManager err;
    std::memset(&info, 0, sizeof info);
    info.err = jpeg_std_error(&err.base);
    err.base.error_exit = jpegErrorExit;
    err.base.emit_message = jpegWarningIsFatal;
    err.message[0] = '\0';
    if (setjmp(err.jump)) {
        std::snprintf(why, whySize, "%s", err.message);
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes, size);
    jpeg_read_header(&info, TRUE);
    if (info.image_width == 0 || info.image_height == 0 || info.image_width > kMaxSide
        || info.image_height > kMaxSide) {
        std::snprintf(why, whySize, "unsupported size %ux%u", info.image_width, info.image_height);
        jpeg_destroy_decompress(&info);
        return false;
    }
    if (headerSize) {
        *headerSize = QSize(static_cast<int>(info.image_width), static_cast<int>(info.image_height));
        jpeg_destroy_decompress(&info);
        return true;
    }
#if defined(JCS_EXTENSIONS) && Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    // Straight into Qt's 32-bit layout: no second full-size copy to convert.
    info.out_color_space = JCS_EXT_BGRX;
    const QImage::Format format = QImage::Format_RGB32;
#else
    info.out_color_space = JCS_RGB;
    const QImage::Format format = QImage::Format_RGB888;
#endif
    info.scale_num = reducedEighths(info.image_width, info.image_height, atLeast);
    info.scale_denom = 8;
    jpeg_start_decompress(&info);
    // Without an image to fill, every row goes through one scratch row: the
    // whole stream is decoded and checked, and nothing of it is kept.
    JSAMPARRAY scratch = nullptr;
    if (out) {
        *out = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height), format);
        if (out->isNull()) {
            std::snprintf(why, whySize, "out of memory");
            jpeg_destroy_decompress(&info);
            return false;
        }
    } else {
        scratch = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                            info.output_width * JDIMENSION(info.output_components), 1);
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out ? out->scanLine(static_cast<int>(info.output_scanline)) : scratch[0];
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

}  // namespace

QImage decodePng(const QByteArray& data, const QString& name)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data.constData(),
                                          static_cast<png_size_t>(data.size())))
        fail(name, QString::fromLatin1(image.message));
    if (image.width == 0 || image.height == 0 || image.width > kMaxSide || image.height > kMaxSide) {
        png_image_free(&image);
        fail(name, QStringLiteral("unsupported size %1x%2").arg(image.width).arg(image.height));
    }
    image.format = PNG_FORMAT_RGBA;
    QImage out(static_cast<int>(image.width), static_cast<int>(image.height),
               QImage::Format_RGBA8888);
    if (out.isNull()) {
        png_image_free(&image);
        fail(name, QStringLiteral("out of memory"));
    }
    if (!png_image_finish_read(&image, nullptr, out.bits(),
                               static_cast<png_int_32>(out.bytesPerLine()), nullptr))
        fail(name, QString::fromLatin1(image.message));
    return out.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

namespace {

// Decodes a JPEG stream into out, or with no out only checks all of it.
void decodeJpegStream(const QByteArray& data, const QString& name, QImage* out, QSize atLeast = QSize())
{
    if (data.isEmpty())
        fail(name, QStringLiteral("no data"));
    char why[JMSG_LENGTH_MAX + 64] = {};
    if (!decodeJpegInto(reinterpret_cast<const unsigned char*>(data.constData()),
                        static_cast<unsigned long>(data.size()), atLeast, out, why, sizeof why))
        fail(name, QString::fromLocal8Bit(why));
}

}  // namespace

QImage decodeJpeg(const QByteArray& data, const QString& name, QSize atLeast)
{
    QImage out;
    decodeJpegStream(data, name, &out, atLeast);
    return out.format() == QImage::Format_RGB32 ? out : out.convertToFormat(QImage::Format_RGB32);
}

bool readEmbedded(const QString& path, QByteArray* bytes, bool* inExecutable)
{
    // Embedded files are stored uncompressed in the executable: they are used
    // where they lie, without a copy, and only the pages read become resident.
    const QResource resource(path);
    if (resource.isValid() && resource.compressionAlgorithm() == QResource::NoCompression
        && resource.data()) {
        *bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(resource.data()),
                                         static_cast<qsizetype>(resource.size()));
        if (inExecutable)
            *inExecutable = true;
        return true;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *bytes = file.readAll();
    if (inExecutable)
        *inExecutable = false;
    return true;
}

namespace {

struct Stored {
    QByteArray bytes;
    bool inExecutable = false;  // bytes lie in the executable's mapped resources
};

Stored readPicture(const QString& resourcePath)
{
    Stored stored;
    if (!readEmbedded(resourcePath, &stored.bytes, &stored.inExecutable))
        throw Error(QCoreApplication::translate("zephyra", "Cannot find picture '%1'").arg(resourcePath));
    return stored;
}

bool isJpeg(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg");
}

// Once decoded, an embedded picture's bytes are not needed again soon: their
// pages of the executable go back (they are read from the file again if
// ever), so a large variant decoded once does not stay resident.
void releasePages(const Stored& stored)
{
#ifdef Q_OS_LINUX
    if (!stored.inExecutable)
        return;
    const QByteArray& bytes = stored.bytes;
    const auto page = static_cast<quintptr>(sysconf(_SC_PAGESIZE));
    const auto begin = (reinterpret_cast<quintptr>(bytes.constData()) + page - 1) & ~(page - 1);
    const auto end = (reinterpret_cast<quintptr>(bytes.constData()) + bytes.size()) & ~(page - 1);
    if (end > begin)
        madvise(reinterpret_cast<void*>(begin), end - begin, MADV_DONTNEED);
#else
    Q_UNUSED(stored);
#endif
}

QImage decodeByName(const QString& path, QSize atLeast = QSize())
{
    const Stored stored = readPicture(path);
    QImage image = isJpeg(path) ? decodeJpeg(stored.bytes, path, atLeast)
                                : decodePng(stored.bytes, path);
    releasePages(stored);
    return image;
}

// "a/name.png" -> "a/name@2x.png"
QString doubleDensityPath(const QString& path)
{
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? path + QLatin1String("@2x") : path.left(dot) + QLatin1String("@2x") + path.mid(dot);
}

// The highest device pixel ratio of all screens: a picture decoded once is
// shown on whichever screen the window is on.
qreal applicationPixelRatio()
{
    const auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    return app ? app->devicePixelRatio() : 1.0;
}

// Twice the largest screen in device pixels: more would only be reduced again
// when drawn, and a large scale factor must not make us reserve gigabytes.
QSize largestPictureSize()
{
    QSize largest(kMaxSide, kMaxSide);
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        QSizeF screens;
        for (const QScreen* screen : QGuiApplication::screens())
            screens = screens.expandedTo(QSizeF(screen->size()) * screen->devicePixelRatio());
        if (!screens.isEmpty())
            largest = largest.boundedTo((screens * 2).toSize());
    }
    return largest;
}

// The pixel size of a picture, read from its header alone.
QSize storedSize(const QString& path)
{
    const QByteArray bytes = readPicture(path).bytes;
    if (isJpeg(path)) {
        QSize size;
        char why[JMSG_LENGTH_MAX + 64] = {};
        if (!decodeJpegInto(reinterpret_cast<const unsigned char*>(bytes.constData()),
                            static_cast<unsigned long>(bytes.size()), QSize(), nullptr, why,
                            sizeof why, &size))
            fail(path, QString::fromLocal8Bit(why));
        return size;
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.constData(),
                                          static_cast<png_size_t>(bytes.size())))
        fail(path, QString::fromLatin1(image.message));
    png_image_free(&image);
    return QSize(static_cast<int>(image.width), static_cast<int>(image.height));
}

}  // namespace

QImage loadPicture(const QString& resourcePath)
{
    const qreal ratio = applicationPixelRatio();
    const QString sharp = doubleDensityPath(resourcePath);
    const bool useSharp = ratio > 1.0 && QFile::exists(sharp);
    QImage image = decodeByName(useSharp ? sharp : resourcePath);
    const QSize logical = useSharp ? image.size() / 2 : image.size();
    // Other densities get their exact pixel size once, here, so painting
    // never resamples.
    QSize device = useSharp ? QSize(qRound(logical.width() * ratio), qRound(logical.height() * ratio)) : logical;
    qreal deviceRatio = useSharp ? ratio : 1.0;
    const QSize limit = largestPictureSize();
    if (device.width() > limit.width() || device.height() > limit.height()) {
        device = device.scaled(limit, Qt::KeepAspectRatio);
        deviceRatio = qreal(device.width()) / logical.width();
    }
    if (image.size() != device)
        image = image.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    image.setDevicePixelRatio(deviceRatio);
    return image;
}

QImage loadPicture(const QString& resourcePath, QSize fillSize)
{
    // Only the variant in use is decoded: the larger one only where the
    // catalogue's picture would have to be enlarged.
    const QString sharp = doubleDensityPath(resourcePath);
    QString chosen = resourcePath;
    if (fillSize.isValid() && QFile::exists(sharp)) {
        const QSize stored = storedSize(resourcePath);
        if (fillSize.width() > stored.width() || fillSize.height() > stored.height())
            chosen = sharp;
    }
    return decodeByName(chosen, fillSize);
}

void checkPicture(const QString& path)
{
    const Stored stored = readPicture(path);
    // Reduced to an eighth, a JPEG is still read to its end, so damage shows;
    // the large backgrounds cost a fraction of a full decode.
    if (isJpeg(path))
        decodeJpegStream(stored.bytes, path, nullptr, QSize(1, 1));
    else
        decodePng(stored.bytes, path);
    releasePages(stored);
}

QStringList picturesIn(const QString& folder)
{
    const QStringList names = QDir(folder).entryList(
        {QStringLiteral("*.png"), QStringLiteral("*.jpg")}, QDir::Files, QDir::Name);
    QStringList paths;
    for (const QString& name : names)
        paths << folder + QLatin1Char('/') + name;
    return paths;
}

QString firstDamagedPicture(const QStringList& paths, std::stop_token stop)
{
    // Asked between pictures: the longest of ours takes some 30 ms.
    for (const QString& path : paths) {
        if (stop.stop_requested())
            return {};
        try {
            checkPicture(path);
        } catch (const Error& e) {
            return e.message();
        }
    }
    return {};
}

namespace {

// The most a sound server takes.
constexpr int kMaxChannels = 32;
constexpr int kMaxRate = 384000;

}  // namespace

Pcm readWav(const QByteArray& file)
{
    const auto u16 = [&](qsizetype at) { return qFromLittleEndian<quint16>(file.constData() + at); };
    const auto u32 = [&](qsizetype at) { return qFromLittleEndian<quint32>(file.constData() + at); };
    if (file.size() < 12 || !file.startsWith("RIFF") || file.mid(8, 4) != "WAVE")
        return {};
    Pcm pcm;
    int bits = 0;
    int format = 0;
    qsizetype at = 12;
    while (at + 8 <= file.size()) {
        const QByteArray id = file.mid(at, 4);
        const qint64 size = u32(at + 4);
        const qsizetype body = at + 8;
        if (id == "fmt " && size >= 16 && body + 16 <= file.size()) {
            format = u16(body);
            pcm.channels = u16(body + 2);
            pcm.rate = int(u32(body + 4));
            bits = u16(body + 14);
        } else if (id == "data") {
            // A cut-off file keeps what it holds, in whole frames.
            const qint64 held = std::min<qint64>(size, file.size() - body);
            const bool playable = format == 1 && bits == 16 && pcm.channels >= 1
                                  && pcm.channels <= kMaxChannels && pcm.rate > 0
                                  && pcm.rate <= kMaxRate;
            if (!playable)
                return {};
            const qint64 frame = 2 * pcm.channels;
            if (held < frame)
                return {};
            pcm.file = file;
            pcm.samples = QByteArrayView(pcm.file).sliced(body, held - held % frame);
            return pcm;
        }
        at = body + size + (size & 1);  // chunks are padded to even length
    }
    return {};
}

}  // namespace zephyra
