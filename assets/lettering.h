#pragma once
// Words drawn into a picture at run time, in the lettering of the game's art:
// the rounded display face (embedded) and DejaVu Sans, outlined and shadowed
// as the drawings in assets/art/ letter them. One picture serves every
// language, and the words stay sharp at every size the picture is shown.

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointF>
#include <QSizeF>
#include <QString>

#include <vector>

namespace zephyra {

// One line of words, in the units of the drawing the picture was rendered
// from (a 700 x 500 drawing for a picture shown at 700 x 500, whatever its
// pixels).
struct Words {
    QString text{};
    QFont font{};
    QPointF baseline{};    // where the line starts, or its middle when centred
    bool centred = false;
    QBrush fill = Qt::white;
    QColor outline{};      // drawn under the fill; none when invalid
    qreal outlineWidth = 0;
    QColor shadow{};       // the words once more, beneath; none when invalid
    QPointF shadowOffset{};
    qreal shadowOutline = 0;
    qreal shadowOpacity = 1;
    qreal shadowBlur = 0;  // as a Gaussian's standard deviation
    qreal maxWidth = 0;    // a wider line is narrowed to it; 0 for no limit
};

// The display face, bold, at a size in drawing units (its outlines, unhinted,
// as the art's renderer draws them).
QFont displayFont(int pixelSize);
// The plain face of the art's small print.
QFont plainFont(int pixelSize, bool bold = false);

// How wide the line's words are, in drawing units, before any narrowing.
qreal wordsWidth(const Words& words);

// Draws the lines over a picture rendered from a drawing of the given size.
void drawWords(QImage& picture, QSizeF drawing, const std::vector<Words>& lines);

}  // namespace zephyra
