// The display's markup parsing and text rendering: any lines, any effects,
// through the public control as the play field uses it.
#include "lcd/LCDScreen.h"
#include "play/counters.h"
#include "tests/fuzz/fuzz_common.h"

namespace {
TLCDScreen* display;
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::startApplication();
    display = new TLCDScreen();
    configureCounterDisplay(display);
    display->resize(485, 65);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks the effects the markup may switch on.
    display->setSpecialEffects(data[0] & 0x3f);
    display->Lines()->Assign(fuzz::lines(data + 1, size - 1));
    const QImage text = display->textImage();
    if (!text.isNull() && text.format() != QImage::Format_Mono)
        __builtin_trap();
    display->composeFrame();
    return 0;
}
