#pragma once
// TLCDScreen imitates a dot-matrix liquid-crystal display: a panel in Color
// with a one-pixel bevel and a grid of lit and unlit dots showing Lines (with
// a small inline markup) rasterised at one font pixel per dot.
//
// How it is built on Qt:
// - Every published property is a Q_PROPERTY with its own name. The font
//   colour lives in the extra property "FontColor" right after "Font" (QFont
//   carries no colour). SpecialEffects is the one-byte set (quint8):
//   bit (1 << TSpecialEffect). Signed 8-bit properties are qint8,
//   AnimationDelay is quint32.
// - The system colours: clInactiveBorder (default Color) is the inactive
//   Window colour of the palette, resolved at construction; the bevel's
//   clBtnHighlight is the active QPalette::Light and clBtnShadow the active
//   QPalette::Dark, resolved at every paint.
// - A change updates what is derived at once (dot colours, cells, text
//   image, the snapped size, the wrapped scroll position) and asks Qt for a
//   repaint; a paint only draws: the frame is composed off-screen in
//   composeFrame() and blitted in one drawImage.
// - The text pipeline (code page, markup, glyphs) is TLCDText; the animator's
//   script lines are parsed by TLCDAnimator and run here, one per step.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointer>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "lcd/LCDAnimator.h"
#include "lcd/LCDText.h"
#include "lcd/Strings.h"

class QTimer;

using TSpecialEffects = quint8;

class TLCDScreen : public QWidget {
    Q_OBJECT
public:
    enum TPixelSize {
        pixCustom, pix1x1, pix2x2, pix3x3, pix4x4, pix5x5, pix6x6, pix7x7, pix8x8,
        pix9x9, pix10x10, pix11x11, pix12x12, pix13x13, pix14x14, pix15x15, pix16x16
    };
    Q_ENUM(TPixelSize)
    enum TPixelShape { psSquare, psRound };
    Q_ENUM(TPixelShape)
    enum TLCDBorder { bsLowered, bsNone, bsRaised };
    Q_ENUM(TLCDBorder)
    enum TSpecialEffect { spBlink, spBold, spInverse, spItalic, spUnderline, spStrike };
    Q_ENUM(TSpecialEffect)
    enum TAnimMode { amDynamic, amStatic };
    Q_ENUM(TAnimMode)
    enum TDisplayMode { dmText, dmBitmap, dmBoth };
    Q_ENUM(TDisplayMode)
    enum TBitmapCopyMode { cmNotTransparent, cmTransparent };
    Q_ENUM(TBitmapCopyMode)

    static constexpr TSpecialEffects effectBit(TSpecialEffect e) { return TSpecialEffects(1u << e); }

private:
    Q_PROPERTY(QString About READ About WRITE setAbout)
    Q_PROPERTY(quint32 AnimationDelay READ AnimationDelay WRITE setAnimationDelay)
    Q_PROPERTY(bool AnimationEnabled READ AnimationEnabled WRITE setAnimationEnabled)
    Q_PROPERTY(bool AnimationRepeating READ AnimationRepeating WRITE setAnimationRepeating)
    Q_PROPERTY(QImage Bitmap READ Bitmap WRITE setBitmap)
    Q_PROPERTY(TBitmapCopyMode BitmapCopyMode READ BitmapCopyMode WRITE setBitmapCopyMode)
    Q_PROPERTY(TAnimMode BitmapAnimMode READ BitmapAnimMode WRITE setBitmapAnimMode)
    Q_PROPERTY(qint8 BitmapXOffset READ BitmapXOffset WRITE setBitmapXOffset)
    Q_PROPERTY(qint8 BitmapYOffset READ BitmapYOffset WRITE setBitmapYOffset)
    Q_PROPERTY(qint8 BorderSpace READ BorderSpace WRITE setBorderSpace)
    Q_PROPERTY(TLCDBorder BorderStyle READ BorderStyle WRITE setBorderStyle)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)
    Q_PROPERTY(TDisplayMode DisplayMode READ DisplayMode WRITE setDisplayMode)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled)
    Q_PROPERTY(QFont Font READ Font WRITE setFont)
    Q_PROPERTY(QColor FontColor READ FontColor WRITE setFontColor)
    Q_PROPERTY(qint8 Intensity READ Intensity WRITE setIntensity)
    Q_PROPERTY(TLCDAnimator* LCDAnimator READ LCDAnimator WRITE setLCDAnimator)
    Q_PROPERTY(QStringList Lines READ linesText WRITE setLines)
    Q_PROPERTY(TAnimMode LinesAnimMode READ LinesAnimMode WRITE setLinesAnimMode)
    Q_PROPERTY(qint8 LinesXOffset READ LinesXOffset WRITE setLinesXOffset)
    Q_PROPERTY(qint8 LinesYOffset READ LinesYOffset WRITE setLinesYOffset)
    Q_PROPERTY(qint8 PixelHeight READ PixelHeight WRITE setPixelHeight)
    Q_PROPERTY(QColor PixelOff READ PixelOff WRITE setPixelOff)
    Q_PROPERTY(TPixelShape PixelShape READ PixelShape WRITE setPixelShape)
    Q_PROPERTY(TPixelSize PixelSize READ PixelSize WRITE setPixelSize)
    Q_PROPERTY(qint8 PixelSpacing READ PixelSpacing WRITE setPixelSpacing)
    Q_PROPERTY(qint8 PixelWidth READ PixelWidth WRITE setPixelWidth)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE setShowHint)
    Q_PROPERTY(quint8 SpecialEffects READ SpecialEffects WRITE setSpecialEffects)
    Q_PROPERTY(bool Visible READ Visible WRITE setVisible)

public:
    explicit TLCDScreen(QWidget* parent = nullptr);
    ~TLCDScreen() override;

    QString About() const;
    void setAbout(const QString&) {}  // read-only information

    quint32 AnimationDelay() const { return m_animationDelay; }
    void setAnimationDelay(quint32 v);
    bool AnimationEnabled() const { return m_animationEnabled; }
    void setAnimationEnabled(bool v);
    bool AnimationRepeating() const { return m_animationRepeating; }
    void setAnimationRepeating(bool v);

    QImage Bitmap() const { return m_bitmap; }
    void setBitmap(const QImage& picture);
    TBitmapCopyMode BitmapCopyMode() const { return m_bitmapCopyMode; }
    void setBitmapCopyMode(TBitmapCopyMode v);
    TAnimMode BitmapAnimMode() const { return m_bitmapAnimMode; }
    void setBitmapAnimMode(TAnimMode v);
    qint8 BitmapXOffset() const { return m_bitmapXOffset; }
    void setBitmapXOffset(qint8 v);
    qint8 BitmapYOffset() const { return m_bitmapYOffset; }
    void setBitmapYOffset(qint8 v);

    qint8 BorderSpace() const { return m_borderSpace; }
    void setBorderSpace(qint8 v);
    TLCDBorder BorderStyle() const { return m_borderStyle; }
    void setBorderStyle(TLCDBorder v);
    QColor Color() const { return m_color; }
    void setColor(const QColor& v);
    TDisplayMode DisplayMode() const { return m_displayMode; }
    void setDisplayMode(TDisplayMode v);
    // The control's own flag: a disabled parent does not switch the dots off.
    bool Enabled() const { return !testAttribute(Qt::WA_ForceDisabled); }

    // Hides QWidget::setFont on purpose: the display keeps its own font, so
    // a parent's font never reaches the dots.
    QFont Font() const { return m_font; }
    void setFont(const QFont& font);
    QColor FontColor() const { return m_fontColor; }
    void setFontColor(const QColor& color);

    qint8 Intensity() const { return m_intensity; }
    void setIntensity(qint8 v);

    TLCDAnimator* LCDAnimator() const { return m_animator; }
    // Not owned; the reference clears itself when the animator is destroyed.
    // A script marked faulty is attached without a question.
    void setLCDAnimator(TLCDAnimator* animator);

    TStrings* Lines() const { return m_lines; }
    QStringList linesText() const { return m_lines->toStringList(); }
    void setLines(const QStringList& lines);

    TAnimMode LinesAnimMode() const { return m_linesAnimMode; }
    void setLinesAnimMode(TAnimMode v);
    qint8 LinesXOffset() const { return m_linesXOffset; }
    void setLinesXOffset(qint8 v);
    qint8 LinesYOffset() const { return m_linesYOffset; }
    void setLinesYOffset(qint8 v);

    qint8 PixelHeight() const { return m_pixelHeight; }
    void setPixelHeight(qint8 v);
    QColor PixelOff() const { return m_pixelOff; }
    void setPixelOff(const QColor& v);
    TPixelShape PixelShape() const { return m_pixelShape; }
    void setPixelShape(TPixelShape v);
    TPixelSize PixelSize() const { return m_pixelSize; }
    void setPixelSize(TPixelSize v);
    qint8 PixelSpacing() const { return m_pixelSpacing; }
    void setPixelSpacing(qint8 v);
    qint8 PixelWidth() const { return m_pixelWidth; }
    void setPixelWidth(qint8 v);

    bool ShowHint() const { return m_showHint; }
    void setShowHint(bool v) { m_showHint = v; }
    TSpecialEffects SpecialEffects() const { return m_specialEffects; }
    void setSpecialEffects(TSpecialEffects v);
    // The control's own flag: false only once hidden on purpose (a widget not
    // yet shown on screen still counts as visible).
    bool Visible() const
    {
        return !(testAttribute(Qt::WA_WState_ExplicitShowHide) && testAttribute(Qt::WA_WState_Hidden));
    }

    // Derived state, read-only (tests, tools).
    int GridColumns() const { return m_gridColumns; }
    int GridRows() const { return m_gridRows; }
    int ScrollX() const { return m_scrollX; }
    int ScrollY() const { return m_scrollY; }
    QColor LitColor() const { return m_litColor; }
    QColor UnlitColor() const { return m_unlitColor; }
    bool BlinkPhase() const { return m_blinkPhase; }
    // The rasterised text, 1 bit per pixel: black (index 0) is ink, a lit dot.
    QImage textImage() const { return m_text.image(); }
    // Its size; an image of only empty lines has width 0 and no pixels.
    QSize textImageSize() const { return m_text.size(); }
    // Character code (Windows-1251) and attribute flags of cell (line, cell).
    quint8 cellCode(int line, int cell) const { return m_text.cellCode(line, cell); }
    quint8 cellFlags(int line, int cell) const { return m_text.cellFlags(line, cell); }

    // Composes the whole control (frame, bevel, dots) as paintEvent shows it.
    // It only draws: the size and the scroll position stay as they are.
    QImage composeFrame();

    // One animation step: runs the animator's current line, advances it,
    // toggles blinking and repaints. A line that fails to convert throws
    // zephyra::Error and leaves the display and CurrentLine as they were.
    void AnimationStep();
    // The animation timer's handler: the step, with a failure shown in the
    // standard error box once per failing line (until Code or CurrentLine
    // changes) rather than on every tick.
    void AnimationTimerTick();

    // The |height| of the font in pixels: the band an empty line takes.
    int fontPixelHeight() const { return m_text.fontPixelHeight(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The grid for the current size, then the size snapped to whole dots.
    void FitToGrid();
    void UpdateGrid();
    void ComputeDotColors();
    void ParseLines();
    void RenderTextImage();
    void FontChanged();
    void RenderDots(QImage& frame, const QRect& area) const;
    void placeContent(QImage& grid) const;
    // Content that left the grid on one side comes back in at the other: at
    // most one period per axis each time, after every change and every step.
    void WrapScroll();
    void updateTimer();
    void animatorDestroyed(QObject* animator);
    void setDotSide(qint8& side, qint8 v);
    // The repaint rule: refresh at once unless the animation runs.
    void repaintRule();
    // Brings the size and the scroll position up to date and schedules a paint.
    void refresh();

    TStrings* m_lines = nullptr;
    QFont m_font;
    QColor m_fontColor;
    TLCDText m_text;
    QImage m_bitmap;     // Format_Mono, colour table {black, white}
    QTimer* m_animationTimer = nullptr;
    QPointer<TLCDAnimator> m_animator;
    // The failing line whose error was last shown: animator and its revision.
    std::optional<std::pair<const TLCDAnimator*, quint64>> m_shownFailure;

    int m_scrollX = 0;
    int m_scrollY = 0;
    int m_gridColumns = 0;  // 0..65535
    int m_gridRows = 0;
    int m_fitWidth = 0;
    int m_fitHeight = 0;
    QColor m_litColor;
    QColor m_unlitColor;
    bool m_blinkPhase = false;

    quint32 m_animationDelay = 251;
    bool m_animationEnabled = false;
    bool m_animationRepeating = false;
    TBitmapCopyMode m_bitmapCopyMode = cmNotTransparent;
    TAnimMode m_bitmapAnimMode = amDynamic;
    qint8 m_bitmapXOffset = 0;
    qint8 m_bitmapYOffset = 0;
    qint8 m_borderSpace = 3;
    TLCDBorder m_borderStyle = bsLowered;
    QColor m_color;
    TDisplayMode m_displayMode = dmText;
    qint8 m_intensity = 127;
    TAnimMode m_linesAnimMode = amDynamic;
    qint8 m_linesXOffset = 0;
    qint8 m_linesYOffset = 0;
    qint8 m_pixelHeight = 2;
    QColor m_pixelOff{170, 170, 170};
    TPixelShape m_pixelShape = psSquare;
    TPixelSize m_pixelSize = pix2x2;
    qint8 m_pixelSpacing = 1;
    qint8 m_pixelWidth = 2;
    bool m_showHint = false;
    TSpecialEffects m_specialEffects = 0;

    QImage m_frame;  // the composed frame, kept for the next paint
};

using TPixelSize = TLCDScreen::TPixelSize;
using TPixelShape = TLCDScreen::TPixelShape;
using TLCDBorder = TLCDScreen::TLCDBorder;
using TSpecialEffect = TLCDScreen::TSpecialEffect;
using TAnimMode = TLCDScreen::TAnimMode;
using TDisplayMode = TLCDScreen::TDisplayMode;
using TBitmapCopyMode = TLCDScreen::TBitmapCopyMode;
