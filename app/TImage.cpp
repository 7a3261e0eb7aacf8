#include "app/TImage.h"

#include "app/services.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>

TImage::TImage(QWidget* parent, const QString& name) : QWidget(parent)
{
    setObjectName(name);
    // Move events arrive without a pressed button too, as hover needs.
    setMouseTracking(true);
}

void TImage::setPicture(const QImage& picture)
{
    m_picture = picture;  // implicitly shared: a later change to either side detaches
    rescale();
    update();
}

void TImage::setStretch(bool stretch)
{
    if (m_stretch == stretch)
        return;
    m_stretch = stretch;
    rescale();
    update();
}

void TImage::setAlignClient(bool align)
{
    if (m_alignClient == align || !parentWidget())
        return;
    m_alignClient = align;
    if (align) {
        parentWidget()->installEventFilter(this);
        setGeometry(parentWidget()->rect());
    } else {
        parentWidget()->removeEventFilter(this);
    }
}

void TImage::setOpaque(bool opaque) { setAttribute(Qt::WA_OpaquePaintEvent, opaque); }

void TImage::setPictureSource(std::function<QImage()> loader)
{
    m_loader = std::move(loader);
    m_picture = QImage();
    rescale();
    update();
}

bool TImage::eventFilter(QObject* watched, QEvent* event)
{
    if (m_alignClient && watched == parentWidget() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

void TImage::rescale()
{
    // Scaling waits for the next paint, so a hidden window decodes and scales
    // nothing, and a resize followed by a paint scales exactly once.
    m_scaleDirty = m_stretch;
    if (!m_stretch)
        m_scaled = QImage();
}

void TImage::scaleNow()
{
    m_scaleDirty = false;
    if (size().isEmpty()) {
        m_scaled = QImage();
        return;
    }
    if (m_loader) {
        // Decode, scale, and let the large source go again.
        QImage source;
        zephyra::runHandler([&] { source = m_loader(); });
        m_scaled = source.isNull()
                       ? QImage()
                       : source.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                             .convertToFormat(source.hasAlphaChannel()
                                                  ? QImage::Format_ARGB32_Premultiplied
                                                  : QImage::Format_RGB32);
        return;
    }
    if (m_picture.isNull()) {
        m_scaled = QImage();
        return;
    }
    m_scaled = m_picture.size() == size()
                   ? m_picture
                   : m_picture.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void TImage::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    if (m_stretch) {
        if (m_scaleDirty)
            scaleNow();
        // Rectangle by rectangle: handed the whole full-screen picture under a
        // clip, the raster engine spreads a blit of all of it over threads on
        // every tick; the damaged rectangles are a small part of it.
        if (!m_scaled.isNull())
            for (const QRect& r : event->region())
                p.drawImage(r.topLeft(), m_scaled, r);
    } else if (!m_picture.isNull()) {
        p.drawImage(0, 0, m_picture);
    }
}

void TImage::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_stretch && event->size() != event->oldSize())
        rescale();
}

void TImage::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved(event->position().toPoint());
    QWidget::mouseMoveEvent(event);
}

void TImage::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    emit mouseDown(event->button(), event->position().toPoint());
}

void TImage::mouseReleaseEvent(QMouseEvent* event)
{
    // A click is a left press and release over the control.
    const bool click = m_pressed && event->button() == Qt::LeftButton
                       && rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click)
        emit clicked();
}
