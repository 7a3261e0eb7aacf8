#pragma once
// What every fuzz target shares: an offscreen application for the code that
// needs one, and the input cut into lines of the display's code page.

#include "lcd/LCDText.h"

#include <QApplication>
#include <QStringList>

#include <cstddef>
#include <cstdint>

namespace fuzz {

inline void startApplication()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: at exit Qt's fonts outlive the thread data they need.
    static auto* app = new QApplication(argc, argv);
    Q_UNUSED(app);
}

// Bytes are Windows-1251 codes, as the display stores them; '\n' ends a line.
inline QStringList lines(const std::uint8_t* data, std::size_t size)
{
    QStringList out{QString()};
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '\n')
            out.append(QString());
        else
            out.last().append(TLCDText::fromCodePage(data[i]));
    }
    return out;
}

}  // namespace fuzz
