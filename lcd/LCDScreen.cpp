#include "lcd/LCDScreen.h"

#include "base/error.h"

#include <QCoreApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

namespace {

template <class T>
bool assign(T& field, const T& value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

// One pixel per cell, clipped to dst. Plain copy replaces; AND mode only adds
// the source's ink (dst := dst AND src, paper being the set bit).
void blitMono(QImage& dst, const QImage& src, int dx, int dy, bool andMode)
{
    if (dst.isNull() || src.isNull())
        return;
    const int x0 = std::max(0, dx), x1 = std::min(dst.width(), dx + src.width());
    const int y0 = std::max(0, dy), y1 = std::min(dst.height(), dy + src.height());
    for (int y = y0; y < y1; ++y) {
        const uchar* s = src.constScanLine(y - dy);
        uchar* d = dst.scanLine(y);
        for (int x = x0; x < x1; ++x) {
            if (mono::isInk(s, x - dx))
                mono::setInk(d, x);
            else if (!andMode)
                mono::setPaper(d, x);
        }
    }
}

// MulDiv: the product in 64 bits, divided and rounded half away from zero.
int mulDiv(int a, int b, int c)
{
    const qint64 num = qint64(a) * b;
    const qint64 twice = 2 * (num < 0 ? -num : num) + c;
    const qint64 q = twice / (2 * qint64(c));
    return int(num < 0 ? -q : q);
}

}  // namespace

TLCDScreen::TLCDScreen(QWidget* parent) : QWidget(parent)
{
    // Paints its whole rectangle itself; nothing of the parent shows through.
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_lines = new TStrings(this);
    m_fontColor = palette().color(QPalette::WindowText);
    m_color = palette().color(QPalette::Inactive, QPalette::Window);
    resize(145, 65);
    ComputeDotColors();
    m_animationTimer = new QTimer(this);
    m_animationTimer->setObjectName(QStringLiteral("AnimationTimer"));
    // 250 while AnimationDelay reads 251: the interval follows the delay only
    // once the delay is changed.
    m_animationTimer->setInterval(250);
    connect(m_animationTimer, &QTimer::timeout, this, &TLCDScreen::AnimationTimerTick);
    connect(m_lines, &TStrings::changed, this, &TLCDScreen::ParseLines);
    FitToGrid();
}

TLCDScreen::~TLCDScreen() = default;

QString TLCDScreen::About() const
{
    return QStringLiteral("TLCDScreen: dot-matrix display control of ZEPHYRA");
}

// ---- setters -----------------------------------------------------------

void TLCDScreen::setAnimationDelay(quint32 v)
{
    if (!assign(m_animationDelay, v))
        return;
    // Qt timers take int milliseconds: longer delays wait as long as they can.
    m_animationTimer->setInterval(int(std::min<quint32>(v, INT_MAX)));
    updateTimer();
}

void TLCDScreen::setAnimationEnabled(bool v)
{
    if (assign(m_animationEnabled, v))
        updateTimer();
}

void TLCDScreen::updateTimer()
{
    // An interval of 0 ticks never, as a timer without interval does not run.
    if (m_animationEnabled && m_animationTimer->interval() > 0) {
        if (!m_animationTimer->isActive())
            m_animationTimer->start();
    } else {
        m_animationTimer->stop();
    }
}

void TLCDScreen::setLCDAnimator(TLCDAnimator* animator)
{
    if (animator == m_animator)
        return;
    if (m_animator)
        disconnect(m_animator, &QObject::destroyed, this, &TLCDScreen::animatorDestroyed);
    m_animator = animator;
    if (animator)
        connect(animator, &QObject::destroyed, this, &TLCDScreen::animatorDestroyed);
}

void TLCDScreen::animatorDestroyed(QObject* animator)
{
    // The attached animator is going away: forget it.
    if (animator == m_animator.data() || !m_animator)
        m_animator = nullptr;
}

void TLCDScreen::setAnimationRepeating(bool v) { assign(m_animationRepeating, v); }

void TLCDScreen::setBitmap(const QImage& picture)
{
    if (!picture.isNull() && picture.cacheKey() == m_bitmap.cacheKey())
        return;  // our own picture handed back
    if (picture.isNull()) {
        m_bitmap = QImage();
    } else {
        // Flattened on white, then a plain threshold: dark pixels are lit.
        QImage flat(picture.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        {
            QPainter p(&flat);
            p.drawImage(0, 0, picture);
        }
        m_bitmap = mono::create(flat.width(), flat.height());
        for (int y = 0; y < flat.height(); ++y) {
            const QRgb* s = reinterpret_cast<const QRgb*>(flat.constScanLine(y));
            uchar* d = m_bitmap.scanLine(y);
            for (int x = 0; x < flat.width(); ++x)
                if (qGray(s[x]) < 128)
                    mono::setInk(d, x);
        }
    }
    refresh();  // even while the animation runs
}

void TLCDScreen::setBitmapCopyMode(TBitmapCopyMode v) { if (assign(m_bitmapCopyMode, v)) repaintRule(); }
void TLCDScreen::setBitmapAnimMode(TAnimMode v) { if (assign(m_bitmapAnimMode, v)) repaintRule(); }
void TLCDScreen::setBitmapXOffset(qint8 v) { if (assign(m_bitmapXOffset, v)) repaintRule(); }
void TLCDScreen::setBitmapYOffset(qint8 v) { if (assign(m_bitmapYOffset, v)) repaintRule(); }
void TLCDScreen::setBorderSpace(qint8 v) { if (assign(m_borderSpace, v)) repaintRule(); }
void TLCDScreen::setBorderStyle(TLCDBorder v) { if (assign(m_borderStyle, v)) repaintRule(); }
void TLCDScreen::setColor(const QColor& v) { if (assign(m_color, v)) repaintRule(); }
void TLCDScreen::setDisplayMode(TDisplayMode v) { if (assign(m_displayMode, v)) repaintRule(); }
void TLCDScreen::setLinesAnimMode(TAnimMode v) { if (assign(m_linesAnimMode, v)) repaintRule(); }
void TLCDScreen::setLinesXOffset(qint8 v) { if (assign(m_linesXOffset, v)) repaintRule(); }
void TLCDScreen::setLinesYOffset(qint8 v) { if (assign(m_linesYOffset, v)) repaintRule(); }
void TLCDScreen::setPixelShape(TPixelShape v) { if (assign(m_pixelShape, v)) repaintRule(); }
void TLCDScreen::setPixelSize(TPixelSize v) { if (assign(m_pixelSize, v)) repaintRule(); }
void TLCDScreen::setPixelSpacing(qint8 v) { if (assign(m_pixelSpacing, v)) repaintRule(); }

void TLCDScreen::setFont(const QFont& font)
{
    // Any font change counts, as a copied font always announces itself.
    m_font = font;
    FontChanged();
}

void TLCDScreen::setFontColor(const QColor& color)
{
    if (assign(m_fontColor, color))
        FontChanged();
}

void TLCDScreen::setIntensity(qint8 v)
{
    if (!assign(m_intensity, v))
        return;
    ComputeDotColors();
    repaintRule();
}

void TLCDScreen::setPixelOff(const QColor& v)
{
    if (!assign(m_pixelOff, v))
        return;
    ComputeDotColors();
    repaintRule();
}

void TLCDScreen::setLines(const QStringList& lines) { m_lines->Assign(lines); }

void TLCDScreen::setPixelWidth(qint8 v) { setDotSide(m_pixelWidth, v); }

void TLCDScreen::setPixelHeight(qint8 v) { setDotSide(m_pixelHeight, v); }

void TLCDScreen::setDotSide(qint8& side, qint8 v)
{
    // A preset dot size owns both sides; only a custom size takes them.
    if (m_pixelSize != pixCustom || v == side)
        return;
    if (v < 1) {
        zephyra::showMessage(QMessageBox::Critical, QCoreApplication::applicationName(),
                             tr("Value must be between 1 and 255."));
        return;
    }
    side = v;
    repaintRule();
}

void TLCDScreen::setSpecialEffects(TSpecialEffects v)
{
    if (!assign(m_specialEffects, v))
        return;
    RenderTextImage();
    repaintRule();
}

// ---- derived state -----------------------------------------------------

void TLCDScreen::repaintRule()
{
    if (!m_animationEnabled)
        refresh();
}

void TLCDScreen::refresh()
{
    FitToGrid();
    WrapScroll();
    update();
}

void TLCDScreen::FitToGrid()
{
    UpdateGrid();
    // Only a display that shows its dots snaps to them; a hidden or disabled
    // one keeps the size it was given until it shows them again.
    if (Visible() && Enabled() && m_gridColumns > 0
        && (m_fitWidth != width() || m_fitHeight != height()))
        resize(m_fitWidth, m_fitHeight);
}

void TLCDScreen::UpdateGrid()
{
    if (m_pixelSize != pixCustom) {
        m_pixelWidth = qint8(m_pixelSize);
        m_pixelHeight = qint8(m_pixelSize);
    }
    // A negative margin counts as none; a step of 0 or less holds no dots.
    const int border = std::max(0, int(m_borderSpace));
    const auto count = [](int extent, int dot, int gap) {
        const int step = dot + gap;
        if (dot <= 0 || step <= 0)
            return 0;
        return std::clamp((extent + gap) / step, 0, 65535);
    };
    m_gridColumns = count(width() - 2 * border, m_pixelWidth, m_pixelSpacing);
    m_gridRows = count(height() - 2 * border, m_pixelHeight, m_pixelSpacing);
    if (m_gridColumns == 0 || m_gridRows == 0) {
        // Too small for one dot: keep the size, draw no dots.
        m_gridColumns = m_gridRows = 0;
        m_fitWidth = width();
        m_fitHeight = height();
        return;
    }
    m_fitWidth = m_gridColumns * m_pixelWidth + 2 * border + (m_gridColumns - 1) * m_pixelSpacing;
    m_fitHeight = m_gridRows * m_pixelHeight + 2 * border + (m_gridRows - 1) * m_pixelSpacing;
}

void TLCDScreen::ComputeDotColors()
{
    const QColor off = m_pixelOff.toRgb();
    const QColor ink = m_fontColor.toRgb();
    const int factor = 255 - std::abs(int(m_intensity));
    const auto channel = [factor](int offChannel, int inkChannel) {
        // Not added back to the font colour: a negative result wraps.
        return mulDiv(factor, offChannel - inkChannel, 255) & 0xFF;
    };
    const QColor computed(channel(off.red(), ink.red()), channel(off.green(), ink.green()),
                          channel(off.blue(), ink.blue()));
    if (m_intensity >= 0) {
        m_litColor = computed;
        m_unlitColor = off;
    } else {
        m_litColor = off;
        m_unlitColor = computed;
    }
}

void TLCDScreen::ParseLines()
{
    m_text.parse(m_lines->toStringList());
    RenderTextImage();
    repaintRule();
}

void TLCDScreen::RenderTextImage()
{
    const auto has = [this](TSpecialEffect e) { return (m_specialEffects & effectBit(e)) != 0; };
    TLCDText::Effects effects;
    effects.underline = has(spUnderline);
    effects.strike = has(spStrike);
    effects.bold = has(spBold);
    effects.italic = has(spItalic);
    effects.blink = has(spBlink);
    effects.inverse = has(spInverse);
    effects.blinkPhase = m_blinkPhase;
    m_text.render(effects);
}

void TLCDScreen::FontChanged()
{
    m_text.setFont(m_font);
    ComputeDotColors();
    RenderTextImage();
    repaintRule();
}

// ---- painting ----------------------------------------------------------

void TLCDScreen::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, composeFrame());
}

void TLCDScreen::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    refresh();
}

void TLCDScreen::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    refresh();
}

void TLCDScreen::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        refresh();
}

QImage TLCDScreen::composeFrame()
{
    // A size given while hidden reaches no resize event; the grid follows it here.
    UpdateGrid();
    const int w = width(), h = height();
    if (w <= 0 || h <= 0)
        return {};
    if (m_frame.size() != QSize(w, h))
        m_frame = QImage(w, h, QImage::Format_RGB32);
    m_frame.fill(m_color);

    if (m_borderStyle != bsNone) {
        // The active group's colours: a disabled display keeps its bevel.
        const QRgb light = palette().color(QPalette::Active, QPalette::Light).rgb();
        const QRgb dark = palette().color(QPalette::Active, QPalette::Dark).rgb();
        const QRgb a = m_borderStyle == bsLowered ? light : dark;
        const QRgb b = m_borderStyle == bsLowered ? dark : light;
        uchar* const bits = m_frame.bits();
        const qsizetype stride = m_frame.bytesPerLine();
        const auto px = [bits, stride](int x, int y, QRgb c) {
            reinterpret_cast<QRgb*>(bits + y * stride)[x] = c;
        };
        // Right and bottom edges, then top and left; each line stops short of
        // its end point, so the top-right pixel ends up B, the bottom-left A.
        for (int y = 0; y < h - 1; ++y) px(w - 1, y, a);
        for (int x = w - 1; x >= 0; --x) px(x, h - 1, a);
        for (int x = w - 1; x >= 1; --x) px(x, 0, b);
        for (int y = 0; y < h - 1; ++y) px(0, y, b);
    }

    if (Enabled()) {
        const int border = std::max(0, int(m_borderSpace));
        const QRect area(border, border, w - 2 * border, h - 2 * border);
        if (!area.isEmpty()) {
            // The dot area starts as Color; only a bevel inside it (no
            // margin) needs painting over.
            if (border == 0 && m_borderStyle != bsNone)
                for (int y = area.top(); y <= area.bottom(); ++y)
                    std::fill_n(reinterpret_cast<QRgb*>(m_frame.scanLine(y)) + area.left(),
                                area.width(), m_color.rgb());
            RenderDots(m_frame, area);
        }
    }
    return m_frame;
}

void TLCDScreen::placeContent(QImage& grid) const
{
    const bool textDynamic = m_linesAnimMode == amDynamic;
    const bool bitmapDynamic = m_bitmapAnimMode == amDynamic;
    const auto placeText = [&] {
        blitMono(grid, m_text.image(), m_linesXOffset + (textDynamic ? m_scrollX : 0),
                 m_linesYOffset + (textDynamic ? m_scrollY : 0), false);
    };
    const auto placeBitmap = [&](bool andMode) {
        blitMono(grid, m_bitmap, m_bitmapXOffset + (bitmapDynamic ? m_scrollX : 0),
                 m_bitmapYOffset + (bitmapDynamic ? m_scrollY : 0), andMode);
    };
    switch (m_displayMode) {
    case dmText:
        placeText();
        break;
    case dmBitmap:
        placeBitmap(false);
        break;
    case dmBoth:
        placeText();
        placeBitmap(m_bitmapCopyMode == cmTransparent);
        break;
    }
}

void TLCDScreen::WrapScroll()
{
    const int columns = m_gridColumns, rows = m_gridRows;
    const int wt = m_text.size().width(), ht = m_text.size().height();
    const int wb = m_bitmap.width(), hb = m_bitmap.height();
    switch (m_displayMode) {
    case dmText:
        if (m_linesXOffset + m_scrollX < -wt) m_scrollX += wt + columns;
        if (m_linesXOffset + m_scrollX > columns) m_scrollX -= wt + columns;
        if (m_linesYOffset + m_scrollY < -ht) m_scrollY += ht + rows;
        if (m_linesYOffset + m_scrollY > rows) m_scrollY -= ht + rows;
        break;
    case dmBitmap:
        if (m_bitmapXOffset + m_scrollX < -wb) m_scrollX += wb + columns;
        if (m_bitmapXOffset + m_scrollX > columns) m_scrollX -= wb + columns;
        if (m_bitmapYOffset + m_scrollY < -hb) m_scrollY += hb + rows;
        if (m_bitmapYOffset + m_scrollY > rows) m_scrollY -= hb + rows;
        break;
    case dmBoth: {
        // Text and picture share one scroll position.
        const int w = std::max(wt, wb), h = std::max(ht, hb);
        if (m_linesXOffset + m_scrollX < -w || m_bitmapXOffset + m_scrollX < -w)
            m_scrollX += w + columns;
        if (m_linesXOffset + m_scrollX > columns || m_bitmapXOffset + m_scrollX > columns)
            m_scrollX -= w + columns;
        if (m_linesYOffset + m_scrollY < -h || m_bitmapYOffset + m_scrollY < -h)
            m_scrollY += h + rows;
        if (m_linesYOffset + m_scrollY > rows || m_bitmapYOffset + m_scrollY > rows)
            m_scrollY -= h + rows;
        break;
    }
    }
}

// ---- animation ----------------------------------------------------------

void TLCDScreen::AnimationStep()
{
    const QPointer<TLCDAnimator> animator = m_animator;
    if (!animator)
        return;  // no script: no command, no blink, no repaint
    // A CurrentLine outside the script (one past the end, or negative) runs
    // as an empty line; advancing then brings it back into the script.
    const int current = animator->CurrentLine();
    const QString line = current >= 0 && current < animator->Code()->Count()
                             ? animator->Code()->Strings(current)
                             : QString();
    // At most 255 commands a line: the count is taken modulo 256.
    const int count = int(line.count(QLatin1Char(';')) % 256);
    // The whole line is parsed before any command runs.
    const auto commands = TLCDAnimator::ParseCommandLine(line, count);

    for (const auto& command : commands) {
        const QString& name = command.Name;
        if (name == QLatin1String("horzscroll")) {
            m_scrollX += qint8(command.Value);
        } else if (name == QLatin1String("vertscroll")) {
            m_scrollY += qint8(command.Value);
        } else if (name == QLatin1String("setintensity")) {
            setIntensity(qint8(command.Value));
        } else if (name == QLatin1String("animationdelay")) {
            setAnimationDelay(quint32(command.Value));
        } else if (name == QLatin1String("gotoline")) {
            if (animator)
                animator->setCurrentLine(
                    qint16(std::min<qint32>(command.Value, animator->Code()->Count())));
        } else if (name == QLatin1String("resetdisplay")) {
            m_scrollY = 0;
            m_scrollX = 0;
            ParseLines();
        }
    }

    if (animator)
        emit animator->OnLineExecuted(animator, quint16(animator->CurrentLine()));
    if (animator) {
        if (animator->CurrentLine() == animator->Code()->Count() - 1) {
            animator->setCurrentLine(0);
            if (!m_animationRepeating)
                setAnimationEnabled(false);
            emit animator->OnEndCode(animator);
        } else {
            animator->setCurrentLine(qint16(animator->CurrentLine() + 1));
        }
    }

    m_blinkPhase = !m_blinkPhase;
    if ((m_specialEffects & effectBit(spBlink)) && m_displayMode != dmBitmap)
        RenderTextImage();
    refresh();
}

void TLCDScreen::AnimationTimerTick()
{
    zephyra::runHandler([this] {
        try {
            AnimationStep();
            m_shownFailure.reset();
        } catch (const zephyra::Error&) {
            // The failing line is tried again on every tick; say so once.
            const auto failure = std::make_pair<const TLCDAnimator*, quint64>(
                m_animator.data(), m_animator ? m_animator->revision() : 0);
            if (m_shownFailure == failure)
                return;
            m_shownFailure = failure;
            throw;
        }
    });
}

void TLCDScreen::RenderDots(QImage& frame, const QRect& area) const
{
    const int columns = m_gridColumns, rows = m_gridRows;
    QImage grid = mono::create(columns, rows);
    placeContent(grid);
    const int pw = m_pixelWidth, ph = m_pixelHeight, gap = m_pixelSpacing;
    const int stepX = pw + gap, stepY = ph + gap;
    if (grid.isNull() || pw <= 0 || ph <= 0 || stepX <= 0 || stepY <= 0)
        return;

    // Dot templates: lit dot on unlit ground; the unlit one is a solid block.
    const QRgb lit = m_litColor.rgb(), unlit = m_unlitColor.rgb(), ground = m_color.rgb();
    std::vector<QRgb> litDot(size_t(pw * ph), lit), unlitDot(size_t(pw * ph), unlit);
    if (m_pixelShape == psRound && pw * ph > 1) {
        // The inscribed ellipse: pixels whose centres lie inside it.
        const double rx = pw / 2.0, ry = ph / 2.0;
        for (int y = 0; y < ph; ++y)
            for (int x = 0; x < pw; ++x) {
                const double dx = (x + 0.5 - rx) / rx, dy = (y + 0.5 - ry) / ry;
                if (dx * dx + dy * dy > 1.0)
                    litDot[size_t(y * pw + x)] = unlit;
            }
    }

    // A row strip of unlit dots, built by doubling copies.
    const int areaWidth = area.width();
    std::vector<QRgb> strip(size_t(areaWidth) * size_t(ph), ground);
    const int firstWidth = std::min(pw, areaWidth);
    for (int y = 0; y < ph; ++y)
        std::copy_n(&unlitDot[size_t(y * pw)], firstWidth, &strip[size_t(y) * size_t(areaWidth)]);
    for (qint64 p = stepX; p < areaWidth; p *= 2) {
        const qint64 length = std::min<qint64>(p - gap, areaWidth - p);
        if (length <= 0)
            continue;
        for (int y = 0; y < ph; ++y) {
            QRgb* row = &strip[size_t(y) * size_t(areaWidth)];
            std::memmove(row + p, row, size_t(length) * sizeof(QRgb));
        }
    }

    uchar* const bits = frame.bits();
    const qsizetype stride = frame.bytesPerLine();
    const auto rowAt = [bits, stride](int y) { return reinterpret_cast<QRgb*>(bits + y * stride); };
    const int right = area.left() + areaWidth;  // exclusive
    const int bottom = area.top() + area.height();
    const int bytesPerRow = (columns + 7) / 8;
    for (int r = 0; r < rows; ++r) {
        const int y = area.top() + r * stepY;
        const int visibleRows = std::min(ph, bottom - y);
        if (visibleRows <= 0)
            break;
        for (int ty = 0; ty < visibleRows; ++ty)
            std::memcpy(rowAt(y + ty) + area.left(),
                        &strip[size_t(ty) * size_t(areaWidth)], size_t(areaWidth) * sizeof(QRgb));
        const uchar* cells = grid.constScanLine(r);
        for (int byte = 0; byte < bytesPerRow; ++byte) {
            if (cells[byte] == 0xFF)
                continue;  // eight unlit cells
            for (int bit = 0; bit < 8; ++bit) {
                const int c = byte * 8 + bit;
                if (c >= columns)
                    break;
                if (cells[byte] & (0x80 >> bit))
                    continue;
                const int x = area.left() + c * stepX;
                const int visibleColumns = std::min(pw, right - x);
                if (visibleColumns <= 0)
                    break;
                for (int ty = 0; ty < visibleRows; ++ty)
                    std::memcpy(rowAt(y + ty) + x,
                                &litDot[size_t(ty * pw)], size_t(visibleColumns) * sizeof(QRgb));
            }
        }
    }
}
