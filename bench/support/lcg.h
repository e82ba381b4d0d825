// The random numbers of the benchmark generators.
#pragma once

#include <cstdint>

namespace objbench {

// A fixed 64-bit linear congruential generator: the same numbers on every
// machine and library, unlike the standard distributions.
class Lcg {
  public:
    explicit Lcg(std::uint64_t seed) : state_(seed) {}
    std::uint32_t Next() {
        state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<std::uint32_t>(state_ >> 33);
    }
    // 0 .. n - 1 (n > 0).
    int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }
    // True with probability per_mille / 1000.
    bool Chance(int per_mille) { return Below(1000) < per_mille; }

  private:
    std::uint64_t state_;
};

}  // namespace objbench
