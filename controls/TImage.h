#pragma once
// A picture control: position, size, visibility and a picture held by value,
// drawn with its alpha over whatever lies beneath, at its own size or
// stretched. A stretched picture keeps a copy scaled to the control's size in
// device pixels, so painting never rescales and a high-density screen gets
// every one of its pixels.

#include <QImage>
#include <QWidget>

#include <functional>

class TImage : public QWidget {
    Q_OBJECT
public:
    explicit TImage(QWidget* parent = nullptr, const QString& name = QString());

    const QImage& Picture() const { return m_picture; }
    void setPicture(const QImage& picture);
    bool Stretch() const { return m_stretch; }
    void setStretch(bool stretch);
    // Makes the picture fill the parent's whole client area and follow its size.
    void setAlignClient(bool align);
    // The control is opaque where its picture is; lets Qt skip painting beneath.
    void setOpaque(bool opaque);
    // Stretched pictures need not stay decoded once scaled: the source can be
    // dropped and a loader called again on the next resize. The loader gets
    // the size to fill in device pixels, so it can pick and reduce the source.
    void setPictureSource(std::function<QImage(QSize)> loader);

signals:
    void mouseMoved(QPoint pos);
    void clicked();
    void mouseDown(Qt::MouseButton button, QPoint pos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rescale();
    void scaleNow();

    QImage m_picture;
    QImage m_scaled;
    std::function<QImage(QSize)> m_loader;
    bool m_stretch = false;
    bool m_alignClient = false;
    bool m_pressed = false;
    bool m_scaleDirty = false;
};
