#pragma once
// What the play field lays over a round for the grown-ups' choices: the cue
// that fills while Esc is held to leave a locked round, and the evening that
// falls over the field when play time is up. Both are drawn, not pictures,
// so they are sharp at every scale and size.

#include "assets/lettering.h"

#include <QImage>
#include <QWidget>

// The play background with the hint that says how to leave written into it
// at the upper left, for stretching over fill device pixels.
QImage fieldBackground(const QString& hint, QSize fill);
// The hint as the background writes it, in its drawing's units.
zephyra::Words fieldHint(const QString& hint);

// A round badge with an Esc key and a ring that fills clockwise, over its
// accessible name as the caption.
class TEscCue : public QWidget {
    Q_OBJECT
public:
    explicit TEscCue(QWidget* parent);

    // 0 (just pressed) to 1 (held long enough).
    double Progress() const { return m_progress; }
    void setProgress(double progress);
    // Sized to its caption, centred in its parent.
    void place();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double m_progress = 0;
};

// The evening sky over the whole field: deep blue above, a warm glow low down,
// with the field showing through.
class TDusk : public QWidget {
    Q_OBJECT
public:
    explicit TDusk(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};
