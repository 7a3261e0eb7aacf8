#include "platform/random.h"

#include <chrono>
#include <random>

namespace zephyra {

namespace {

std::mt19937& generator()
{
    static std::mt19937 g(5489u);
    return g;
}

}  // namespace

void seedRandomFromClock()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count()
                   ^ std::chrono::system_clock::now().time_since_epoch().count();
    generator().seed(static_cast<std::mt19937::result_type>(now));
}

void seedRandom(quint32 seed) { generator().seed(seed); }

int randomInt(int n)
{
    if (n <= 0)
        return 0;
    std::uniform_int_distribution<int> d(0, n - 1);
    return d(generator());
}

}  // namespace zephyra
