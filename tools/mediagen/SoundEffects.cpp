#include "SoundEffects.h"

#include "ToneSynth.h"

namespace tavlix::mediagen {

namespace {

constexpr double kPeak = 0.6;  // of full scale: clear, never harsh beside the music

// A soft, slightly hollow timbre for the navigation blips.
const std::vector<Partial> kBlip{{1, 1}, {2, 0.25}, {3, 0.08}};
// Struck-metal overtones (the inharmonic ratios of a small bell).
const std::vector<Partial> kBell{{1, 1}, {2, 0.6}, {2.76, 0.45}, {5.4, 0.25}, {8.93, 0.12}};

// The first n harmonics at 1/k: a sawtooth without the aliasing of a naive one.
std::vector<Partial> Sawtooth(int n)
{
    std::vector<Partial> partials;
    for (int k = 1; k <= n; ++k)
        partials.push_back({double(k), 1.0 / k});
    return partials;
}

std::vector<std::int16_t> Glide(double fromHz, double toHz)
{
    ToneSynth synth(kSoundSampleRate, 0.16);
    synth.Add(Tone{.start = 0, .length = 0.16, .startHz = fromHz, .endHz = toHz, .level = 1,
                   .attack = 0.006, .decay = 0.07, .damping = 0.5, .partials = kBlip});
    return synth.Render(kPeak);
}

// C6, E6, G6, C7 in quick succession, each ringing on.
std::vector<std::int16_t> Correct()
{
    ToneSynth synth(kSoundSampleRate, 0.62);
    const double notes[] = {1046.50, 1318.51, 1567.98, 2093.00};
    for (int i = 0; i < 4; ++i)
        synth.Add(Tone{.start = 0.07 * i, .length = 0.62 - 0.07 * i, .startHz = notes[i],
                       .endHz = notes[i], .level = i == 3 ? 1.0 : 0.8, .attack = 0.004,
                       .decay = i == 3 ? 0.18 : 0.1, .damping = 0.6,
                       .partials = {{1, 1}, {2, 0.3}, {3, 0.1}}});
    return synth.Render(kPeak);
}

// Two low, slightly detuned sawtooths sagging in pitch: a dull buzz.
std::vector<std::int16_t> Incorrect()
{
    ToneSynth synth(kSoundSampleRate, 0.42);
    for (const double hz : {110.0, 111.3})
        synth.Add(Tone{.start = 0, .length = 0.42, .startHz = hz, .endHz = hz * 0.9, .level = 0.5,
                       .attack = 0.01, .decay = 0.35, .damping = 0.05, .partials = Sawtooth(24)});
    return synth.Render(kPeak);
}

// Two knocks on wood: a falling thump with a short dull rasp on it.
std::vector<std::int16_t> Abnormal()
{
    ToneSynth synth(kSoundSampleRate, 0.26);
    for (const int knock : {0, 1}) {
        const double start = 0.13 * knock;
        synth.Add(Tone{.start = start, .length = 0.11, .startHz = 210, .endHz = 120, .level = 1,
                       .attack = 0.001, .decay = 0.025, .damping = 0.3,
                       .partials = {{1, 1}, {2.3, 0.4}}});
        synth.Add(NoiseBurst{.start = start, .length = 0.05, .level = 0.5, .attack = 0.0005,
                             .decay = 0.008, .smoothing = 0.7, .seed = 24u + unsigned(knock)});
    }
    return synth.Render(kPeak);
}

// A small bell struck twice, the second time higher, left to ring.
std::vector<std::int16_t> TimeUp()
{
    ToneSynth synth(kSoundSampleRate, 0.9);
    synth.Add(Tone{.start = 0, .length = 0.9, .startHz = 880, .endHz = 880, .level = 0.8,
                   .attack = 0.002, .decay = 0.3, .damping = 0.4, .partials = kBell});
    synth.Add(Tone{.start = 0.22, .length = 0.68, .startHz = 1174.66, .endHz = 1174.66, .level = 1,
                   .attack = 0.002, .decay = 0.3, .damping = 0.4, .partials = kBell});
    return synth.Render(kPeak);
}

}  // namespace

std::vector<SoundEffect> BuildSoundEffects()
{
    return {
        {"next.wav", Glide(660, 1320)},
        {"previous.wav", Glide(1320, 660)},
        {"correct.wav", Correct()},
        {"incorrect.wav", Incorrect()},
        {"abnormal.wav", Abnormal()},
        {"timeup.wav", TimeUp()},
    };
}

}  // namespace tavlix::mediagen
