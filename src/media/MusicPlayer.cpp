#include "media/MusicPlayer.h"

#include <system_error>
#include <utility>

#include "common/TextUtilities.h"
#include "media/MusicType.h"

namespace tavlix {

MusicPlayer::MusicPlayer(AudioDevice& device, MusicFiles files, const LanguageState& language, Hooks hooks)
    : m_device(device), m_files(std::move(files)), m_language(language), m_hooks(std::move(hooks))
{
    m_settings = LoadMusicSettings(m_files, false);
    m_device.SetSequenceNoticeHandler([this](SequenceEnd end) { OnSequenceEnd(end); });
}

MusicPlayer::~MusicPlayer()
{
    m_device.SetSequenceNoticeHandler({});
    StopAllSound(true);
}

void MusicPlayer::ReloadSettings()
{
    m_settings = LoadMusicSettings(m_files, false);
}

MusicRow MusicPlayer::RowForSituation() const
{
    switch (m_situation.mode) {
    case RunMode::Training: return MusicRow::Training;
    case RunMode::TrainingGame: return MusicRow::TrainingGame;
    case RunMode::WorldCup:
        if (m_situation.standardRule)
            return m_situation.jqk ? MusicRow::WcHero : MusicRow::WcStandard;
        return m_situation.jqk ? MusicRow::WcHolyWar : MusicRow::WcWizard;
    case RunMode::Free: break;
    }
    return MusicRow::General;
}

std::string MusicPlayer::ChooseMusicForMode() const
{
    if (!m_settings.musicOn)
        return {};
    const TrackSetting& track = m_settings.Track(RowForSituation());
    return track.enabled ? track.path : std::string();
}

void MusicPlayer::UpdateMusic()
{
    const std::string chosen = ChooseMusicForMode();
    if (chosen.empty())
        StopAllSound(true);
    else if (chosen == m_currentPath)
        ResumeMusic();
    else
        PlayMusicFile(chosen, kUnlimited);
    // Kept even when the file could not be played, so that the next update with the
    // same choice tries it again.
    m_currentPath = chosen;
}

void MusicPlayer::PauseMusic()
{
    switch (GetMusicType(m_currentPath)) {
    case MusicType::Midi: m_device.StopSequence(); break;
    case MusicType::Waveform: StopAllSound(false); break;
    case MusicType::Mp3:
    case MusicType::Wma:
    case MusicType::None: break;
    }
}

void MusicPlayer::ResumeMusic()
{
    if (GetMusicType(m_currentPath) == MusicType::Midi && m_device.ResumeSequence()) {
        // A resumed track is background music again, whatever preview ran before it.
        StartCountdown(kUnlimited);
        return;
    }
    // Waveform tracks start again; so does a MIDI track the sequencer no longer holds
    // (it was missing when first chosen, or a stop closed it).
    PlayMusicFile(m_currentPath, kUnlimited);
}

bool MusicPlayer::SetMusicOn(bool on, std::string* errorText)
{
    m_settings.musicOn = on;
    if (on)
        UpdateMusic();
    else
        PauseMusic();
    return Save(errorText);
}

bool MusicPlayer::SetMusicForCurrentMode(const std::filesystem::path& file, std::string* errorText)
{
    const std::string path = file.string();
    if (m_settings.musicOn && path == m_currentPath)
        return true;
    m_settings.musicOn = true;
    TrackSetting& track = m_settings.Track(RowForSituation());
    track.enabled = true;
    track.path = path;
    UpdateMusic();
    return Save(errorText);
}

void MusicPlayer::PlayEffect(Effect effect)
{
    const std::string& path = m_settings.EffectPath(effect);
    if (!path.empty())
        PlayWave(path, kUnlimited, false, false);
}

bool MusicPlayer::PlayMusicFile(const std::filesystem::path& file, int seconds)
{
    const std::filesystem::path path(std::string(TrimBlanksAndLineEnds(file.string())));
    switch (GetMusicType(path)) {
    case MusicType::Waveform: PlayWave(path, seconds, true, true); break;
    case MusicType::Midi: PlayMidi(path, seconds); break;
    case MusicType::Mp3:
    case MusicType::Wma:
        // Handed over and not controlled further.
        StopAllSound(false);
        if (m_hooks.openWithRegisteredPlayer)
            m_hooks.openWithRegisteredPlayer(path);
        break;
    case MusicType::None: return false;
    }
    m_currentPath = path.string();
    return true;
}

void MusicPlayer::PlayWave(const std::filesystem::path& file, int seconds, bool loop, bool stopFirst)
{
    if (stopFirst) {
        StopAllSound(true);
        StartCountdown(seconds);
        m_device.PurgeWave();
    }
    // One waveform plays at a time: an effect cuts a waveform track off.
    m_device.PlayWave(file, loop);
}

void MusicPlayer::PlayMidi(const std::filesystem::path& file, int seconds)
{
    StopAllSound(true);
    StartCountdown(seconds);
    m_device.CloseAll();
    if (m_device.OpenSequence(file))
        m_device.PlaySequenceFromStart();
}

void MusicPlayer::StopAllSound(bool clearCurrent)
{
    m_device.PurgeWave();
    m_device.CloseAll();
    m_playing = false;
    // The play the countdown counted is over; left running, it would stop the next one.
    StopCountdown();
    if (clearCurrent)
        m_currentPath.clear();
}

void MusicPlayer::StartCountdown(int seconds)
{
    m_playing = true;
    m_remainingSeconds = seconds;
    if (seconds == kUnlimited)
        StopCountdown();
    else if (!m_countdownRunning && m_hooks.countdownTimer) {
        m_countdownRunning = true;
        m_hooks.countdownTimer(true);
    }
}

void MusicPlayer::StopCountdown()
{
    if (m_countdownRunning && m_hooks.countdownTimer)
        m_hooks.countdownTimer(false);
    m_countdownRunning = false;
}

void MusicPlayer::OnCountdownTick()
{
    if (m_remainingSeconds == kUnlimited || !m_countdownRunning)
        return;
    if (m_remainingSeconds > 0 && --m_remainingSeconds > 0)
        return;
    StopAllSound(true);
}

void MusicPlayer::OnSequenceEnd(SequenceEnd end)
{
    // A track that played to its end starts again from the beginning; aborted,
    // superseded and failed plays are left alone.
    if (end != SequenceEnd::Successful)
        return;
    m_currentPath.clear();
    UpdateMusic();
}

bool MusicPlayer::Save(std::string* errorText)
{
    return SaveMusicSettings(m_settings, m_files, m_language, errorText);
}

}  // namespace tavlix
