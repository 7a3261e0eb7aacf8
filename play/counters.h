#pragma once
// How the play field's two counters look: the display settings and the font
// that make "ВЫЛЕТЕЛО - 99999" fit 96 dot columns and "СБИТО - 9999" 72.

#include <QFont>

class TLCDScreen;

// The embedded counter font (Terminus, 6 x 12 pixel cells), registered with
// the font database on first use; rendered without anti-aliasing.
QFont lcdCounterFont();

// Black panel, lime font over green unlit dots, 4 x 4 square dots with
// spacing 1, border 3, lowered bevel, full intensity, text mode, no
// animation, the counter font. 485 x 65 and 365 x 65 both hold whole dots
// (96 x 12 and 72 x 12), so the displays keep their laid-out sizes.
void configureCounterDisplay(TLCDScreen* display);
