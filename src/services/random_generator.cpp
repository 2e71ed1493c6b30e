#include "services/random_generator.h"

#include <ctime>

namespace tessaly {

void CrtRandom::SeedFromClock() {
    Seed(static_cast<std::uint32_t>(std::time(nullptr)));
}

int CrtRandom::Next() {
    // Unsigned arithmetic wraps modulo 2^32, which is the generator's modulus.
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFFu);
}

}  // namespace tessaly
