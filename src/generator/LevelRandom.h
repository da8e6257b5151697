#pragma once
// The level generator's own random numbers: splitmix64 and distributions
// written out here, so that a seed gives the same level with every compiler
// and standard library (the standard distributions are not specified to the
// bit and differ between libraries).

#include <cstdint>
#include <utility>
#include <vector>

namespace tsl {

class LevelRandom {
public:
    explicit LevelRandom(std::uint64_t seed) : state_(seed) {}

    std::uint64_t Next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 to n - 1 (n > 0), every value equally likely.
    int Below(int n)
    {
        const auto range = static_cast<std::uint64_t>(n);
        const std::uint64_t limit = UINT64_MAX - UINT64_MAX % range;
        std::uint64_t value = Next();
        while (value >= limit)
            value = Next();
        return static_cast<int>(value % range);
    }
    // `low` to `high`, both included.
    int Between(int low, int high) { return low + Below(high - low + 1); }
    bool Percent(int percent) { return Below(100) < percent; }
    template <class T>
    const T& Pick(const std::vector<T>& values)
    {
        return values[static_cast<std::size_t>(Below(static_cast<int>(values.size())))];
    }
    template <class T>
    void Shuffle(std::vector<T>& values)
    {
        for (std::size_t i = values.size(); i > 1; --i)
            std::swap(values[i - 1], values[static_cast<std::size_t>(Below(static_cast<int>(i)))]);
    }
    // An index into `weights` (not all 0), each as likely as its weight.
    int Weighted(const std::vector<int>& weights)
    {
        int total = 0;
        for (const int w : weights)
            total += w;
        int roll = Below(total);
        for (std::size_t i = 0; i < weights.size(); ++i) {
            if (roll < weights[i])
                return static_cast<int>(i);
            roll -= weights[i];
        }
        return static_cast<int>(weights.size()) - 1;
    }

private:
    std::uint64_t state_;
};

// The seed of try `attempt` (from 1) for the user's `seed`: the first try
// uses a mix of the seed itself, each later one the next derived seed.
inline std::uint64_t DeriveSeed(std::uint32_t seed, int attempt)
{
    LevelRandom mix((static_cast<std::uint64_t>(seed) << 16) ^ static_cast<std::uint64_t>(attempt));
    return mix.Next();
}

} // namespace tsl
