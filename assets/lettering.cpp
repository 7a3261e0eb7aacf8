#include "assets/lettering.h"

#include "assets/decode.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QLinearGradient>
#include <QPainter>
#include <QTextLayout>

#include <array>
#include <cmath>
#include <vector>

namespace zephyra {

namespace {

QString displayFamily()
{
    // Registered once, on first use, from where it lies in the executable:
    // only the pages of the letters drawn become resident.
    static const QString family = [] {
        QByteArray bytes;
        if (!readEmbedded(QStringLiteral(":/fonts/eurofurence-bold.ttf"), &bytes))
            return QString();
        const int id = QFontDatabase::addApplicationFontFromData(bytes);
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
// size's pixels, so it runs as long as the art's renderer draws it; its
// baseline starts at (0, 0).
struct Line {
    QList<QGlyphRun> runs;
    qreal width = 0;
    QRectF ink;
};

Line layOut(const Words& words)
{
    QTextLayout layout(words.text, words.font);
    QTextOption option;
    option.setUseDesignMetrics(true);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    line.setPosition(QPointF(0, -line.ascent()));
    return {layout.glyphRuns(), line.naturalTextWidth(), QFontMetricsF(words.font).tightBoundingRect(words.text)};
}

// Glyphs are drawn from the font's cache of rendered letters; an outline is
// the letters drawn once more all round them, which costs a fraction of
// stroking their outlines as paths.
void drawLine(QPainter& painter, const Line& line, const QBrush& brush, qreal outline)
{
    // Sixteen ways round, every 22.5 degrees.
    static constexpr qreal a = 0.92388, b = 0.70711, c = 0.38268;
    static constexpr std::array<QPointF, 16> kRound{{{1, 0}, {a, c}, {b, b}, {c, a}, {0, 1}, {-c, a}, {-b, b},
                                                     {-a, c}, {-1, 0}, {-a, -c}, {-b, -b}, {-c, -a}, {0, -1},
                                                     {c, -a}, {b, -b}, {a, -c}}};
    painter.setPen(QPen(brush, 0));
    std::vector<QPointF> places{{0, 0}};
    // An edge of two pixels or less needs eight ways round and no inner ring.
    const QTransform& device = painter.transform();
    const bool fine = outline / 2 * std::max(std::abs(device.m11()), std::abs(device.m22())) <= 2;
    if (outline > 0)
        for (const qreal reach : {outline / 2, outline / 4}) {
            for (std::size_t i = 0; i < kRound.size(); i += fine ? 2 : 1)
                places.push_back(kRound[i] * reach);
            if (fine)
                break;
        }
    for (const QPointF& at : places)
        for (const QGlyphRun& run : line.runs)
            painter.drawGlyphRun(at, run);
}

// A gradient given over the words' own box (as a drawing's fill of text is)
// spans the box of their ink.
QBrush fillOver(const QBrush& fill, const QRectF& ink)
{
    const auto* gradient = static_cast<const QLinearGradient*>(fill.gradient());
    if (!gradient || gradient->type() != QGradient::LinearGradient
        || gradient->coordinateMode() != QGradient::ObjectBoundingMode)
        return fill;
    const auto place = [&](QPointF f) { return ink.topLeft() + QPointF(f.x() * ink.width(), f.y() * ink.height()); };
    QLinearGradient spanned(place(gradient->start()), place(gradient->finalStop()));
    spanned.setStops(gradient->stops());
    return spanned;
}

void drawShadow(QPainter& painter, const Words& words, const Line& line, const QTransform& place)
{
    const QTransform toDevice = QTransform::fromTranslate(words.shadowOffset.x(), words.shadowOffset.y()) * place;
    const qreal deviation = words.shadowBlur * std::abs(toDevice.m22());
    const qreal reach = words.shadowOutline / 2 + 1;
    const int margin = int(std::ceil(3 * deviation)) + 1;
    const QRect box = toDevice.mapRect(line.ink.adjusted(-reach, -reach, reach, reach))
                          .toAlignedRect()
                          .adjusted(-margin, -margin, margin, margin);
    // Letters and edge are one shape in one colour; its opacity is the whole's.
    QImage layer(box.size(), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    {
        QPainter p(&layer);
        p.setTransform(toDevice * QTransform::fromTranslate(-box.left(), -box.top()));
        drawLine(p, line, words.shadow, words.shadowOutline);
    }
    painter.save();
    painter.resetTransform();
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
        const QTransform scale = QTransform::fromScale(picture.width() / drawing.width(),
                                                       picture.height() / drawing.height());
        for (const Words& words : lines) {
            const Line line = layOut(words);
            const qreal narrowed = words.maxWidth > 0 && line.width > words.maxWidth ? words.maxWidth / line.width : 1.0;
            const qreal left = words.centred ? words.baseline.x() - line.width * narrowed / 2 : words.baseline.x();
            const QTransform place =
                QTransform::fromScale(narrowed, 1) * QTransform::fromTranslate(left, words.baseline.y()) * scale;
            if (words.shadow.isValid())
                drawShadow(painter, words, line, place);
            painter.setTransform(place);
            if (words.outline.isValid() && words.outlineWidth > 0)
                drawLine(painter, line, words.outline, words.outlineWidth);
            drawLine(painter, line, fillOver(words.fill, line.ink), 0);
        }
    }
    picture.setDevicePixelRatio(ratio);
}

}  // namespace zephyra
