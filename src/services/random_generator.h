#pragma once

#include <cstdint>

namespace tessaly {

// The C run-time's linear congruential generator, reproduced bit for bit so
// that random layouts, shuffles and the hover animation give the same
// sequence for the same seed on every platform:
//   state = state x 214013 + 2531011 (mod 2^32), value = bits 16..30.
class CrtRandom {
public:
    static constexpr int kMax = 0x7FFF;

    // Seeded with 1, as the run-time is before its first seeding.
    CrtRandom() = default;
    explicit CrtRandom(std::uint32_t seed) : state_(seed) {}

    void Seed(std::uint32_t seed) { state_ = seed; }
    // Seeds with the current time in whole seconds.
    void SeedFromClock();

    // The next value, 0..kMax.
    int Next();

    std::uint32_t State() const { return state_; }

private:
    std::uint32_t state_ = 1;
};

}  // namespace tessaly
