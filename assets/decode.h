#pragma once
// PNG and JPEG decoding through libpng and libjpeg, into QImage. The decoders
// never trust their input: a corrupt or truncated picture raises an Error that
// names it instead of crashing.

#include <QByteArray>
#include <QImage>
#include <QString>

namespace zephyra {

// 8-bit RGBA with its alpha channel kept (premultiplied for fast drawing).
QImage decodePng(const QByteArray& data, const QString& name);
// 24-bit colour.
QImage decodeJpeg(const QByteArray& data, const QString& name);
// Reads an embedded picture (":/pictures/...") and decodes it by its extension.
QImage loadPicture(const QString& resourcePath);
// Decodes a picture the same way and lets it go again; Error when it cannot be.
void checkPicture(const QString& path);
// The error message of the first picture in the folder (by name) that cannot
// be decoded, or an empty text when every one can.
QString firstDamagedPicture(const QString& folder);

}  // namespace zephyra
