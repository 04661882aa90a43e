#include "ToneSynth.h"

#include <algorithm>
#include <cmath>

namespace tavlix::mediagen {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRelease = 0.004;  // seconds of fade at a sound's end

}  // namespace

double Sine(double turns)
{
    double t = turns - std::floor(turns);  // exact, [0, 1)
    double sign = 1;
    if (t >= 0.5) {
        sign = -1;
        t -= 0.5;
    }
    if (t > 0.25)
        t = 0.5 - t;
    // Taylor series on [0, pi/2]: the first left-out term is below 1e-9.
    const double x = 2 * kPi * t;
    const double x2 = x * x;
    double sum = 1;
    for (int n = 13; n > 1; n -= 2)
        sum = 1 - x2 / double(n * (n - 1)) * sum;
    return sign * x * sum;
}

double Exp(double x)
{
    if (x < -60)
        return 0;  // far below a 16-bit sample's step, and out of the series' reach
    // e^x = (e^(x/1024))^1024, with a short series for the small power.
    const double y = x / 1024;
    double r = 1 + y * (1 + y / 2 * (1 + y / 3 * (1 + y / 4 * (1 + y / 5))));
    for (int i = 0; i < 10; ++i)
        r *= r;
    return r;
}

ToneSynth::ToneSynth(unsigned sampleRate, double seconds)
    : m_sampleRate(sampleRate), m_mix(std::size_t(seconds * sampleRate), 0.0)
{
}

double ToneSynth::Envelope(double t, double length, double attack, double decay) const
{
    double level = t < attack ? t / attack : Exp(-(t - attack) / decay);
    if (t > length - kRelease)
        level *= std::max(0.0, (length - t) / kRelease);
    return level;
}

void ToneSynth::Add(const Tone& tone)
{
    const std::size_t first = std::size_t(tone.start * m_sampleRate);
    const std::size_t count = std::size_t(tone.length * m_sampleRate);
    for (const Partial& p : tone.partials) {
        const double decay = tone.decay / (1 + tone.damping * (p.ratio - 1));
        double phase = 0;
        for (std::size_t i = 0; i < count && first + i < m_mix.size(); ++i) {
            const double t = double(i) / m_sampleRate;
            const double hz = tone.startHz + (tone.endHz - tone.startHz) * (t / tone.length);
            const double partialHz = hz * p.ratio;
            if (partialHz < m_sampleRate / 2.0)
                m_mix[first + i] += tone.level * p.gain * Envelope(t, tone.length, tone.attack, decay)
                                    * Sine(phase);
            phase += partialHz / m_sampleRate;
            phase -= std::floor(phase);
        }
    }
}

void ToneSynth::Add(const NoiseBurst& noise)
{
    const std::size_t first = std::size_t(noise.start * m_sampleRate);
    const std::size_t count = std::size_t(noise.length * m_sampleRate);
    std::uint32_t state = noise.seed;
    double filtered = 0;
    for (std::size_t i = 0; i < count && first + i < m_mix.size(); ++i) {
        state = state * 1664525u + 1013904223u;  // the usual 32-bit linear congruential step
        const double white = double(state >> 8) / double(1u << 23) - 1;
        filtered = noise.smoothing * filtered + (1 - noise.smoothing) * white;
        const double t = double(i) / m_sampleRate;
        m_mix[first + i] += noise.level * Envelope(t, noise.length, noise.attack, noise.decay) * filtered;
    }
}

std::vector<std::int16_t> ToneSynth::Render(double peak) const
{
    double loudest = 0;
    for (const double v : m_mix)
        loudest = std::max(loudest, std::abs(v));
    const double scale = loudest > 0 ? peak * 32767 / loudest : 0;
    std::vector<std::int16_t> samples;
    samples.reserve(m_mix.size());
    for (const double v : m_mix)
        samples.push_back(std::int16_t(std::clamp(std::floor(v * scale + 0.5), -32767.0, 32767.0)));
    return samples;
}

}  // namespace tavlix::mediagen
