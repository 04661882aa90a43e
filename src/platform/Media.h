#pragma once

namespace tavlix {

// Background music and sound effects. The players come with the music settings;
// until then the program is silent.
class Media {
public:
    enum class Sound { Correct, Wrong, Rejected, Next, Previous, TimeUp };
    enum class Mode { Free, Training, TrainingGame, WorldCup };

    virtual ~Media() = default;
    virtual void PlaySound(Sound sound) = 0;
    virtual void StartMusicFor(Mode mode) = 0;
    virtual bool IsMusicOn() const = 0;
    virtual void SetMusicOn(bool on) = 0;
};

class SilentMedia : public Media {
public:
    void PlaySound(Sound) override {}
    void StartMusicFor(Mode) override {}
    bool IsMusicOn() const override { return m_on; }
    void SetMusicOn(bool on) override { m_on = on; }

private:
    bool m_on = false;
};

}  // namespace tavlix
