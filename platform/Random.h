#pragma once
// Random integers for the question draw. Every draw re-seeds the generator from the
// high-resolution clock first, so each candidate is the first value after a fresh seed.
#include <memory>

class RandomSource {
public:
    virtual ~RandomSource() = default;
    // An integer spread evenly over 0 to range - 1; 0 when range is 0 or less.
    virtual int draw(int range) = 0;
};

// Re-seeds from the clock and draws: the source the game uses.
int randomBelow(int range);

// Replaces the source (tests feed their own sequences); nullptr restores the clock-seeded one.
std::unique_ptr<RandomSource> setRandomSource(std::unique_ptr<RandomSource> source);
