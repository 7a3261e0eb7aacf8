#include "controls/TImage.h"

#include "base/error.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QtMath>

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

void TImage::setPictureSource(std::function<QImage(QSize)> loader)
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
    const qreal ratio = devicePixelRatioF();
    // Rounded up: a device pixel left uncovered would show garbage.
    const QSize device(qCeil(width() * ratio), qCeil(height() * ratio));
    if (device.isEmpty()) {
        m_scaled = QImage();
        return;
    }
    if (m_loader) {
        // Decode, scale, and let the large source go again.
        QImage source;
        zephyra::runHandler([&] { source = m_loader(device); });
        m_scaled = source.isNull()
                       ? QImage()
                       : source.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                             .convertToFormat(source.hasAlphaChannel()
                                                  ? QImage::Format_ARGB32_Premultiplied
                                                  : QImage::Format_RGB32);
    } else if (m_picture.isNull()) {
        m_scaled = QImage();
    } else {
        m_scaled = m_picture.size() == device
                       ? m_picture
                       : m_picture.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    m_scaled.setDevicePixelRatio(ratio);
}

void TImage::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    if (m_stretch) {
        // A move to a screen of another density scales again.
        if (m_scaleDirty || (!m_scaled.isNull() && m_scaled.devicePixelRatio() != devicePixelRatioF()))
            scaleNow();
        // Rectangle by rectangle, each under a clip of itself alone: under
        // the paint event's clip of many rectangles the raster engine hands
        // every copy taller than a few dozen rows to worker threads and waits
        // for them, and on a busy machine the frame waits for the scheduler.
        // Under a one-rectangle clip it copies the rows straight across. Each
        // is copied pixel for pixel from the copy at the screen's density.
        const qreal ratio = m_scaled.devicePixelRatio();
        if (!m_scaled.isNull())
            for (const QRect& r : event->region()) {
                p.setClipRect(r, Qt::ReplaceClip);
                p.drawImage(QPointF(r.topLeft()), m_scaled,
                            QRectF(r.x() * ratio, r.y() * ratio, r.width() * ratio, r.height() * ratio));
            }
    } else if (!m_picture.isNull()) {
        const qreal ratio = devicePixelRatioF();
        if (ratio != 1 && m_picture.devicePixelRatio() == ratio) {
            // At the picture's own density its pixels go across one for one,
            // drawn in device pixels. Through the painter's scaling the raster
            // engine would take its general path, which hands every picture
            // taller than a few dozen rows to worker threads and waits.
            p.setWorldTransform(QTransform::fromScale(1 / ratio, 1 / ratio));
            p.drawImage(0, 0, QImage(m_picture.constBits(), m_picture.width(), m_picture.height(),
                                     m_picture.bytesPerLine(), m_picture.format()));
        } else {
            p.drawImage(0, 0, m_picture);
        }
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
