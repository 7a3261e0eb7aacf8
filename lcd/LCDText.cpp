#include "lcd/LCDText.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <cstring>

namespace mono {

QImage create(int width, int height)
{
    if (width <= 0 || height <= 0)
        return {};
    QImage image(width, height, QImage::Format_Mono);
    image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    image.fill(1);
    return image;
}

}  // namespace mono

namespace {

struct Tag {
    const char* text;
    int length;
    quint8 flag;
    bool opens;
};
// Compared in this order; at most one matches at a position.
constexpr Tag kTags[] = {
    {"<u>", 3, TLCDText::cfUnderline, true},  {"<s>", 3, TLCDText::cfStrike, true},
    {"<b>", 3, TLCDText::cfBold, true},       {"<i>", 3, TLCDText::cfItalic, true},
    {"<bl>", 4, TLCDText::cfBlink, true},     {"</u>", 4, TLCDText::cfUnderline, false},
    {"</s>", 4, TLCDText::cfStrike, false},   {"</b>", 4, TLCDText::cfBold, false},
    {"</i>", 4, TLCDText::cfItalic, false},   {"<inv>", 5, TLCDText::cfInverse, true},
    {"</bl>", 5, TLCDText::cfBlink, false},   {"</inv>", 6, TLCDText::cfInverse, false},
};

int matchTag(const QByteArray& text, int pos, quint8& flags)
{
    for (const Tag& tag : kTags) {
        if (pos + tag.length <= text.size()
            && std::memcmp(text.constData() + pos, tag.text, size_t(tag.length)) == 0) {
            flags = tag.opens ? quint8(flags | tag.flag) : quint8(flags & ~tag.flag);
            return tag.length;
        }
    }
    return 0;
}

QPaintDevice* metricsDevice()
{
    // Text is rasterised on images, so it is measured at an image's resolution.
    static QImage device(1, 1, QImage::Format_RGB32);
    return &device;
}

}  // namespace

QByteArray TLCDText::toCodePage(const QString& text)
{
    // Stateless: an unpaired surrogate ending one text must not reach the next.
    static QStringEncoder encoder("windows-1251", QStringConverter::Flag::Stateless);
    return encoder.encode(text);
}

QChar TLCDText::fromCodePage(quint8 code)
{
    static const std::array<QChar, 256> table = [] {
        std::array<QChar, 256> t{};
        QStringDecoder decoder("windows-1251");
        for (int i = 0; i < 256; ++i) {
            const char byte = char(i);
            const QString s = decoder.decode(QByteArrayView(&byte, 1));
            t[size_t(i)] = s.isEmpty() ? QChar(u'?') : s.at(0);
        }
        return t;
    }();
    return table[code];
}

TLCDText::TLCDText() : m_cells(new CellLine[kMaxLines]()) {}

TLCDText::~TLCDText() = default;

void TLCDText::parse(const QStringList& lines)
{
    for (int i = 0; i < m_lineCount; ++i)
        m_cells[i].fill(Cell{});
    // Flags carry over from one line to the next.
    quint8 flags = 0;
    // Lines beyond the cell table are not shown; characters beyond cell 255
    // are dropped, while their tags still switch the flags.
    m_lineCount = std::min(int(lines.size()), kMaxLines);
    for (int i = 0; i < m_lineCount; ++i) {
        const QByteArray text = toCodePage(lines.at(i));
        CellLine& line = m_cells[i];
        int cell = 1;
        for (int pos = 0; pos < text.size();) {
            const quint8 code = quint8(text.at(pos));
            if (code == 0)
                break;
            if (code == '<') {
                if (const int length = matchTag(text, pos, flags)) {
                    pos += length;
                    continue;
                }
            }
            if (cell <= kMaxCells)
                line[size_t(cell)] = Cell{code, flags};
            ++cell;
            ++pos;
        }
    }
}

void TLCDText::setFont(const QFont& font)
{
    m_font = font;
    m_fontVariants.fill(std::nullopt);
    for (auto& g : m_glyphs)
        g.reset();
}

quint8 TLCDText::cellCode(int line, int cell) const
{
    if (line < 0 || line >= kMaxLines || cell < 0 || cell > kMaxCells)
        return 0;
    return m_cells[line][size_t(cell)].code;
}

quint8 TLCDText::cellFlags(int line, int cell) const
{
    if (line < 0 || line >= kMaxLines || cell < 0 || cell > kMaxCells)
        return 0;
    return m_cells[line][size_t(cell)].flags;
}

int TLCDText::fontPixelHeight() const
{
    if (m_font.pixelSize() > 0)
        return m_font.pixelSize();
    return qRound(m_font.pointSizeF() * metricsDevice()->logicalDpiY() / 72.0);
}

const QFont& TLCDText::fontVariant(quint8 style)
{
    std::optional<QFont>& slot = m_fontVariants[style & 15];
    if (!slot) {
        // The font's own style never shows; only markup styles do.
        QFont f = m_font;
        f.setStyleStrategy(QFont::StyleStrategy(f.styleStrategy() | QFont::NoAntialias));
        f.setBold(style & cfBold);
        f.setItalic(style & cfItalic);
        f.setUnderline(style & cfUnderline);
        f.setStrikeOut(style & cfStrike);
        slot = f;
    }
    return *slot;
}

const TLCDText::Glyph& TLCDText::glyph(quint8 code, quint8 style)
{
    std::unique_ptr<Glyph>& slot = m_glyphs[size_t(code) * 16 + (style & 15)];
    if (!slot) {
        // Drawn once with room around the box, so ink that spills out of it
        // (italic slant, a wide decoration) is kept and clipped where used.
        slot = std::make_unique<Glyph>();
        const QFont& f = fontVariant(style);
        const QFontMetrics fm(f, metricsDevice());
        const QString text(fromCodePage(code));
        slot->advance = fm.horizontalAdvance(text);
        slot->height = fm.height();
        const int pad = std::max(1, fm.height());
        QImage scratch(slot->advance + 2 * pad, slot->height + pad, QImage::Format_RGB32);
        scratch.fill(Qt::white);
        QPainter p(&scratch);
        p.setFont(f);
        p.setPen(Qt::black);
        p.drawText(pad, fm.ascent(), text);
        p.end();
        for (int y = 0; y < scratch.height(); ++y) {
            const QRgb* row = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
            for (int x = 0; x < scratch.width(); ++x)
                if (qGray(row[x]) < 128)  // ink and paper only
                    slot->ink.emplace_back(x - pad, y);
        }
    }
    return *slot;
}

void TLCDText::render(const Effects& effects)
{
    struct Placed {
        const Glyph* glyph;
        bool inverted;
        int x;
    };
    struct Band {
        std::vector<Placed> glyphs;
        int width = 0;
        int height = 0;
    };
    std::vector<Band> bands(static_cast<size_t>(m_lineCount));
    int totalWidth = 0, totalHeight = 0;

    for (int i = 0; i < m_lineCount; ++i) {
        const CellLine& line = m_cells[i];
        Band& band = bands[size_t(i)];
        for (int c = 1; c <= kMaxCells && line[size_t(c)].code != 0; ++c) {
            // The font's own style never shows; markup styles only where allowed.
            const quint8 flags = line[size_t(c)].flags;
            quint8 style = 0;
            bool inverted = false;
            if (flags != 0) {
                if ((flags & cfUnderline) && effects.underline) style |= cfUnderline;
                if ((flags & cfStrike) && effects.strike) style |= cfStrike;
                if ((flags & cfBold) && effects.bold) style |= cfBold;
                if ((flags & cfItalic) && effects.italic) style |= cfItalic;
                inverted = ((flags & cfBlink) && effects.blink && effects.blinkPhase)
                        || ((flags & cfInverse) && effects.inverse);
            }
            const Glyph& g = glyph(line[size_t(c)].code, style);
            band.glyphs.push_back({&g, inverted, band.width});
            band.width += g.advance;
            band.height = std::max(band.height, g.height);
        }
        if (band.height == 0)
            band.height = fontPixelHeight();  // an empty line: a band as high as the font
        totalWidth = std::max(totalWidth, band.width);
        totalHeight += band.height;
    }

    m_size = QSize(totalWidth, totalHeight);
    m_image = mono::create(totalWidth, totalHeight);
    if (m_image.isNull())
        return;
    uchar* const bits = m_image.bits();
    const qsizetype stride = m_image.bytesPerLine();
    int top = 0;
    for (const Band& band : bands) {
        // Characters one at a time, each on the scratch line as grown so far:
        // its box filled opaque, then its ink, cut at the box's right edge
        // and at the tallest height yet (no kerning between characters).
        int grown = 0;
        for (const Placed& p : band.glyphs) {
            const Glyph& g = *p.glyph;
            grown = std::max(grown, g.height);
            const int right = p.x + g.advance;
            for (int y = 0; y < g.height; ++y) {
                uchar* row = bits + (top + y) * stride;
                for (int x = p.x; x < right; ++x)
                    p.inverted ? mono::setInk(row, x) : mono::setPaper(row, x);
            }
            for (const QPoint& ink : g.ink) {
                const int x = p.x + ink.x();
                if (x < 0 || x >= right || ink.y() >= grown)
                    continue;
                uchar* row = bits + (top + ink.y()) * stride;
                p.inverted ? mono::setPaper(row, x) : mono::setInk(row, x);
            }
        }
        top += band.height;
    }
}
