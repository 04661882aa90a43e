#include "media/CBackgroundDlg.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "controls/CBMMessageBox.h"
#include "controls/DialogSupport.h"
#include "controls/PictureButton.h"
#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"
#include "media/WindowBackground.h"
#include "settings/SettingsTable.h"

namespace tavlix {

CBackgroundDlg::CBackgroundDlg(WindowBackground& background, Profile& profile, const LanguageState& language,
                               BackgroundPickers pickers, QWidget* parent)
    : QDialog(parent),
      m_background(background),
      m_profile(profile),
      m_language(language),
      m_pickers(std::move(pickers)),
      m_enableImage(new QCheckBox(Text(IDS_DIALOG_BACKGROUND_ENABLE_BACKGROUND_IMAGE_E), this)),
      m_pathLabel(new QLabel(Text(IDS_DIALOG_BACKGROUND_IMAGE_FILE_PATH_P), this)),
      m_path(new QLineEdit(this)),
      m_browse(new PictureButton(this)),
      m_displayLabel(new QLabel(Text(IDS_DIALOG_BACKGROUND_DISPLAY), this)),
      m_tile(new QRadioButton(Text(IDS_DIALOG_BACKGROUND_TILE), this)),
      m_center(new QRadioButton(Text(IDS_DIALOG_BACKGROUND_CENTER), this)),
      m_stretch(new QRadioButton(Text(IDS_DIALOG_BACKGROUND_STRETCH), this)),
      m_color(new QPushButton(Text(IDS_DIALOG_BACKGROUND_SELECT_COLOR), this)),
      m_reset(new QPushButton(Text(IDS_DIALOG_BACKGROUND_RESET), this))
{
    setObjectName(QStringLiteral("backgroundDlg"));
    setWindowTitle(Text(IDS_DIALOG_BACKGROUND_CAPTION));
    m_enableImage->setObjectName(QStringLiteral("enableImageCheck"));
    m_pathLabel->setObjectName(QStringLiteral("imagePathLabel"));
    m_path->setObjectName(QStringLiteral("imagePathEdit"));
    // The path changes through Browse, Reset and drops only, each of which loads it.
    m_path->setReadOnly(true);
    m_path->setMinimumWidth(320);
    m_pathLabel->setBuddy(m_path);
    m_browse->setObjectName(QStringLiteral("browseButton"));
    m_browse->SetImages(QStringLiteral("browse"));
    m_browse->setToolTip(Text(IDS_TIP_PATH));
    m_displayLabel->setObjectName(QStringLiteral("displayLabel"));
    m_tile->setObjectName(QStringLiteral("tileRadio"));
    m_center->setObjectName(QStringLiteral("centerRadio"));
    m_stretch->setObjectName(QStringLiteral("stretchRadio"));
    m_color->setObjectName(QStringLiteral("colorButton"));
    m_reset->setObjectName(QStringLiteral("resetButton"));
    for (QPushButton* b : {m_color, m_reset})
        b->setAutoDefault(false);

    auto* image = new QGroupBox(Text(IDS_DIALOG_BACKGROUND_BACKGROUND_IMAGE), this);
    auto* grid = new QGridLayout(image);
    grid->addWidget(m_enableImage, 0, 0, 1, 3);
    grid->addWidget(m_pathLabel, 1, 0);
    grid->addWidget(m_path, 1, 1);
    grid->addWidget(m_browse, 1, 2);
    auto* modes = new QHBoxLayout;
    for (QRadioButton* r : {m_tile, m_center, m_stretch})
        modes->addWidget(r);
    modes->addStretch(1);
    grid->addWidget(m_displayLabel, 2, 0);
    grid->addLayout(modes, 2, 1, 1, 2);

    auto* buttons = MakeButtonBox(this, language, QDialogButtonBox::Ok);
    auto* row = new QHBoxLayout;
    row->addWidget(m_color);
    row->addWidget(m_reset);
    row->addStretch(1);
    row->addWidget(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(image);
    layout->addLayout(row);

    // clicked, not toggled: only the user's choices act on the window.
    connect(m_enableImage, &QCheckBox::clicked, this, &CBackgroundDlg::OnEnableImage);
    connect(m_browse, &PictureButton::clicked, this, &CBackgroundDlg::OnBrowse);
    for (QRadioButton* r : {m_tile, m_center, m_stretch})
        connect(r, &QRadioButton::clicked, this, [this] { m_background.SetMode(CheckedMode()); });
    connect(m_color, &QPushButton::clicked, this, &CBackgroundDlg::OnSelectColor);
    connect(m_reset, &QPushButton::clicked, this, &CBackgroundDlg::OnReset);
    connect(buttons, &QDialogButtonBox::accepted, this, &CBackgroundDlg::OnOk);
    ShowSettings();
}

QString CBackgroundDlg::Text(int id, const std::string& first) const { return LocalizedText(m_language, id, first); }

void CBackgroundDlg::ShowSettings()
{
    const CBackgroundSettings& settings = m_background.Settings();
    m_enableImage->setChecked(settings.m_bEnableImage);
    m_path->setText(QString::fromStdString(settings.m_strFileName));
    switch (settings.m_nDisplayMode) {
    case BackgroundMode::Tile: m_tile->setChecked(true); break;
    case BackgroundMode::Center: m_center->setChecked(true); break;
    case BackgroundMode::Stretch: m_stretch->setChecked(true); break;
    }
    UpdateEnabling();
}

void CBackgroundDlg::UpdateEnabling()
{
    const bool on = m_enableImage->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{m_pathLabel, m_path, m_browse, m_displayLabel, m_tile,
                                                      m_center, m_stretch})
        w->setEnabled(on);
}

BackgroundMode CBackgroundDlg::CheckedMode() const
{
    if (m_tile->isChecked())
        return BackgroundMode::Tile;
    if (m_center->isChecked())
        return BackgroundMode::Center;
    return BackgroundMode::Stretch;
}

void CBackgroundDlg::OnEnableImage(bool on)
{
    m_background.SetImageEnabled(on);
    m_path->setText(QString::fromStdString(m_background.Settings().m_strFileName));
    UpdateEnabling();
}

void CBackgroundDlg::OnBrowse()
{
    if (!m_pickers.pickOpenFile)
        return;
    QString file =
        m_pickers.pickOpenFile(this, m_path->text(), Text(IDS_DIALOG_BACKGROUND_FILE_TYPE_TITLE),
                               QtFileFilter(m_language.GetLocalizedString(IDS_DIALOG_BACKGROUND_FILE_TYPE_BITMAP)));
    // A name typed without an extension means a bitmap.
    if (!file.isEmpty() && QFileInfo(file).suffix().isEmpty() && !QFileInfo::exists(file))
        file += QStringLiteral(".bmp");
    // A file that is no bitmap leaves the image as it was, and so does the hint; one too
    // large to show says so.
    if (file.isEmpty())
        return;
    const WindowBackground::BitmapLoad load = m_background.LoadBitmap(file.toStdString());
    if (load == WindowBackground::BitmapLoad::TooLarge)
        ShowNotice(WindowBackground::TooLargeText(m_language, file.toStdString()), this);
    if (load != WindowBackground::BitmapLoad::Loaded)
        return;
    m_path->setText(QString::fromStdString(m_background.Settings().m_strFileName));
    if (!m_background.Settings().m_bPromptDrag)
        return;
    CBMMessageBox hint(this);
    hint.m_message = Text(IDS_DIALOG_BACKGROUND_PROMPT_DRAG, m_language.ProductName());
    hint.m_style = MB_OK | MB_ICONASTERISK;
    hint.m_showCheckBox = true;
    hint.m_checkBoxChecked = true;
    hint.exec();
    m_background.SetPromptDrag(hint.m_checkBoxChecked);
    WriteSetting(m_profile, setting::kBackgroundPromptDrag, hint.m_checkBoxChecked);
}

void CBackgroundDlg::OnSelectColor()
{
    if (!m_pickers.pickColor)
        return;
    const QColor color = m_pickers.pickColor(this, m_background.Color());
    if (color.isValid())
        m_background.SetColor(WindowBackground::FromQColor(color));
}

void CBackgroundDlg::OnReset()
{
    m_background.Reset();
    ShowSettings();
}

void CBackgroundDlg::OnOk()
{
    m_background.SetMode(CheckedMode());
    accept();
}

}  // namespace tavlix
