#include "play/overlays.h"

#include "assets/decode.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>

namespace {

// The game's palette: the buttons' brown outline and orange-to-salmon words,
// the hint's deep blue.
const QColor kOutline(0x7a, 0x42, 0x16);
const QColor kCream(0xff, 0xfb, 0xe8);
const QColor kGlow(0xff, 0xe2, 0xa8);
const QColor kOrange(0xff, 0xa8, 0x3c);
const QColor kSalmon(0xf0, 0x64, 0x4a);
const QColor kTrack(0xf2, 0xd9, 0xa8);
const QColor kNight(0x0a, 0x20, 0x50);

// The background's drawing, and where its hint stands in it: white letters
// over a deep blue shadow, which may not run into the tree.
const QString kFieldPicture = QStringLiteral(":/pictures/play-background.jpg");
constexpr QSizeF kFieldDrawing(2560, 1600);
constexpr int kHintSize = 42;
constexpr QPointF kHintAt(23, 177);
constexpr QPointF kHintShadow(3, 3);
constexpr qreal kHintMaxWidth = 1400;

constexpr int kBadge = 124;   // the round badge's diameter
constexpr int kRing = 12;     // the ring's width
constexpr int kCaption = 36;  // the caption's height
constexpr int kGap = 8;

QFont captionFont(const QWidget* w)
{
    QFont f = w->font();
    f.setBold(true);
    f.setPixelSize(17);
    return f;
}

}  // namespace

TEscCue::TEscCue(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("EscCue"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void TEscCue::setProgress(double progress)
{
    progress = std::clamp(progress, 0.0, 1.0);
    if (progress == m_progress)
        return;
    m_progress = progress;
    update();
}

void TEscCue::place()
{
    const int width = std::max(kBadge, QFontMetrics(captionFont(this)).horizontalAdvance(accessibleName()) + 2 * kCaption);
    const QSize size(width + 8, kBadge + kGap + kCaption + 8);
    const QWidget* field = parentWidget();
    setGeometry(QRect(QPoint((field->width() - size.width()) / 2, (field->height() - size.height()) / 2), size));
}

void TEscCue::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(width() / 2.0, 4 + kBadge / 2.0);

    // A soft shadow under the badge, light from the upper left.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 60));
    p.drawEllipse(centre + QPointF(3, 4), kBadge / 2.0, kBadge / 2.0);
    QRadialGradient face(centre - QPointF(kBadge / 5.0, kBadge / 5.0), kBadge * 0.8);
    face.setColorAt(0, kCream);
    face.setColorAt(1, kGlow);
    p.setBrush(face);
    p.setPen(QPen(kOutline, 4));
    p.drawEllipse(centre, kBadge / 2.0 - 2, kBadge / 2.0 - 2);

    // The ring fills clockwise from twelve o'clock.
    const qreal r = kBadge / 2.0 - 8 - kRing / 2.0;
    const QRectF ring(centre - QPointF(r, r), QSizeF(2 * r, 2 * r));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kTrack, kRing, Qt::SolidLine, Qt::RoundCap));
    p.drawEllipse(ring);
    if (m_progress > 0) {
        QLinearGradient fill(ring.topLeft(), ring.bottomRight());
        fill.setColorAt(0, kOrange);
        fill.setColorAt(1, kSalmon);
        p.setPen(QPen(QBrush(fill), kRing, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(ring, 90 * 16, -int(m_progress * 360 * 16));
    }

    // The Esc key, standing a little proud of its base.
    const QRectF key(centre - QPointF(27, 20), QSizeF(54, 36));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x5a, 0x5a, 0x66));
    p.drawRoundedRect(key.translated(0, 5), 8, 8);
    QLinearGradient cap(key.topLeft(), key.bottomLeft());
    cap.setColorAt(0, Qt::white);
    cap.setColorAt(1, QColor(0xe4, 0xe4, 0xec));
    p.setBrush(cap);
    p.setPen(QPen(QColor(0x5a, 0x5a, 0x66), 2));
    p.drawRoundedRect(key, 8, 8);
    QFont keyFont = font();
    keyFont.setBold(true);
    keyFont.setPixelSize(17);
    p.setFont(keyFont);
    p.setPen(QColor(0x2e, 0x2e, 0x36));
    p.drawText(key, Qt::AlignCenter, QStringLiteral("Esc"));

    // The caption on a deep blue band, as the field's own hint is written.
    const QRectF band(4, 4 + kBadge + kGap, width() - 8, kCaption);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(kNight.red(), kNight.green(), kNight.blue(), 210));
    p.drawRoundedRect(band, kCaption / 2.0, kCaption / 2.0);
    p.setFont(captionFont(this));
    p.setPen(Qt::white);
    p.drawText(band, Qt::AlignCenter, accessibleName());
}

zephyra::Words fieldHint(const QString& hint)
{
    return {.text = hint, .font = zephyra::displayFont(kHintSize), .baseline = kHintAt, .shadow = kNight,
            .shadowOffset = kHintShadow, .shadowOutline = 4, .shadowOpacity = 0.7, .maxWidth = kHintMaxWidth};
}

QImage fieldBackground(const QString& hint, QSize fill)
{
    QImage picture = zephyra::loadPicture(kFieldPicture, fill);
    zephyra::drawWords(picture, kFieldDrawing, {fieldHint(hint)});
    return picture;
}

TDusk::TDusk(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Dusk"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void TDusk::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    QLinearGradient evening(0, 0, 0, height());
    evening.setColorAt(0, QColor(0x0c, 0x14, 0x48, 225));
    evening.setColorAt(0.55, QColor(0x3a, 0x2c, 0x78, 190));
    evening.setColorAt(1, QColor(0xc8, 0x6e, 0x5a, 150));
    p.fillRect(rect(), evening);
}
