#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A small, fast generator whose whole state is one number, so any input can
// be made again from the run's seed and its index alone.
class FuzzRandom {
public:
    explicit FuzzRandom(uint64_t seed) : m_state(seed) {}

    // The generator of one input of one kind.
    static FuzzRandom ForInput(uint64_t seed, int kind, uint64_t index)
    {
        FuzzRandom mixer(seed ^ (static_cast<uint64_t>(kind) << 56) ^ (index * 0x9E3779B97F4A7C15ull));
        return FuzzRandom(mixer.Next());
    }

    uint64_t Next()
    {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 .. bound-1; 0 when bound is 0.
    size_t Below(size_t bound) { return bound == 0 ? 0 : static_cast<size_t>(Next() % bound); }
    // True once in `times`.
    bool OneIn(size_t times) { return Below(times) == 0; }
    template <typename T> const T& Pick(const std::vector<T>& items) { return items[Below(items.size())]; }

private:
    uint64_t m_state;
};
