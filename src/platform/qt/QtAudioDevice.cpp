#include "platform/qt/QtAudioDevice.h"

#include <QFile>

#include <algorithm>

#include <cstdint>
#include <span>
#include <system_error>

#include "platform/SoundFileCheck.h"
#include "platform/qt/AlsaOutput.h"
#include "platform/qt/PulseOutput.h"
#include "platform/qt/SoundMixer.h"
#include "platform/qt/WaveSource.h"

namespace tavlix {

namespace {

// A track larger than this is no music file, whatever its name says.
constexpr qint64 kMaxMidiBytes = 16 * 1024 * 1024;
constexpr qint64 kWaveHeaderBytes = 12;
// Waveforms up to this long are decoded once and kept (the effects); longer ones, the
// tracks, are read as they play, so that memory does not grow with their length.
constexpr long kLongestClipFrames = 5 * SoundMixer::kRate;
constexpr std::size_t kKeptClips = 8;

QByteArray ReadStart(const std::filesystem::path& file, qint64 maxBytes)
{
    QFile in(QFile::decodeName(file.c_str()));
    if (!in.open(QIODevice::ReadOnly))
        return {};
    return in.read(maxBytes);
}

std::span<const std::uint8_t> Bytes(const QByteArray& bytes)
{
    return {reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size())};
}

// Tells a file from the same path rewritten since it was decoded.
std::string ClipKey(const std::filesystem::path& file)
{
    std::error_code error;
    const auto size = std::filesystem::file_size(file, error);
    const auto written = std::filesystem::last_write_time(file, error).time_since_epoch().count();
    return file.string() + '\n' + std::to_string(size) + '\n' + std::to_string(written);
}

}  // namespace

QtAudioDevice::QtAudioDevice(QObject* parent) : QObject(parent) {}

QtAudioDevice::~QtAudioDevice() = default;

bool QtAudioDevice::EnsureOutput()
{
    if (!m_mixer) {
        m_mixer = std::make_unique<SoundMixer>([this](unsigned play) {
            QMetaObject::invokeMethod(this, [this, play] { OnSequenceEnd(play); }, Qt::QueuedConnection);
        });
    }
    if (m_output && !m_output->IsAlive())
        m_output.reset();
    // A sound server first, which other programs share; without one, the card itself.
    if (!m_output)
        m_output = PulseOutput::Open(*m_mixer);
    if (!m_output)
        m_output = AlsaOutput::Open(*m_mixer);
    return m_output != nullptr;
}

bool QtAudioDevice::OpenSequence(const std::filesystem::path& file)
{
    CloseAll();
    const QByteArray content = ReadStart(file, kMaxMidiBytes + 1);
    if (content.size() > kMaxMidiBytes || !IsWellFormedMidi(Bytes(content)))
        return false;
    m_silent = !EnsureOutput();
    if (!m_silent && !m_mixer->OpenSequence({content.begin(), content.end()}))
        return false;
    m_sequenceOpen = true;
    return true;
}

bool QtAudioDevice::PlaySequenceFromStart()
{
    if (!m_sequenceOpen)
        return false;
    EndPendingPlay(SequenceEnd::Superseded);
    StartPlay(true);
    return true;
}

bool QtAudioDevice::StopSequence()
{
    if (!m_sequenceOpen)
        return false;
    // A pause, not an end: the pending play goes on at ResumeSequence.
    if (!m_silent)
        m_mixer->PauseSequence();
    return true;
}

bool QtAudioDevice::ResumeSequence()
{
    if (!m_sequenceOpen)
        return false;
    StartPlay(false);
    return true;
}

void QtAudioDevice::StartPlay(bool fromStart)
{
    if (m_silent)
        return;
    m_playPending = true;
    m_mixer->PlaySequence(++m_play, fromStart);
    // The server may have gone, or come back, since the track was opened.
    if (EnsureOutput())
        m_output->Wake();
}

void QtAudioDevice::CloseAll()
{
    EndPendingPlay(SequenceEnd::Aborted);
    if (m_mixer)
        m_mixer->CloseSequence();
    m_sequenceOpen = false;
    m_silent = false;
}

void QtAudioDevice::PlayWave(const std::filesystem::path& file, bool loop)
{
    PurgeWave();
    if (!HasWaveHeader(Bytes(ReadStart(file, kWaveHeaderBytes))) || !EnsureOutput())
        return;
    if (std::optional<WaveVoice> voice = VoiceFor(file, loop)) {
        m_mixer->PlayWave(std::move(*voice));
        m_output->Wake();
    }
}

std::optional<WaveVoice> QtAudioDevice::VoiceFor(const std::filesystem::path& file, bool loop)
{
    const std::string key = ClipKey(file);
    const auto kept = std::find_if(m_clips.begin(), m_clips.end(), [&](const auto& clip) { return clip.first == key; });
    if (kept != m_clips.end()) {
        std::rotate(m_clips.begin(), kept, kept + 1);
        return WaveVoice{m_clips.front().second, nullptr, loop};
    }
    std::unique_ptr<WaveSource> source = WaveSource::Open(file, SoundMixer::kRate);
    if (!source)
        return std::nullopt;
    if (source->Frames() > kLongestClipFrames)
        return WaveVoice{nullptr, std::move(source), loop};
    auto clip = std::make_shared<const std::vector<float>>(source->ReadAll());
    m_clips.insert(m_clips.begin(), {key, clip});
    if (m_clips.size() > kKeptClips)
        m_clips.pop_back();
    return WaveVoice{std::move(clip), nullptr, loop};
}

void QtAudioDevice::PurgeWave()
{
    if (m_mixer)
        m_mixer->PurgeWave();
}

void QtAudioDevice::SetSequenceNoticeHandler(std::function<void(SequenceEnd)> handler)
{
    m_handler = std::move(handler);
}

qint64 QtAudioDevice::SequencePosition() const { return m_mixer ? m_mixer->SequenceMilliseconds() : 0; }

qint64 QtAudioDevice::WavePosition() const { return m_mixer ? m_mixer->WaveMilliseconds() : 0; }

bool QtAudioDevice::IsSequencePlaying() const { return m_mixer && m_mixer->IsSequencePlaying(); }

bool QtAudioDevice::IsWavePlaying() const { return m_mixer && m_mixer->IsWavePlaying(); }

std::optional<std::chrono::microseconds> QtAudioDevice::LastStartLatency() const
{
    return m_mixer ? m_mixer->LastStartLatency() : std::nullopt;
}

void QtAudioDevice::OnSequenceEnd(unsigned play)
{
    // A play that was stopped, closed or replaced since has been reported already.
    if (play == m_play)
        EndPendingPlay(SequenceEnd::Successful);
}

void QtAudioDevice::EndPendingPlay(SequenceEnd end)
{
    if (!m_playPending)
        return;
    m_playPending = false;
    // Queued, so that a handler that plays again never runs inside our own call.
    QMetaObject::invokeMethod(
        this,
        [this, end] {
            if (const auto handler = m_handler)
                handler(end);
        },
        Qt::QueuedConnection);
}

}  // namespace tavlix
