#include "platform/Random.h"

#include <chrono>
#include <random>

namespace {

std::uint64_t highResolutionTicks()
{
    return std::uint64_t(std::chrono::high_resolution_clock::now().time_since_epoch().count());
}

class ClockSeededRandom final : public RandomSource {
public:
    explicit ClockSeededRandom(std::function<std::uint64_t()> clock) : m_clock(std::move(clock)) {}

    int draw(int range) override
    {
        if (range <= 0)
            return 0;
        if (!m_seeded) {
            // seed_seq spreads every bit of the clock over the whole state, so two sources
            // seeded a tick apart (two copies started together) share no pattern either.
            const std::uint64_t ticks = m_clock();
            std::seed_seq seed{std::uint32_t(ticks), std::uint32_t(ticks >> 32)};
            m_generator.seed(seed);
            m_seeded = true;
        }
        return std::uniform_int_distribution<int>(0, range - 1)(m_generator);
    }

private:
    std::function<std::uint64_t()> m_clock;
    std::mt19937 m_generator;
    bool m_seeded = false;
};

std::unique_ptr<RandomSource> &current()
{
    static std::unique_ptr<RandomSource> source = makeClockSeededRandom();
    return source;
}

} // namespace

std::unique_ptr<RandomSource> makeClockSeededRandom(std::function<std::uint64_t()> clock)
{
    if (!clock)
        clock = highResolutionTicks;
    return std::make_unique<ClockSeededRandom>(std::move(clock));
}

int randomBelow(int range)
{
    return current()->draw(range);
}

std::unique_ptr<RandomSource> setRandomSource(std::unique_ptr<RandomSource> source)
{
    if (!source)
        source = makeClockSeededRandom();
    std::swap(current(), source);
    return source;
}
