#include "collections/TextExportDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <filesystem>

#include "common/TextUtilities.h"
#include "controls/CBMMessageBox.h"
#include "controls/DialogSupport.h"
#include "controls/PictureButton.h"
#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"
#include "settings/SettingsTable.h"
#include "settings/UserDataDirectory.h"
#include "collections/Collection.h"
#include "collections/CollectionContext.h"

namespace tavlix {

TextExportDlg::TextExportDlg(const Collection& collection, const CollectionContext& context, QWidget* parent)
    : QDialog(parent),
      m_collection(collection),
      m_context(context),
      m_title(new QLineEdit(this)),
      m_path(new QLineEdit(this)),
      m_questions(new QCheckBox(this)),
      m_notes(new QCheckBox(this)),
      m_answers(new QCheckBox(this))
{
    setObjectName(QStringLiteral("textExportDlg"));
    const LanguageState& language = context.language;
    const std::string name(collection.Name());
    const std::string title = CollectionTitle(collection, language);
    setWindowTitle(LocalizedText(language, IDS_DIALOG_SF_CAPTION_HOLDER, title));
    m_title->setObjectName(QStringLiteral("titleEdit"));
    m_path->setObjectName(QStringLiteral("pathEdit"));
    m_notes->setObjectName(QStringLiteral("notesCheck"));
    m_answers->setObjectName(QStringLiteral("answersCheck"));

    const std::string defaultPath =
        context.userData.Current() + "/" + (collection.IsMyFavorites() ? "MFSaved.txt" : "TMSaved.txt");
    const SettingParts ofCollection{collection.Name()};
    m_title->setText(QString::fromStdString(ReadSetting(context.profile, setting::kExportTitle, name, ofCollection)));
    m_folder = QString::fromStdString(ReadSetting(context.profile, setting::kExportFolder, ofCollection));
    m_path->setText(QString::fromStdString(ReadSetting(context.profile, setting::kExportPath, defaultPath, ofCollection)));
    m_notes->setChecked(ReadSetting(context.profile, setting::kExportNotes, ofCollection));
    m_answers->setChecked(ReadSetting(context.profile, setting::kExportAnswers, ofCollection));
    m_questions->setChecked(true);
    m_questions->setEnabled(false);  // questions are always written
    m_questions->setText(LocalizedText(language, IDS_DIALOG_SF_QUESTIONS_Q));
    m_notes->setText(LocalizedText(language, IDS_DIALOG_SF_NOTES_N));
    m_answers->setText(LocalizedText(language, IDS_DIALOG_SF_ANSWERS_A));

    auto* browse = new PictureButton(this);
    browse->setObjectName(QStringLiteral("browseButton"));
    browse->SetImages(QStringLiteral("browse"));
    browse->setToolTip(LocalizedText(language, IDS_TIP_PATH));
    connect(browse, &PictureButton::clicked, this, &TextExportDlg::Browse);
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(m_path, 1);
    pathRow->addWidget(browse);
    auto* form = new QFormLayout;
    form->addRow(LocalizedText(language, IDS_DIALOG_SF_TITLE_T), m_title);
    // The row holds the box and its button: the label is told which box it names.
    auto* pathLabel = new QLabel(LocalizedText(language, IDS_DIALOG_SF_PATH_P), this);
    pathLabel->setBuddy(m_path);
    form->addRow(pathLabel, pathRow);
    auto* group = new QGroupBox(LocalizedText(language, IDS_DIALOG_SF_CONTAINING), this);
    auto* groupLayout = new QHBoxLayout(group);
    for (QCheckBox* c : {m_questions, m_notes, m_answers})
        groupLayout->addWidget(c);
    auto* buttons = MakeButtonBox(this, language);
    connect(buttons, &QDialogButtonBox::accepted, this, &TextExportDlg::OnOk);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(group);
    layout->addWidget(buttons);
    m_path->setMinimumWidth(420);
    InstallHelpKey(this, context.openHelpTopic, kCollectionsHelpTopic);
}

void TextExportDlg::Browse()
{
    if (!m_context.pickSaveFile)
        return;
    QString chosen = m_context.pickSaveFile(this, m_path->text(), windowTitle(),
                                            QtFileFilter(m_context.language.GetLocalizedString(IDS_BMT_FILE_TYPE_TEXT_AND_ALL)));
    if (chosen.isEmpty())
        return;
    if (!chosen.right(6).contains(QLatin1Char('.')))
        chosen += QStringLiteral(".txt");
    m_path->setText(chosen);
    m_folder = QString::fromStdString(std::filesystem::path(chosen.toStdString()).parent_path().string());
}

void TextExportDlg::OnOk()
{
    Profile& profile = m_context.profile;
    const std::string path = m_path->text().trimmed().toStdString();
    const SettingParts ofCollection{m_collection.Name()};
    WriteSetting(profile, setting::kExportTitle, m_title->text().toStdString(), ofCollection);
    WriteSetting(profile, setting::kExportFolder, m_folder.toStdString(), ofCollection);
    WriteSetting(profile, setting::kExportPath, path, ofCollection);
    WriteSetting(profile, setting::kExportNotes, m_notes->isChecked(), ofCollection);
    WriteSetting(profile, setting::kExportAnswers, m_answers->isChecked(), ofCollection);

    const std::string text = ExportText(m_collection,
                                        {m_title->text().toStdString(), m_notes->isChecked(), m_answers->isChecked()},
                                        m_context.language);
    // Asked about the file that will be written: a "file://" address names a plain path.
    const std::string target = UserDataDirectory::TextFilePath(path);
    std::error_code error;
    if (std::filesystem::is_regular_file(target, error)) {
        std::string question = m_context.language.GetLocalizedString(IDS_DIALOG_MAIN_PROMPT_OVERWRITE_FILE);
        ReplaceAll(question, "#1", target);
        if (!AskYesNo(ToQString(question), this))
            return;
    }
    std::string reason;
    if (m_context.userData.WriteTextFile(path, text, reason) != 1) {
        ShowNotice(ToQString(reason), this);
        return;
    }
    accept();
}

}  // namespace tavlix
