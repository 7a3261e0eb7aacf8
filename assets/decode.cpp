#include "assets/decode.h"

#include "app/services.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

namespace zephyra {

namespace {

// Larger pictures than this are refused before any allocation: none of ours
// comes near it, and a forged header must not make us reserve gigabytes.
constexpr quint32 kMaxSide = 16384;

[[noreturn]] void fail(const QString& name, const QString& why)
{
    throw Error(QStringLiteral("Cannot decode picture '%1': %2").arg(name, why));
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

// Plain C state only between setjmp and longjmp, so no destructor is skipped.
bool decodeJpegInto(const unsigned char* bytes, unsigned long size, QImage* out, char* why,
                    std::size_t whySize)
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
#if defined(JCS_EXTENSIONS) && Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    // Straight into Qt's 32-bit layout: no second full-size copy to convert.
    info.out_color_space = JCS_EXT_BGRX;
    const QImage::Format format = QImage::Format_RGB32;
#else
    info.out_color_space = JCS_RGB;
    const QImage::Format format = QImage::Format_RGB888;
#endif
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
void decodeJpegStream(const QByteArray& data, const QString& name, QImage* out)
{
    if (data.isEmpty())
        fail(name, QStringLiteral("no data"));
    char why[JMSG_LENGTH_MAX + 64] = {};
    if (!decodeJpegInto(reinterpret_cast<const unsigned char*>(data.constData()),
                        static_cast<unsigned long>(data.size()), out, why, sizeof why))
        fail(name, QString::fromLocal8Bit(why));
}

QByteArray readPicture(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Cannot find picture '%1'").arg(path));
    return file.readAll();
}

bool isJpeg(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg");
}

}  // namespace

QImage decodeJpeg(const QByteArray& data, const QString& name)
{
    QImage out;
    decodeJpegStream(data, name, &out);
    return out.format() == QImage::Format_RGB32 ? out : out.convertToFormat(QImage::Format_RGB32);
}

QImage loadPicture(const QString& resourcePath)
{
    const QByteArray bytes = readPicture(resourcePath);
    return isJpeg(resourcePath) ? decodeJpeg(bytes, resourcePath) : decodePng(bytes, resourcePath);
}

void checkPicture(const QString& path)
{
    const QByteArray bytes = readPicture(path);
    if (isJpeg(path))
        decodeJpegStream(bytes, path, nullptr);
    else
        decodePng(bytes, path);
}

QString firstDamagedPicture(const QString& folder)
{
    const QStringList names = QDir(folder).entryList(
        {QStringLiteral("*.png"), QStringLiteral("*.jpg")}, QDir::Files, QDir::Name);
    for (const QString& name : names) {
        try {
            checkPicture(folder + QLatin1Char('/') + name);
        } catch (const Error& e) {
            return e.message();
        }
    }
    return {};
}

}  // namespace zephyra
