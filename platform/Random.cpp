#include "platform/Random.h"

#include <chrono>
#include <cstdint>
#include <random>

namespace {

class ClockSeededRandom final : public RandomSource {
public:
    int draw(int range) override
    {
        if (range <= 0)
            return 0;
        // The low 32 bits of the high-resolution counter, taken afresh for every draw.
        const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
        std::minstd_rand generator(static_cast<std::uint32_t>(ticks));
        return std::uniform_int_distribution<int>(0, range - 1)(generator);
    }
};

std::unique_ptr<RandomSource> &current()
{
    static std::unique_ptr<RandomSource> source = std::make_unique<ClockSeededRandom>();
    return source;
}

} // namespace

int randomBelow(int range)
{
    return current()->draw(range);
}

std::unique_ptr<RandomSource> setRandomSource(std::unique_ptr<RandomSource> source)
{
    if (!source)
        source = std::make_unique<ClockSeededRandom>();
    std::swap(current(), source);
    return source;
}
