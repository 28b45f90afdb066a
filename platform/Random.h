#pragma once
// Random integers for the question draw. The game's source is one generator seeded once, from
// the clock, when it is first used; every number after that comes from the same sequence, so
// successive numbers are independent of each other and of when they were asked for.
#include <cstdint>
#include <functional>
#include <memory>

class RandomSource {
public:
    virtual ~RandomSource() = default;
    // An integer spread evenly over 0 to range - 1; 0 when range is 0 or less.
    virtual int draw(int range) = 0;
};

// Draws from the game's source.
int randomBelow(int range);

// Replaces the source (tests feed their own sequences); nullptr restores a clock-seeded one.
std::unique_ptr<RandomSource> setRandomSource(std::unique_ptr<RandomSource> source);

// A source like the game's, seeded from `clock` (the high-resolution clock when empty) the first
// time it draws.
std::unique_ptr<RandomSource> makeClockSeededRandom(std::function<std::uint64_t()> clock = {});
