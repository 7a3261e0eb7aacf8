#include "menu/statusline.h"

#include <QPainter>

namespace {

// The start screen's buttons: brown outline, cream face.
const QColor kOutline(0x7a, 0x42, 0x16);
const QColor kCream(0xff, 0xfb, 0xe8, 235);
constexpr int kHeight = 30;
constexpr int kPadding = 16;

QFont lineFont(const QWidget* w)
{
    QFont f = w->font();
    f.setBold(true);
    f.setPixelSize(15);
    return f;
}

}  // namespace

TStatusLine::TStatusLine(QWidget* parent, int top) : QWidget(parent), m_top(top)
{
    setObjectName(QStringLiteral("StatusLine"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void TStatusLine::setText(const QString& text)
{
    setAccessibleName(text);
    if (text.isEmpty()) {
        hide();
        return;
    }
    // Never wider than the window: a long translation is cut, not spilled.
    const int width = std::min(parentWidget()->width() - 8,
                               QFontMetrics(lineFont(this)).horizontalAdvance(text) + 2 * kPadding);
    setGeometry((parentWidget()->width() - width) / 2, m_top, width, kHeight);
    show();
    update();
}

void TStatusLine::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF band = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
    p.setPen(QPen(kOutline, 3));
    p.setBrush(kCream);
    p.drawRoundedRect(band, band.height() / 2, band.height() / 2);
    p.setFont(lineFont(this));
    p.setPen(kOutline);
    const QRectF words = band.adjusted(kPadding / 2.0, 0, -kPadding / 2.0, 0);
    p.drawText(words, Qt::AlignCenter,
               QFontMetrics(p.font()).elidedText(accessibleName(), Qt::ElideRight, int(words.width())));
}
