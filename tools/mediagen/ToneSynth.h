#pragma once

#include <cstdint>
#include <vector>

namespace tavlix::mediagen {

// A sine of the given turns (one turn is a full period) from +, -, * and / alone, so
// every compiler and C library computes the same samples and the committed sounds
// rebuild byte for byte.
double Sine(double turns);
// e to the power x, on the same terms.
double Exp(double x);

// One component of a tone: frequency ratio to the tone's pitch and its share of the level.
struct Partial {
    double ratio;
    double gain;
};

// A tone that sounds from start for length seconds; its pitch glides linearly from
// startHz to endHz. The level rises linearly over attack seconds, then falls by e every
// decay seconds (a partial of ratio r falls 1 + damping * (r - 1) times as fast, so
// overtones fade first), and the last few milliseconds fade to silence without a click.
struct Tone {
    double start = 0;
    double length = 0.1;
    double startHz = 440;
    double endHz = 440;
    double level = 1;
    double attack = 0.005;
    double decay = 1;
    double damping = 0;
    std::vector<Partial> partials{{1, 1}};
};

// Low-passed white noise with the same envelope; smoothing in 0..1 is how much of the
// previous value each sample keeps (more is duller). seed makes it repeatable.
struct NoiseBurst {
    double start = 0;
    double length = 0.05;
    double level = 1;
    double attack = 0.001;
    double decay = 0.02;
    double smoothing = 0.5;
    std::uint32_t seed = 1;
};

// A mono buffer of the given length that tones and noise are mixed into.
class ToneSynth {
public:
    ToneSynth(unsigned sampleRate, double seconds);

    void Add(const Tone& tone);
    void Add(const NoiseBurst& noise);

    // The mix scaled so its loudest sample reaches peak (0..1 of full scale), as 16-bit
    // samples; silence stays silence.
    std::vector<std::int16_t> Render(double peak) const;

private:
    double Envelope(double t, double length, double attack, double decay) const;

    unsigned m_sampleRate;
    std::vector<double> m_mix;
};

}  // namespace tavlix::mediagen
