#pragma once
// PNG and JPEG decoding through libpng and libjpeg, into QImage. The decoders
// never trust their input: a corrupt or truncated picture raises an Error that
// names it instead of crashing.

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

namespace zephyra {

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
QImage loadPicture(const QString& resourcePath);
// For a picture stretched over fillSize device pixels: decodes the smallest
// variant that covers it (or the largest there is), reduced while decoding as
// far as it still covers. The image has ratio 1; the caller scales it.
QImage loadPicture(const QString& resourcePath, QSize fillSize);
// Decodes a picture the same way and lets it go again; Error when it cannot be.
void checkPicture(const QString& path);
// The error message of the first picture in the folder (by name) that cannot
// be decoded, or an empty text when every one can.
QString firstDamagedPicture(const QString& folder);

}  // namespace zephyra
