#pragma once

#include <cstdint>
#include <limits>
#include <numeric>
#include <optional>

namespace tavlix {

// An exact fraction in lowest terms with a positive denominator. Four numbers up to 13
// under + - * / stay far inside 64 bits (no value or denominator passes 13^4), but an
// operation still refuses, rather than wraps, a result that would not fit.
class Rational {
public:
    constexpr Rational(std::int64_t whole = 0) : m_numerator(whole) {}

    std::int64_t Numerator() const { return m_numerator; }
    std::int64_t Denominator() const { return m_denominator; }
    bool IsWhole() const { return m_denominator == 1; }

    // Nothing on overflow, and for DividedBy also on a zero divisor.
    std::optional<Rational> Plus(const Rational& other) const
    {
        std::int64_t left = 0, right = 0, numerator = 0, denominator = 0;
        if (Overflows(m_numerator, other.m_denominator, left) ||
            Overflows(other.m_numerator, m_denominator, right) ||
            __builtin_add_overflow(left, right, &numerator) ||
            Overflows(m_denominator, other.m_denominator, denominator))
            return std::nullopt;
        return Reduced(numerator, denominator);
    }

    std::optional<Rational> Minus(const Rational& other) const
    {
        std::int64_t negated = 0;
        if (__builtin_sub_overflow(std::int64_t(0), other.m_numerator, &negated))
            return std::nullopt;
        return Plus(Rational(negated, other.m_denominator));
    }
    std::optional<Rational> Times(const Rational& other) const
    {
        std::int64_t numerator = 0, denominator = 0;
        if (Overflows(m_numerator, other.m_numerator, numerator) ||
            Overflows(m_denominator, other.m_denominator, denominator))
            return std::nullopt;
        return Reduced(numerator, denominator);
    }
    std::optional<Rational> DividedBy(const Rational& other) const
    {
        if (other.m_numerator == 0)
            return std::nullopt;
        if (other.m_numerator > 0)
            return Times(Rational(other.m_denominator, other.m_numerator));
        std::int64_t numerator = 0, denominator = 0;
        if (__builtin_sub_overflow(std::int64_t(0), other.m_denominator, &numerator) ||
            __builtin_sub_overflow(std::int64_t(0), other.m_numerator, &denominator))
            return std::nullopt;
        return Times(Rational(numerator, denominator));
    }

    // Compared with a whole number through the whole part and the remainder, which
    // cannot overflow; the remainder takes the sign of the numerator.
    bool IsAbove(std::int64_t whole) const
    {
        const std::int64_t part = m_numerator / m_denominator;
        return part > whole || (part == whole && m_numerator % m_denominator > 0);
    }
    bool IsBelow(std::int64_t whole) const
    {
        const std::int64_t part = m_numerator / m_denominator;
        return part < whole || (part == whole && m_numerator % m_denominator < 0);
    }
    bool operator==(const Rational&) const = default;

private:
    constexpr Rational(std::int64_t numerator, std::int64_t denominator)
        : m_numerator(numerator), m_denominator(denominator)
    {
    }
    static bool Overflows(std::int64_t a, std::int64_t b, std::int64_t& product)
    {
        return __builtin_mul_overflow(a, b, &product);
    }
    // The smallest number has no positive counterpart, which gcd needs.
    static std::optional<Rational> Reduced(std::int64_t numerator, std::int64_t denominator)
    {
        if (numerator == std::numeric_limits<std::int64_t>::min())
            return std::nullopt;
        const std::int64_t divisor = std::gcd(numerator, denominator);
        return Rational(numerator / divisor, denominator / divisor);
    }

    std::int64_t m_numerator = 0;
    std::int64_t m_denominator = 1;
};

}  // namespace tavlix
