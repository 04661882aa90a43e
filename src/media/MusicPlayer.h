#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "engine/AnswerChecker.h"
#include "media/MusicSettings.h"
#include "platform/Audio.h"

namespace tavlix {

class LanguageState;

// What the player is doing, which decides the track.
struct MusicSituation {
    RunMode mode = RunMode::Free;
    bool standardRule = true;  // with jqk, the World Cup level
    bool jqk = true;
};

// The background music and the effects: which track the situation asks for, starting,
// pausing and resuming it, looping MIDI tracks, limited previews and the effects. Plain
// logic over the audio device; the window supplies a one-second tick and the shell.
class MusicPlayer {
public:
    struct Hooks {
        // Starts (true) or stops (false) the one-second tick that calls OnCountdownTick.
        std::function<void(bool running)> countdownTimer;
        // Hands an MP3 or WMA file to the user's registered player.
        std::function<void(const std::filesystem::path& file)> openWithRegisteredPlayer;
    };

    static constexpr int kUnlimited = -1;      // background music plays until stopped
    static constexpr int kPreviewSeconds = 20;

    MusicPlayer(AudioDevice& device, MusicFiles files, const LanguageState& language, Hooks hooks);
    ~MusicPlayer();
    MusicPlayer(const MusicPlayer&) = delete;
    MusicPlayer& operator=(const MusicPlayer&) = delete;

    const MusicSettings& Settings() const { return m_settings; }
    const MusicFiles& Files() const { return m_files; }
    // Reads the user's settings file again (after the dialog saved it).
    void ReloadSettings();

    // The situation the next UpdateMusic plays for.
    void SetSituation(const MusicSituation& situation) { m_situation = situation; }
    const MusicSituation& Situation() const { return m_situation; }

    // The track the situation asks for; empty when none (music off, row disabled).
    std::string ChooseMusicForMode() const;
    // Plays the chosen track, resuming it when it is the current one.
    void UpdateMusic();
    void PauseMusic();
    void ResumeMusic();

    // Music On: resumes or pauses, then saves; false with errorText when saving failed.
    bool SetMusicOn(bool on, std::string* errorText = nullptr);
    // Makes file the track of the current situation, switching music on, and saves.
    bool SetMusicForCurrentMode(const std::filesystem::path& file, std::string* errorText = nullptr);

    void PlayEffect(Effect effect);
    // Starts a track for seconds (kUnlimited for background music); false when the file
    // is missing or of no music type.
    bool PlayMusicFile(const std::filesystem::path& file, int seconds);
    void PlayWave(const std::filesystem::path& file, int seconds, bool loop, bool stopFirst);
    void PlayMidi(const std::filesystem::path& file, int seconds);
    // Stops everything started here; clearCurrent forgets the current track too.
    void StopAllSound(bool clearCurrent);

    void OnCountdownTick();
    void OnSequenceEnd(SequenceEnd end);

    const std::string& CurrentMusicPath() const { return m_currentPath; }
    bool IsPlaying() const { return m_playing; }
    int RemainingSeconds() const { return m_remainingSeconds; }

private:
    MusicRow RowForSituation() const;
    void StartCountdown(int seconds);
    void StopCountdown();
    bool Save(std::string* errorText);

    AudioDevice& m_device;
    MusicFiles m_files;
    const LanguageState& m_language;
    Hooks m_hooks;
    MusicSettings m_settings;
    MusicSituation m_situation;
    std::string m_currentPath;
    bool m_playing = false;
    int m_remainingSeconds = kUnlimited;
    bool m_countdownRunning = false;
};

}  // namespace tavlix
