#pragma once

namespace tavlix {

// Where the mixer's stream is heard: a sound server or the sound card itself. It renders
// from the mixer on a thread of its own and rests while the mixer is idle.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    // A new sound waits: a resting output plays again.
    virtual void Wake() = 0;
    // False once the device or server went away; a new output then finds what is there.
    virtual bool IsAlive() const = 0;
};

}  // namespace tavlix
