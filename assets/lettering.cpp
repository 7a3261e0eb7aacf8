#include "assets/lettering.h"

#include <QFile>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QRawFont>
#include <QTextLayout>

#include <cmath>

namespace zephyra {

namespace {

QString displayFamily()
{
    // Registered once, on first use: a game that never shows a worded
    // picture never loads it.
    static const QString family = [] {
        QFile file(QStringLiteral(":/fonts/eurofurence-bold.ttf"));
        if (!file.open(QIODevice::ReadOnly))
            return QString();
        const int id = QFontDatabase::addApplicationFontFromData(file.readAll());
        return id < 0 ? QString() : QFontDatabase::applicationFontFamilies(id).value(0);
    }();
    return family;
}

QFont outlineFont(const QString& family, int pixelSize, bool bold)
{
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    // The art's renderer draws plain outlines; hinting would bend them to
    // this size's pixel grid, which the picture's pixels are not.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferOutline);
    return font;
}

// Softens a layer as a Gaussian of the given deviation (in its pixels) would:
// a box average down and a linear ramp back up come close enough for a shadow.
QImage blurred(const QImage& layer, qreal deviation)
{
    const int step = std::max(1, qRound(2 * deviation));
    if (step == 1)
        return layer;
    const QSize small((layer.width() + step - 1) / step, (layer.height() + step - 1) / step);
    return layer.scaled(small, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .scaled(layer.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// The line laid out with the face's own advances, not ones rounded to this
// size's pixels, so it runs as long as the art's renderer draws it.
struct Line {
    QPainterPath path;  // its baseline's start at (0, 0)
    qreal width = 0;
};

Line layOut(const Words& words)
{
    QTextLayout layout(words.text, words.font);
    QTextOption option;
    option.setUseDesignMetrics(true);
    layout.setTextOption(option);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    Line out;
    out.width = line.naturalTextWidth();
    for (const QGlyphRun& run : layout.glyphRuns()) {
        const QRawFont face = run.rawFont();
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> places = run.positions();
        for (qsizetype i = 0; i < glyphs.size(); ++i)
            out.path.addPath(face.pathForGlyph(glyphs[i]).translated(places[i] - QPointF(0, line.ascent())));
    }
    return out;
}

QPainterPath strokeOf(const QPainterPath& path, qreal width)
{
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setJoinStyle(Qt::RoundJoin);
    stroker.setCapStyle(Qt::RoundCap);
    return stroker.createStroke(path);
}

void drawShadow(QPainter& painter, const Words& words, const QPainterPath& path, const QTransform& toDevice)
{
    const QTransform place = QTransform::fromTranslate(words.shadowOffset.x(), words.shadowOffset.y()) * toDevice;
    const QPainterPath body = place.map(path);
    const QPainterPath edge = words.shadowOutline > 0 ? place.map(strokeOf(path, words.shadowOutline)) : QPainterPath();
    const qreal deviation = words.shadowBlur * std::abs(toDevice.m22());
    const int margin = int(std::ceil(3 * deviation)) + 1;
    const QRect box = body.boundingRect().united(edge.boundingRect()).toAlignedRect().adjusted(-margin, -margin,
                                                                                             margin, margin);
    // Body and edge are one shape in one colour; its opacity is the whole's.
    QImage layer(box.size(), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    {
        QPainter p(&layer);
        p.setRenderHint(QPainter::Antialiasing);
        p.translate(-box.topLeft());
        p.fillPath(body, words.shadow);
        p.fillPath(edge, words.shadow);
    }
    painter.save();
    painter.setOpacity(words.shadowOpacity);
    painter.drawImage(box.topLeft(), blurred(layer, deviation));
    painter.restore();
}

}  // namespace

QFont displayFont(int pixelSize) { return outlineFont(displayFamily(), pixelSize, true); }

QFont plainFont(int pixelSize, bool bold) { return outlineFont(QStringLiteral("DejaVu Sans"), pixelSize, bold); }

qreal wordsWidth(const Words& words) { return layOut(words).width; }

void drawWords(QImage& picture, QSizeF drawing, const std::vector<Words>& lines)
{
    if (picture.isNull() || drawing.isEmpty())
        return;
    // Drawn in the picture's own pixels, whatever density it is marked with.
    const qreal ratio = picture.devicePixelRatio();
    picture.setDevicePixelRatio(1);
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        const QTransform scale = QTransform::fromScale(picture.width() / drawing.width(),
                                                       picture.height() / drawing.height());
        for (const Words& words : lines) {
            const Line line = layOut(words);
            const qreal narrowed = words.maxWidth > 0 && line.width > words.maxWidth ? words.maxWidth / line.width : 1.0;
            const qreal left = words.centred ? words.baseline.x() - line.width * narrowed / 2 : words.baseline.x();
            const QTransform place =
                QTransform::fromScale(narrowed, 1) * QTransform::fromTranslate(left, words.baseline.y());
            const QPainterPath path = place.map(line.path);
            if (words.shadow.isValid())
                drawShadow(painter, words, path, scale);
            if (words.outline.isValid() && words.outlineWidth > 0)
                painter.fillPath(scale.map(strokeOf(path, words.outlineWidth)), words.outline);
            painter.fillPath(scale.map(path), words.fill);
        }
    }
    picture.setDevicePixelRatio(ratio);
}

}  // namespace zephyra
