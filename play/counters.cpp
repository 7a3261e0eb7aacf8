#include "play/counters.h"

#include "lcd/LCDScreen.h"

#include <QFile>
#include <QFontDatabase>

QFont lcdCounterFont()
{
    static const QString family = [] {
        QFile file(QStringLiteral(":/fonts/terminus-normal.otb"));
        if (!file.open(QIODevice::ReadOnly))
            return QString();
        const int id = QFontDatabase::addApplicationFontFromData(file.readAll());
        return id < 0 ? QString() : QFontDatabase::applicationFontFamilies(id).value(0);
    }();
    QFont font(family.isEmpty() ? QStringLiteral("monospace") : family);
    font.setPixelSize(12);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::PreferBitmap));
    return font;
}

void configureCounterDisplay(TLCDScreen* display)
{
    if (!display)
        return;
    display->setDisplayMode(TLCDScreen::dmText);
    display->setColor(Qt::black);
    display->setFont(lcdCounterFont());
    display->setFontColor(QColor(0, 255, 0));
    display->setPixelOff(QColor(0, 128, 0));
    display->setPixelShape(TLCDScreen::psSquare);
    display->setPixelSize(TLCDScreen::pix4x4);
    display->setPixelSpacing(1);
    display->setBorderSpace(3);
    display->setBorderStyle(TLCDScreen::bsLowered);
    display->setIntensity(127);
    display->setLinesAnimMode(TLCDScreen::amDynamic);
    display->setLinesXOffset(0);
    display->setLinesYOffset(0);
    display->setBitmapCopyMode(TLCDScreen::cmNotTransparent);
    display->setBitmapAnimMode(TLCDScreen::amDynamic);
    display->setBitmapXOffset(0);
    display->setBitmapYOffset(0);
    display->setAnimationEnabled(false);
    display->setAnimationRepeating(false);
    display->setAnimationDelay(251);
    display->setSpecialEffects(0);
}
