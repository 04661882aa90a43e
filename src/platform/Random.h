#pragma once

#include <cstdint>
#include <random>

namespace tavlix {

// The pseudo-random numbers that pick questions; tests pass a seeded or scripted one.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual void Seed(std::uint32_t seed) = 0;
    virtual std::uint32_t Next() = 0;
};

class StandardRandom : public RandomSource {
public:
    void Seed(std::uint32_t seed) override { m_engine.seed(seed); }
    std::uint32_t Next() override { return std::uint32_t(m_engine()); }

private:
    std::mt19937 m_engine;
};

}  // namespace tavlix
