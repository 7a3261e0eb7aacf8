#pragma once
// The dot-matrix display's text, free of any widget: strings with inline
// markup are parsed into cells (a Windows-1251 character code and attribute
// flags each), and the cells are rasterised glyph by glyph into a 1-bit text
// image at one font pixel per dot.

#include <QFont>
#include <QImage>
#include <QStringList>

#include <array>
#include <memory>
#include <optional>
#include <vector>

// 1-bit images use Format_Mono (most significant bit leftmost) with index 0
// black and index 1 white: a set bit is paper, a clear bit ink (a lit dot).
namespace mono {
QImage create(int width, int height);  // all paper; null when empty
inline bool isInk(const uchar* line, int x) { return !(line[x >> 3] & (0x80 >> (x & 7))); }
inline void setInk(uchar* line, int x) { line[x >> 3] &= uchar(~(0x80 >> (x & 7))); }
inline void setPaper(uchar* line, int x) { line[x >> 3] |= uchar(0x80 >> (x & 7)); }
}  // namespace mono

class TLCDText {
public:
    // Attribute flags of a cell.
    enum CellFlag : quint8 {
        cfUnderline = 1, cfStrike = 2, cfBold = 4, cfItalic = 8, cfBlink = 16, cfInverse = 32
    };
    static constexpr int kMaxLines = 256;  // lines of cells
    static constexpr int kMaxCells = 255;  // cells 1..255 of a line hold characters

    // Which markup the rendering honours, and whether blinking text is
    // shown inverted right now.
    struct Effects {
        bool underline = false, strike = false, bold = false, italic = false;
        bool blink = false, inverse = false;
        bool blinkPhase = false;
    };

    TLCDText();
    ~TLCDText();

    // Parses every string into its line of cells. A tag switches its flag
    // until it is closed, across lines; lines past the table are dropped.
    void parse(const QStringList& lines);
    // Glyph shapes come from this font; its own style never shows.
    void setFont(const QFont& font);
    // Rasterises the parsed cells into image().
    void render(const Effects& effects);

    // Black (index 0) is ink, a lit dot. size() may be W x 0 or 0 x H (only
    // empty lines) while image() holds no pixels.
    const QImage& image() const { return m_image; }
    QSize size() const { return m_size; }
    quint8 cellCode(int line, int cell) const;
    quint8 cellFlags(int line, int cell) const;
    // The |height| of the font in pixels: the band an empty line takes.
    int fontPixelHeight() const;

    // The display's single-byte code page. A conversion keeps no state from
    // one text to the next.
    static QByteArray toCodePage(const QString& text);
    static QChar fromCodePage(quint8 code);

private:
    struct Cell {
        quint8 code = 0;
        quint8 flags = 0;
    };
    using CellLine = std::array<Cell, kMaxCells + 1>;
    // One character drawn black on white at pen position x = 0, y = 0 (top):
    // its advance, text height and the ink pixels (dx, y) relative to x.
    struct Glyph {
        int advance = 0;
        int height = 0;
        std::vector<QPoint> ink;
    };
    const QFont& fontVariant(quint8 style);
    const Glyph& glyph(quint8 code, quint8 style);

    std::unique_ptr<CellLine[]> m_cells;
    int m_lineCount = 0;  // lines written by the last parse
    QFont m_font;
    QImage m_image;
    QSize m_size{0, 0};
    // The font with each markup style, and each character drawn once per style.
    std::array<std::optional<QFont>, 16> m_fontVariants;
    std::array<std::unique_ptr<Glyph>, 256 * 16> m_glyphs;
};
