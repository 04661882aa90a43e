#include "media/GameSounds.h"

#include <QTimer>

#include "media/MusicPlayer.h"
#include "runs/RunController.h"

namespace tavlix {

GameSounds::GameSounds(Services services, const RunController& runs, QObject* parent)
    : QObject(parent), m_runs(runs), m_countdown(new QTimer(this))
{
    m_countdown->setObjectName(QStringLiteral("musicTimer"));
    m_countdown->setInterval(services.countdownMilliseconds);
    MusicPlayer::Hooks hooks{
        .countdownTimer = [this](bool running) { running ? m_countdown->start() : m_countdown->stop(); },
        .openWithRegisteredPlayer = std::move(services.openWithRegisteredPlayer),
    };
    m_music = std::make_unique<MusicPlayer>(services.audio, std::move(services.musicFiles), services.language,
                                            std::move(hooks));
    connect(m_countdown, &QTimer::timeout, this, [this] { m_music->OnCountdownTick(); });
    connect(&runs, &RunController::runStarted, this, &GameSounds::OnSituationChanged);
    connect(&runs, &RunController::runEnded, this, &GameSounds::OnSituationChanged);
    connect(&runs, &RunController::navigated, this, &GameSounds::OnNavigated);
    connect(&runs, &RunController::answerJudged, this, &GameSounds::OnAnswerJudged);
    connect(&runs, &RunController::timeUp, this, &GameSounds::OnTimeUp);
    OnSituationChanged();
}

GameSounds::~GameSounds() = default;

void GameSounds::OnSituationChanged()
{
    const Run& run = m_runs.CurrentRun();
    m_music->SetSituation({.mode = run.Mode(), .standardRule = run.IsStandardRule(), .jqk = run.IsJqkEnabled()});
    m_music->UpdateMusic();
}

void GameSounds::OnNavigated(bool forward) { m_music->PlayEffect(forward ? Effect::Next : Effect::Previous); }

// A run plays only the verdict its question keeps; free play, and a run's input the checker
// refused, the outcome's own sound.
void GameSounds::OnAnswerJudged(const Judgement& judgement)
{
    if (judgement.questionCorrect) {
        m_music->PlayEffect(*judgement.questionCorrect ? Effect::Correct : Effect::Incorrect);
        return;
    }
    switch (judgement.outcome) {
    case CheckOutcome::Correct: m_music->PlayEffect(Effect::Correct); break;
    case CheckOutcome::Wrong: m_music->PlayEffect(Effect::Incorrect); break;
    case CheckOutcome::Rejected: m_music->PlayEffect(Effect::Abnormal); break;
    case CheckOutcome::NothingJudged: break;
    }
}

void GameSounds::OnTimeUp() { m_music->PlayEffect(Effect::TimeUp); }

}  // namespace tavlix
