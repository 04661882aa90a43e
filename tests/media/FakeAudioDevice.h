#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/Audio.h"

namespace tavlix {

// Records what the music part asks of the sound devices, as "verb file" lines, and
// keeps the sequencer's state the way a real one would: a position that pauses and
// resumes, and nothing to resume once closed.
class FakeAudioDevice : public AudioDevice {
public:
    bool OpenSequence(const std::filesystem::path& file) override
    {
        calls.push_back("open " + file.string());
        if (!std::filesystem::is_regular_file(file))
            return false;
        openSequence = file;
        position = 0;
        sequencePlaying = false;
        return true;
    }
    bool PlaySequenceFromStart() override
    {
        calls.push_back("play from 0");
        if (openSequence.empty())
            return false;
        position = 0;
        sequencePlaying = true;
        return true;
    }
    bool StopSequence() override
    {
        calls.push_back("stop");
        sequencePlaying = false;
        return !openSequence.empty();
    }
    bool ResumeSequence() override
    {
        calls.push_back("resume");
        if (openSequence.empty())
            return false;
        sequencePlaying = true;
        return true;
    }
    void CloseAll() override
    {
        calls.push_back("close all");
        openSequence.clear();
        sequencePlaying = false;
    }
    void PlayWave(const std::filesystem::path& file, bool loop) override
    {
        calls.push_back(std::string(loop ? "wave loop " : "wave ") + file.string());
        wave = file;
    }
    void PurgeWave() override
    {
        calls.push_back("purge");
        wave.clear();
    }
    void SetSequenceNoticeHandler(std::function<void(SequenceEnd)> handler) override { notice = std::move(handler); }

    // The sequencer plays on for some seconds, or reaches its end.
    void Advance(int seconds)
    {
        if (sequencePlaying)
            position += seconds;
    }
    void FinishSequence(SequenceEnd end = SequenceEnd::Successful)
    {
        sequencePlaying = false;
        if (notice)
            notice(end);
    }

    std::vector<std::string> calls;
    std::filesystem::path openSequence;
    std::filesystem::path wave;
    bool sequencePlaying = false;
    int position = 0;
    std::function<void(SequenceEnd)> notice;
};

}  // namespace tavlix
