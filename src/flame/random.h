#pragma once

#include <cstdint>

// The renderer's 15-bit linear congruential generator. A fresh one starts at state 1, so every
// run draws the same sequence.
struct RandomGenerator {
    std::uint32_t state = 1;
};

inline int NextRandom(RandomGenerator& generator) {
    generator.state = generator.state * 214013u + 2531011u;
    return static_cast<int>((generator.state >> 16) & 0x7FFFu);
}
