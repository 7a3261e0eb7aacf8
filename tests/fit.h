#pragma once
// Whether the options dialog's captions fit their controls, measured with the
// dialog's own font and style.

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QWidget>

#include <algorithm>
#include <climits>

namespace fixture {

struct CaptionFit {
    QStringList overflowing;  // "control: caption"
    int measured = 0;         // 9 radio buttons, 2 check boxes, 2 buttons, 5 boxes, 4 labels
    QString tightest;         // the caption with the least room to spare
    int margin = INT_MAX;     // that room across, in pixels
    QString longest;          // the widest caption, and its room
    int longestRoom = 0;
};

inline CaptionFit captionFit(QWidget* dialog)
{
    CaptionFit fit;
    QStyle* style = dialog->style();
    // room: the width to spare; the height only has to fit.
    int widest = 0;
    const auto check = [&](int room, bool tallEnough, const QWidget* w, const QString& text) {
        if (const int advance = w->fontMetrics().horizontalAdvance(text); advance > widest) {
            widest = advance;
            fit.longest = text;
            fit.longestRoom = room;
        } else if (text == fit.longest) {
            fit.longestRoom = std::min(fit.longestRoom, room);
        }
        if (room < 0 || !tallEnough)
            fit.overflowing << w->objectName() + QLatin1String(": ") + text;
        if (room < fit.margin) {
            fit.margin = room;
            fit.tightest = text;
        }
    };
    for (QAbstractButton* b : dialog->findChildren<QAbstractButton*>()) {
        const QFontMetrics fm = b->fontMetrics();
        QStyleOptionButton opt;
        opt.initFrom(b);
        opt.text = b->text();
        QStyle::SubElement contents = QStyle::SE_PushButtonContents;
        if (qobject_cast<QRadioButton*>(b))
            contents = QStyle::SE_RadioButtonContents;
        else if (qobject_cast<QCheckBox*>(b))
            contents = QStyle::SE_CheckBoxContents;
        const QRect area = style->subElementRect(contents, &opt, b);
        check(area.width() - fm.horizontalAdvance(b->text()), fm.height() <= area.height(), b, b->text());
        // The style's own idea of the room it needs, indicator and margins included.
        check(b->width() - b->sizeHint().width(), true, b, b->text());
        ++fit.measured;
    }
    for (QGroupBox* g : dialog->findChildren<QGroupBox*>()) {
        QStyleOptionGroupBox opt;
        opt.initFrom(g);
        opt.text = g->title();
        opt.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        const QRect label = style->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, g);
        check(g->width() - 5 - label.right(),
              g->fontMetrics().horizontalAdvance(g->title()) <= label.width(), g, g->title());
        ++fit.measured;
    }
    for (QLabel* l : dialog->findChildren<QLabel*>()) {
        const QFontMetrics fm = l->fontMetrics();
        // A text that wraps needs the height of its lines instead.
        if (l->wordWrap())
            check(l->height() - l->heightForWidth(l->width()), true, l, l->text());
        else
            check(l->contentsRect().width() - fm.horizontalAdvance(l->text()),
                  fm.height() <= l->contentsRect().height(), l, l->text());
        ++fit.measured;
    }
    return fit;
}

}  // namespace fixture
