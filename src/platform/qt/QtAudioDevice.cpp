#include "platform/qt/QtAudioDevice.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QFile>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QUrl>

#include <cstdint>
#include <span>

#include "platform/SoundFileCheck.h"

namespace tavlix {

namespace {

// A track larger than this is no music file, whatever its name says.
constexpr qint64 kMaxMidiBytes = 16 * 1024 * 1024;
constexpr qint64 kWaveHeaderBytes = 12;

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

QUrl UrlOf(const std::filesystem::path& file) { return QUrl::fromLocalFile(QFile::decodeName(file.c_str())); }

// Plays the player's file again from its start. A rewind by stop or seek after the end
// runs the file on without a sound now and then (GStreamer backend, Qt 6.4, and so does
// Qt's own looping); a file loaded anew always sounds.
void Replay(QMediaPlayer& player)
{
    const QUrl source = player.source();
    player.setSource(QUrl());
    player.setSource(source);
    player.play();
}

// Without a sound server Qt lists no output; a player would then run its pipeline into
// nothing and report a play that nobody heard.
bool HasAudioOutput() { return !QMediaDevices::audioOutputs().isEmpty(); }

}  // namespace

QtAudioDevice::QtAudioDevice(QObject* parent) : QObject(parent)
{
    // MIDI plays through GStreamer's synthesiser; Qt's other backend has none. The
    // choice holds only when made before the first player exists.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "gstreamer");
}

QtAudioDevice::~QtAudioDevice()
{
    // The players report while they stop; nobody listens any more.
    if (m_sequence)
        m_sequence->disconnect(this);
    if (m_wave)
        m_wave->disconnect(this);
}

QMediaPlayer& QtAudioDevice::Player(std::unique_ptr<QMediaPlayer>& player)
{
    if (!player) {
        player = std::make_unique<QMediaPlayer>();
        player->setAudioOutput(new QAudioOutput(player.get()));
        if (&player == &m_sequence) {
            connect(player.get(), &QMediaPlayer::mediaStatusChanged, this,
                    [this](QMediaPlayer::MediaStatus status) { OnSequenceStatus(status); });
            connect(player.get(), &QMediaPlayer::errorOccurred, this, [this] { OnSequenceError(); });
        } else {
            connect(player.get(), &QMediaPlayer::mediaStatusChanged, this,
                    [this](QMediaPlayer::MediaStatus status) { OnWaveStatus(status); });
            // A player that failed still calls itself playing.
            connect(player.get(), &QMediaPlayer::errorOccurred, player.get(), &QMediaPlayer::stop);
        }
    }
    return *player;
}

void QtAudioDevice::Dispose(std::unique_ptr<QMediaPlayer>& player)
{
    if (!player)
        return;
    player->disconnect(this);
    player->stop();
    // Later, as the player may be inside one of its own signals now.
    player.release()->deleteLater();
}

bool QtAudioDevice::OpenSequence(const std::filesystem::path& file)
{
    CloseAll();
    const QByteArray content = ReadStart(file, kMaxMidiBytes + 1);
    if (content.size() > kMaxMidiBytes || !IsWellFormedMidi(Bytes(content)))
        return false;
    m_sequenceOpen = true;
    m_silent = !HasAudioOutput();
    if (!m_silent)
        Player(m_sequence).setSource(UrlOf(file));
    return true;
}

bool QtAudioDevice::PlaySequenceFromStart()
{
    if (!m_sequenceOpen || m_sequenceBroken)
        return false;
    EndPendingPlay(SequenceEnd::Superseded);
    if (m_silent)
        return true;
    m_playPending = true;
    Replay(*m_sequence);
    return true;
}

bool QtAudioDevice::StopSequence()
{
    if (!m_sequenceOpen)
        return false;
    // A pause, not an end: the pending play goes on at ResumeSequence.
    if (m_sequence && m_sequence->playbackState() == QMediaPlayer::PlayingState)
        m_sequence->pause();
    return true;
}

bool QtAudioDevice::ResumeSequence()
{
    if (!m_sequenceOpen || m_sequenceBroken)
        return false;
    if (m_silent)
        return true;
    m_playPending = true;
    // A track that ran to its end starts again.
    if (m_sequence->mediaStatus() == QMediaPlayer::EndOfMedia)
        Replay(*m_sequence);
    else
        m_sequence->play();
    return true;
}

void QtAudioDevice::CloseAll()
{
    EndPendingPlay(SequenceEnd::Aborted);
    Dispose(m_sequence);
    m_sequenceOpen = false;
    m_sequenceBroken = false;
    m_silent = false;
}

void QtAudioDevice::PlayWave(const std::filesystem::path& file, bool loop)
{
    PurgeWave();
    if (!HasWaveHeader(Bytes(ReadStart(file, kWaveHeaderBytes))) || !HasAudioOutput())
        return;
    QMediaPlayer& wave = Player(m_wave);
    m_waveLoops = loop;
    wave.setSource(UrlOf(file));
    wave.play();
}

void QtAudioDevice::PurgeWave()
{
    m_waveLoops = false;
    Dispose(m_wave);
}

void QtAudioDevice::SetSequenceNoticeHandler(std::function<void(SequenceEnd)> handler)
{
    m_handler = std::move(handler);
}

qint64 QtAudioDevice::SequencePosition() const { return m_sequence ? m_sequence->position() : 0; }

qint64 QtAudioDevice::WavePosition() const { return m_wave ? m_wave->position() : 0; }

bool QtAudioDevice::IsSequencePlaying() const
{
    return m_sequence && m_sequence->playbackState() == QMediaPlayer::PlayingState;
}

bool QtAudioDevice::IsWavePlaying() const
{
    return m_wave && m_wave->playbackState() == QMediaPlayer::PlayingState;
}

void QtAudioDevice::OnSequenceStatus(int status)
{
    if (status == QMediaPlayer::EndOfMedia)
        EndPendingPlay(SequenceEnd::Successful);
    else if (status == QMediaPlayer::InvalidMedia)
        OnSequenceError();
}

void QtAudioDevice::OnWaveStatus(int status)
{
    // An empty waveform would start its next round at once, for ever.
    if (status == QMediaPlayer::EndOfMedia && m_waveLoops && m_wave->duration() > 0)
        Replay(*m_wave);
}

void QtAudioDevice::OnSequenceError()
{
    m_sequenceBroken = true;
    m_sequence->stop();
    EndPendingPlay(SequenceEnd::Failed);
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
