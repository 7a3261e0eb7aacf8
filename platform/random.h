#pragma once
// One random generator for the whole game, seeded once from the clock.

#include <QtGlobal>

namespace zephyra {

void seedRandomFromClock();
void seedRandom(quint32 seed);
// Uniform in 0 .. n-1; 0 when n <= 0.
int randomInt(int n);

}  // namespace zephyra
