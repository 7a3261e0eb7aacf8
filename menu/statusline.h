#pragma once
// One line over the start screen saying what a grown-up has put in force
// (the child lock, the play time left, easy play), drawn in the game's own
// look: brown words on a cream band. Hidden while nothing is in force.

#include <QWidget>

class TStatusLine : public QWidget {
    Q_OBJECT
public:
    // Centred on the given row of its parent.
    TStatusLine(QWidget* parent, int top);

    QString Text() const { return accessibleName(); }
    // Sized to the text; an empty text hides the line.
    void setText(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_top;
};
