#pragma once

#include <QObject>

#include <filesystem>
#include <functional>
#include <memory>

#include "media/MusicSettings.h"

class QTimer;

namespace tavlix {

class AudioDevice;
class LanguageState;
class MusicPlayer;
class RunController;
struct Judgement;

// The music and the effects of the game: one slot per event of the run controller, with
// the music player underneath. Free play's music starts with it.
class GameSounds : public QObject {
    Q_OBJECT

public:
    struct Services {
        AudioDevice& audio;
        MusicFiles musicFiles;
        const LanguageState& language;
        // MP3 and WMA tracks go to the user's own player.
        std::function<void(const std::filesystem::path& file)> openWithRegisteredPlayer;
        int countdownMilliseconds = 1000;  // the tick of a limited play
    };

    GameSounds(Services services, const RunController& runs, QObject* parent = nullptr);
    ~GameSounds() override;

    MusicPlayer& Music() { return *m_music; }
    const MusicPlayer& Music() const { return *m_music; }

public slots:
    // The music of what the player does now: free play, or the run's mode and level.
    void OnSituationChanged();
    void OnNavigated(bool forward);
    void OnAnswerJudged(const tavlix::Judgement& judgement);
    void OnTimeUp();

private:
    const RunController& m_runs;
    QTimer* m_countdown;
    std::unique_ptr<MusicPlayer> m_music;
};

}  // namespace tavlix
