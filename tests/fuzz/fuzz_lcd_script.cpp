// The animator's script lines, run step by step on a display: a line that
// does not convert raises an Error and leaves the display as it was.
#include "base/error.h"
#include "lcd/LCDAnimator.h"
#include "lcd/LCDScreen.h"
#include "play/counters.h"
#include "tests/fuzz/fuzz_common.h"

namespace {
TLCDScreen* display;
TLCDAnimator* animator;
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::startApplication();
    display = new TLCDScreen();
    animator = new TLCDAnimator(display);
    display->setLCDAnimator(animator);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Each input starts from the same display.
    configureCounterDisplay(display);
    display->resize(485, 65);
    display->Lines()->Assign({QStringLiteral("СБИТО - 12"), QStringLiteral("<b>x</b>")});
    animator->setCode(fuzz::lines(data, size));
    animator->setCurrentLine(0);
    const int steps = std::min(2 * animator->Code()->Count(), 64);
    for (int i = 0; i < steps; ++i) {
        try {
            display->AnimationStep();
        } catch (const zephyra::Error&) {
            animator->setCurrentLine(qint16(animator->CurrentLine() + 1));
        }
    }
    display->composeFrame();
    return 0;
}
