// Cost of the background music over a long session: the shipped tracks played through
// the music player into a PulseAudio null sink (a server of the benchmark's own), the
// track changed every 30 s as the player moves between free play, Training, the
// Training Game and the four World Cup levels, and an effect every 5 s.
//
// Targets, on a 2-core machine: resident memory at most 25 MB above the same program
// before its first sound; the mean of the last minute within 2 MB of the second minute's
// (no growth); CPU time under 2 % of one core; a track or effect heard within 30 ms of
// its request, once the first sound has loaded the sound font.
//
// --seconds=N sets the length of the session (600 by default; the minutes compared are
// then the second and the last); --rss-log=FILE writes the resident memory of each
// second, in kB.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <numeric>
#include <string>
#include <vector>

#include "NullSinkServer.h"
#include "i18n/LanguageState.h"
#include "media/MusicPlayer.h"
#include "platform/qt/QtAudioDevice.h"

namespace {

using namespace tavlix;
using Clock = std::chrono::steady_clock;

int g_seconds = 600;
std::string g_rssLog;

constexpr int kBaselineSeconds = 3;
constexpr int kEffectEverySeconds = 5;
constexpr int kTrackEverySeconds = 30;

constexpr MusicSituation kSituations[] = {
    {RunMode::Free},          {RunMode::Training},           {RunMode::TrainingGame},
    {RunMode::WorldCup, true, false}, {RunMode::WorldCup, true, true}, {RunMode::WorldCup, false, false},
    {RunMode::WorldCup, false, true}};
constexpr Effect kEffects[] = {Effect::Next, Effect::Previous, Effect::Correct,
                               Effect::Incorrect, Effect::Abnormal, Effect::TimeUp};

long ResidentKilobytes()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
           + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double MeanMegabytes(const std::vector<long>& kilobytes, std::size_t from, std::size_t to)
{
    to = std::max(to, from + 1);
    return std::accumulate(kilobytes.begin() + std::ptrdiff_t(from), kilobytes.begin() + std::ptrdiff_t(to), 0.0)
           / double(to - from) / 1024.0;
}

void RunEventLoop(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

const LanguageState& English()
{
    static const LanguageState language = [] {
        LanguageState state;
        state.InitLanguage(Edition::Standard, kLcidEnglish);
        return state;
    }();
    return language;
}

// One request timed from the call until its first frame is heard.
double StartMilliseconds(const QtAudioDevice& device, const std::function<void()>& request)
{
    const Clock::time_point asked = Clock::now();
    request();
    const auto call = Clock::now() - asked;
    RunEventLoop(100);
    const auto heard = device.LastStartLatency().value_or(std::chrono::microseconds(0));
    return std::chrono::duration<double, std::milli>(call + heard).count();
}

struct Session {
    std::vector<long> residentKilobytes;  // one per second of music
    long baselineKilobytes = 0;
    double cpuSeconds = 0;
    double firstStartMilliseconds = 0;
    std::vector<double> startMilliseconds;
};

void PlayForSeconds(QtAudioDevice& device, MusicPlayer& player, Session& session)
{
    session.firstStartMilliseconds = StartMilliseconds(device, [&] {
        player.SetSituation(kSituations[0]);
        player.UpdateMusic();
    });
    // Loading the sound font is paid once a session, and is left out.
    const double cpuBefore = CpuSeconds();
    for (int second = 1; second <= g_seconds; ++second) {
        RunEventLoop(second % kEffectEverySeconds == 0 ? 900 : 1000);
        session.residentKilobytes.push_back(ResidentKilobytes());
        if (second % kTrackEverySeconds == 0) {
            session.startMilliseconds.push_back(StartMilliseconds(device, [&] {
                player.SetSituation(kSituations[std::size_t(second / kTrackEverySeconds) % std::size(kSituations)]);
                player.UpdateMusic();
            }));
        } else if (second % kEffectEverySeconds == 0) {
            session.startMilliseconds.push_back(StartMilliseconds(device, [&] {
                player.PlayEffect(kEffects[std::size_t(second / kEffectEverySeconds) % std::size(kEffects)]);
            }));
        }
    }
    session.cpuSeconds = CpuSeconds() - cpuBefore;
}

bool RunSession(Session& session)
{
    QTemporaryDir root;
    testsound::NullSinkServer server;
    if (!root.isValid() || !server.Start(root.path()))
        return false;
    const QString config = root.filePath(QStringLiteral("config"));
    MusicFiles files{.musicFile = QFile::encodeName(config + QStringLiteral("/music.ini")).toStdString(),
                     .defaultMusicFile = TAVLIX_DATA_DIR "/config/defaultmusic.ini",
                     .dataDirectory = TAVLIX_DATA_DIR};
    if (!QDir().mkpath(config) || !QFile::copy(QFile::decodeName(files.defaultMusicFile.c_str()),
                                               QFile::decodeName(files.musicFile.c_str())))
        return false;
    QtAudioDevice device;
    MusicPlayer player(device, files, English(), {});
    for (int second = 0; second < kBaselineSeconds; ++second) {
        RunEventLoop(1000);
        session.baselineKilobytes = std::max(session.baselineKilobytes, ResidentKilobytes());
    }
    PlayForSeconds(device, player, session);
    return true;
}

void WriteResidentLog(const Session& session)
{
    std::ofstream log(g_rssLog);
    log << "second,resident_kb\n";
    for (std::size_t i = 0; i < session.residentKilobytes.size(); ++i)
        log << i + 1 << ',' << session.residentKilobytes[i] << '\n';
}

void BM_MusicSession(benchmark::State& state)
{
    Session session;
    for (auto _ : state) {
        if (!RunSession(session)) {
            state.SkipWithError("the null sink's sound server does not start");
            return;
        }
    }
    const std::vector<long>& resident = session.residentKilobytes;
    const std::size_t minute = std::min<std::size_t>(60, resident.size() / 2);
    std::vector<double> starts = session.startMilliseconds;
    std::sort(starts.begin(), starts.end());
    state.counters["baseline_MB"] = double(session.baselineKilobytes) / 1024.0;
    state.counters["peak_MB"] = double(*std::max_element(resident.begin(), resident.end())) / 1024.0;
    state.counters["minute2_MB"] = MeanMegabytes(resident, minute, 2 * minute);
    state.counters["last_minute_MB"] = MeanMegabytes(resident, resident.size() - minute, resident.size());
    state.counters["cpu_percent"] = 100.0 * session.cpuSeconds / g_seconds;
    state.counters["first_start_ms"] = session.firstStartMilliseconds;
    if (!starts.empty()) {
        state.counters["start_median_ms"] = starts[starts.size() / 2];
        state.counters["start_max_ms"] = starts.back();
    }
    if (!g_rssLog.empty())
        WriteResidentLog(session);
}
BENCHMARK(BM_MusicSession)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

// Takes this benchmark's own options out of the command line.
void ReadOptions(int& argc, char** argv)
{
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.starts_with("--seconds="))
            g_seconds = std::max(1, std::stoi(argument.substr(10)));
        else if (argument.starts_with("--rss-log="))
            g_rssLog = argument.substr(10);
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
}

}  // namespace

int main(int argc, char** argv)
{
    ReadOptions(argc, argv);
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
