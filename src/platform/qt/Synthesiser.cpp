#include "platform/qt/Synthesiser.h"

#include <QFile>
#include <QStandardPaths>

#include <fluidsynth.h>

#include <memory>

namespace tavlix {

namespace {

// Debian's General MIDI font, small and complete, then whatever the system made its
// default General MIDI font.
constexpr const char* kFontsByPreference[] = {"sounds/sf2/TimGM6mb.sf2", "sounds/sf2/default-GM.sf2"};

QByteArray FontFile(fluid_settings_t* settings)
{
    for (const char* font : kFontsByPreference) {
        const QString found = QStandardPaths::locate(QStandardPaths::GenericDataLocation, QLatin1String(font));
        if (!found.isEmpty())
            return QFile::encodeName(found);
    }
    char* fallback = nullptr;
    fluid_settings_getstr_default(settings, "synth.default-soundfont", &fallback);
    return fallback ? QByteArray(fallback) : QByteArray();
}

void SilenceLibraryLog()
{
    // Its messages would go to standard error; every failure here is reported by result.
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
        fluid_set_log_function(level, nullptr, nullptr);
}

}  // namespace

void Synthesiser::Deleter::operator()(fluid_settings_t* settings) const { delete_fluid_settings(settings); }
void Synthesiser::Deleter::operator()(fluid_synth_t* synth) const { delete_fluid_synth(synth); }
void Synthesiser::Deleter::operator()(fluid_player_t* player) const { delete_fluid_player(player); }

Synthesiser::Synthesiser(int rate)
{
    SilenceLibraryLog();
    m_settings.reset(new_fluid_settings());
    fluid_settings_setnum(m_settings.get(), "synth.sample-rate", rate);
    // Reverb alone would add half again to the cost of background music.
    fluid_settings_setint(m_settings.get(), "synth.reverb.active", 0);
    fluid_settings_setint(m_settings.get(), "synth.chorus.active", 0);
    // The busiest shipped track rings with up to 216 voices, most of them fading tails;
    // beyond 96 the quietest are let go, which changes its sound by less than -37 dB and
    // saves a quarter of the synthesiser's time.
    fluid_settings_setint(m_settings.get(), "synth.polyphony", 96);
    // Locked pages would stay resident, played or not.
    fluid_settings_setint(m_settings.get(), "synth.lock-memory", 0);
    // Events in step with the frames rendered, with no timer thread of the player's own.
    fluid_settings_setstr(m_settings.get(), "player.timing-source", "sample");
    m_synth.reset(new_fluid_synth(m_settings.get()));
    // Straight-line interpolation between a sample's points: over ten minutes of the
    // shipped music the default fourth-order one cost the program a sixth more time.
    if (m_synth)
        fluid_synth_set_interp_method(m_synth.get(), -1, FLUID_INTERP_LINEAR);
    const QByteArray font = FontFile(m_settings.get());
    if (m_synth && !font.isEmpty())
        m_font = fluid_synth_sfload(m_synth.get(), font.constData(), 1);
}

Synthesiser::~Synthesiser() = default;

void Synthesiser::Load(std::vector<char> midi)
{
    Close();
    m_midi = std::move(midi);
}

void Synthesiser::PlayFromStart()
{
    // A fresh player per round: one that reached its end can not be rewound reliably.
    // It costs a parse of the file, not a pipeline.
    m_player.reset();
    m_paused = false;
    m_played = false;
    fluid_synth_all_sounds_off(m_synth.get(), -1);
    if (!IsReady() || m_midi.empty())
        return;
    m_player.reset(new_fluid_player(m_synth.get()));
    if (m_player && fluid_player_add_mem(m_player.get(), m_midi.data(), m_midi.size()) == FLUID_OK)
        fluid_player_play(m_player.get());
}

void Synthesiser::Pause()
{
    if (m_player && fluid_player_get_status(m_player.get()) == FLUID_PLAYER_PLAYING) {
        fluid_player_stop(m_player.get());
        m_paused = true;
    }
    fluid_synth_all_sounds_off(m_synth.get(), -1);
}

void Synthesiser::Resume()
{
    if (!m_paused) {
        PlayFromStart();
        return;
    }
    m_paused = false;
    fluid_player_play(m_player.get());
}

void Synthesiser::Close()
{
    m_player.reset();
    m_paused = false;
    m_midi.clear();
    fluid_synth_all_sounds_off(m_synth.get(), -1);
}

bool Synthesiser::HasEnded() const
{
    if (m_paused)
        return false;  // a paused player calls itself done as well
    if (!m_player)
        return true;
    // The player calls itself done only seconds after the file's end, which would be a
    // gap between the rounds of a looping track. The length is known once it has played.
    return fluid_player_get_status(m_player.get()) == FLUID_PLAYER_DONE
           || (m_played && fluid_player_get_current_tick(m_player.get()) >= fluid_player_get_total_ticks(m_player.get()));
}

void Synthesiser::Render(int frames, float* left, float* right)
{
    float* out[] = {left, right};
    fluid_synth_process(m_synth.get(), frames, 0, nullptr, 2, out);
    m_played = m_player != nullptr;
}

bool Synthesiser::IsSounding() const { return fluid_synth_get_active_voice_count(m_synth.get()) > 0; }

}  // namespace tavlix
