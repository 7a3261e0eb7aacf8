#pragma once
// PNG and JPEG decoding through libpng and libjpeg, into QImage. The decoders
// never trust their input: a corrupt or truncated picture raises an Error that
// names it instead of crashing.

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

#include <stop_token>

namespace zephyra {

// The bytes of a file, embedded (":/...") or not; false when there is none.
// An embedded file stored uncompressed is used where it lies in the
// executable, without a copy (then inExecutable is set).
bool readEmbedded(const QString& path, QByteArray* bytes, bool* inExecutable = nullptr);

// The 16-bit PCM samples of a WAV file, interleaved as stored, where they lie
// in the file's bytes (shared, not copied).
struct Pcm {
    int rate = 0;
    int channels = 0;
    QByteArray file;
    QByteArrayView samples;
};
// The samples of a 16-bit PCM WAV file; empty (no channels) when the bytes
// are not one. A cut-off file gives the whole frames it holds.
Pcm readWav(const QByteArray& file);

// 8-bit RGBA with its alpha channel kept (premultiplied for fast drawing).
QImage decodePng(const QByteArray& data, const QString& name);
// 24-bit colour. Given a size, the picture is reduced while it is decoded to
// the smallest eighth of its size that still covers that size in both
// directions (never enlarged): a reduced decode is quicker and far smaller.
QImage decodeJpeg(const QByteArray& data, const QString& name, QSize atLeast = QSize());
// Reads an embedded picture (":/pictures/...") and decodes it by its extension,
// for drawing at its own size. On a high-density screen (the application's
// device pixel ratio above 1) it decodes the NAME@2x variant instead and marks
// the image with that ratio, so it keeps its logical size and draws sharp.
// Never larger than twice the largest screen in device pixels: beyond that it
// is reduced and marked with the lower ratio, keeping its logical size.
QImage loadPicture(const QString& resourcePath);
// For a picture stretched over fillSize device pixels: decodes the smallest
// variant that covers it (or the largest there is), reduced while decoding as
// far as it still covers. The image has ratio 1; the caller scales it.
QImage loadPicture(const QString& resourcePath, QSize fillSize);
// Decodes a picture the same way and lets it go again; Error when it cannot be.
void checkPicture(const QString& path);
// The pictures (PNG, JPEG) of a folder, by name, without its subfolders.
QStringList picturesIn(const QString& folder);
// The error message of the first of the pictures that cannot be decoded, or
// an empty text when every one can. Once stop is requested it ends after the
// picture in hand, with an empty text.
QString firstDamagedPicture(const QStringList& paths, std::stop_token stop = {});
inline QString firstDamagedPicture(const QString& folder, std::stop_token stop = {})
{
    return firstDamagedPicture(picturesIn(folder), stop);
}

}  // namespace zephyra
