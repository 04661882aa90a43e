#include "media/CBackgroundMusicDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <filesystem>
#include <string>
#include <utility>

#include "controls/CBMMessageBox.h"
#include "controls/DialogSupport.h"
#include "controls/PictureButton.h"
#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"
#include "media/MusicPlayer.h"
#include "media/MusicType.h"
#include "settings/SettingsTable.h"

namespace tavlix {

namespace {

// The rows in the order of MusicRow; the World Cup levels are labelled with the game's
// name in front.
struct RowEntry {
    int labelId;
    bool worldCup;
    const char* name;  // object names: <name>Check, <name>Edit, <name>Browse, <name>Test
};
constexpr RowEntry kRowEntries[kMusicRowCount] = {
    {IDS_DIALOG_MUSIC_GENERAL_BACKGROUND_MUSIC_B, false, "general"},
    {IDS_DIALOG_MUSIC_TRAINING_T, false, "training"},
    {IDS_DIALOG_MUSIC_TRAINING_GAME_G, false, "trainingGame"},
    {IDS_DIALOG_MUSIC_WC_STANDARD_LEVEL_S, true, "wcStandard"},
    {IDS_DIALOG_MUSIC_WC_HERO_LEVEL_H, true, "wcHero"},
    {IDS_DIALOG_MUSIC_WC_WIZARD_LEVEL_W, true, "wcWizard"},
    {IDS_DIALOG_MUSIC_WC_HOLY_WAR_LEVEL_O, true, "wcHolyWar"},
};

QString ObjectName(const char* row, const char* part) { return QLatin1String(row) + QLatin1String(part); }

std::filesystem::path ToPath(const QString& text) { return std::filesystem::path(text.trimmed().toStdString()); }

}  // namespace

CBackgroundMusicDlg::CBackgroundMusicDlg(MusicPlayer& player, const LanguageState& language, Profile& profile,
                                         OpenFilePicker pickOpenFile, std::function<void(int topic)> openHelpTopic,
                                         QWidget* parent)
    : QDialog(parent),
      m_player(player),
      m_language(language),
      m_profile(profile),
      m_pickOpenFile(std::move(pickOpenFile)),
      m_settings(LoadMusicSettings(player.Files(), false)),
      m_musicOn(new QCheckBox(Text(IDS_DIALOG_MUSIC_ENABLE_BACKGROUND_MUSIC_E), this))
{
    setObjectName(QStringLiteral("backgroundMusicDlg"));
    setWindowTitle(Text(IDS_DIALOG_MUSIC_TITLE));
    m_musicOn->setObjectName(QStringLiteral("musicOnCheck"));
    connect(m_musicOn, &QCheckBox::clicked, this, &CBackgroundMusicDlg::OnChanged);

    auto* group = new QGroupBox(Text(IDS_DIALOG_MUSIC_BACKGROUND_MUSIC_LIST), this);
    group->setObjectName(QStringLiteral("musicListGroup"));
    auto* grid = new QGridLayout(group);
    BuildRows();
    for (int i = 0; i < int(kMusicRowCount); ++i) {
        const Row& row = m_rows[std::size_t(i)];
        grid->addWidget(row.check, i, 0);
        grid->addWidget(row.path, i, 1);
        grid->addWidget(row.browse, i, 2);
        grid->addWidget(row.test, i, 3);
    }
    grid->setColumnStretch(1, 1);

    auto* buttons = MakeButtonBox(this, language);
    m_factory = buttons->addButton(Text(IDS_DIALOG_BACKGROUND_RESET), QDialogButtonBox::ResetRole);
    m_factory->setObjectName(QStringLiteral("factoryButton"));
    std::error_code error;
    m_factory->setEnabled(std::filesystem::exists(player.Files().defaultMusicFile, error));
    connect(m_factory, &QPushButton::clicked, this, &CBackgroundMusicDlg::OnFactoryValues);
    connect(buttons, &QDialogButtonBox::accepted, this, &CBackgroundMusicDlg::OnOk);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_musicOn);
    layout->addWidget(group);
    layout->addWidget(buttons);

    FillControls(m_settings);
    InstallHelpKey(this, std::move(openHelpTopic), kBackgroundMusicHelpTopic);
}

QString CBackgroundMusicDlg::Text(int id) const { return LocalizedText(m_language, id); }

void CBackgroundMusicDlg::BuildRows()
{
    const QString worldCup = Text(IDS_TIP_WORLD_CUP);
    for (std::size_t i = 0; i < kMusicRowCount; ++i) {
        const RowEntry& entry = kRowEntries[i];
        Row& row = m_rows[i];
        const QString label = entry.worldCup ? QStringLiteral("%1 - %2:").arg(worldCup, Text(entry.labelId))
                                             : Text(entry.labelId);
        row.check = new QCheckBox(label, this);
        row.path = new QLineEdit(this);
        row.browse = new PictureButton(this);
        row.test = new QToolButton(this);
        row.check->setObjectName(ObjectName(entry.name, "Check"));
        row.path->setObjectName(ObjectName(entry.name, "Edit"));
        row.path->setMinimumWidth(360);
        row.browse->setObjectName(ObjectName(entry.name, "Browse"));
        row.browse->SetImages(QStringLiteral("browse"));
        row.browse->setToolTip(Text(IDS_TIP_PATH));
        row.test->setObjectName(ObjectName(entry.name, "Test"));
        row.test->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
        row.test->setToolTip(Text(IDS_TIP_TRY));

        connect(row.check, &QCheckBox::clicked, this, &CBackgroundMusicDlg::OnChanged);
        // Only the user's edits count; the caret stays where the typing left it.
        connect(row.path, &QLineEdit::textEdited, this, &CBackgroundMusicDlg::OnChanged);
        connect(row.browse, &PictureButton::clicked, this, [this, &row] { Browse(row); });
        connect(row.test, &QToolButton::clicked, this, [this, &row] { Test(row); });
    }
}

void CBackgroundMusicDlg::FillControls(const MusicSettings& settings)
{
    m_musicOn->setChecked(settings.musicOn);
    for (std::size_t i = 0; i < kMusicRowCount; ++i) {
        m_rows[i].check->setChecked(settings.tracks[i].enabled);
        m_rows[i].path->setText(QString::fromStdString(settings.tracks[i].path));
    }
    UpdateEnabling();
}

void CBackgroundMusicDlg::ReadControls()
{
    m_settings.musicOn = m_musicOn->isChecked();
    for (std::size_t i = 0; i < kMusicRowCount; ++i) {
        m_settings.tracks[i].enabled = m_rows[i].check->isChecked();
        m_settings.tracks[i].path = m_rows[i].path->text().trimmed().toStdString();
    }
}

void CBackgroundMusicDlg::OnChanged()
{
    m_changed = true;
    UpdateEnabling();
}

void CBackgroundMusicDlg::UpdateEnabling()
{
    const bool musicOn = m_musicOn->isChecked();
    for (Row& row : m_rows) {
        row.check->setEnabled(musicOn);
        const bool active = musicOn && row.check->isChecked();
        row.path->setEnabled(active);
        row.browse->setEnabled(active);
        row.test->setEnabled(active);
    }
}

void CBackgroundMusicDlg::Browse(Row& row)
{
    if (!m_pickOpenFile)
        return;
    const std::filesystem::path current = ToPath(row.path->text());
    const std::string start = current.empty()
                                  ? ReadSetting(m_profile, setting::kLastMusicDirectory)
                                  : current.parent_path().string();
    const QString chosen = m_pickOpenFile(this, QString::fromStdString(start), windowTitle(),
                                          QtFileFilter(m_language.GetLocalizedString(IDS_DIALOG_MUSIC_FILE_TYPE_SOUND)));
    if (chosen.isEmpty())
        return;
    row.path->setText(chosen);
    WriteSetting(m_profile, setting::kLastMusicDirectory, ToPath(chosen).parent_path().string());
    OnChanged();
}

void CBackgroundMusicDlg::Test(const Row& row)
{
    const std::filesystem::path file = ToPath(row.path->text());
    switch (GetMusicType(file)) {
    case MusicType::None:
        return;
    case MusicType::Waveform:
        m_player.PlayWave(file, MusicPlayer::kPreviewSeconds, false, true);
        return;
    default:
        m_player.PlayMusicFile(file, MusicPlayer::kPreviewSeconds);
        return;
    }
}

void CBackgroundMusicDlg::OnFactoryValues()
{
    // Only the controls change; the user's file waits for OK.
    FillControls(LoadMusicSettings(m_player.Files(), true));
    OnChanged();
}

void CBackgroundMusicDlg::OnOk()
{
    ReadControls();
    std::string error;
    if (!SaveMusicSettings(m_settings, m_player.Files(), m_language, &error)) {
        ShowNotice(ToQString(error), this);
        return;
    }
    m_player.ReloadSettings();
    accept();
}

}  // namespace tavlix
