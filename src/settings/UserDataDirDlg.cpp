#include "settings/UserDataDirDlg.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <filesystem>

#include "settings/UserDataDirectory.h"
#include "controls/CBMMessageBox.h"
#include "i18n/LanguageState.h"
#include "controls/PictureButton.h"
#include "i18n/StringIds.h"
#include "controls/DialogSupport.h"

namespace tavlix {

namespace {

constexpr int kShortestDirectory = 5;  // more than a root such as "C:\"
constexpr int kUserDataDirectoryHelpTopic = 0;

// The nearest folder that exists along a typed path, to start browsing from.
QString NearestExistingFolder(const QString& typed)
{
    std::filesystem::path path = typed.trimmed().toStdString();
    std::error_code error;
    while (!path.empty() && !std::filesystem::is_directory(path, error)) {
        const std::filesystem::path parent = path.parent_path();
        if (parent == path)
            break;
        path = parent;
    }
    return QString::fromStdString(path.string());
}

}  // namespace

FolderPicker SystemFolderPicker()
{
    return [](QWidget* parent, const QString& start, const QString& title) {
        return QFileDialog::getExistingDirectory(parent, title, start);
    };
}

DirectoryChooser::DirectoryChooser(UserDataDirectory& userData, const LanguageState& language,
                                   std::function<void(int)> openHelpTopic, QWidget* parent)
    : QDialog(parent),
      m_userData(userData),
      m_language(language),
      m_label(new QLabel(this)),
      m_edit(new QLineEdit(this)),
      m_browse(new PictureButton(this)),
      m_ok(new PictureButton(this)),
      m_cancel(new PictureButton(this)),
      m_picker(SystemFolderPicker())
{
    m_label->setObjectName(QStringLiteral("label"));
    m_label->setWordWrap(true);
    m_edit->setObjectName(QStringLiteral("directoryEdit"));
    m_edit->setMinimumWidth(420);
    m_edit->setAccessibleName(Text(IDS_DIALOG_UDD_TITLE));  // the label above may be a long explanation
    m_browse->setObjectName(QStringLiteral("browseButton"));
    m_ok->setObjectName(QStringLiteral("okButton"));
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    m_browse->SetImages(QStringLiteral("browse"));
    m_ok->SetImages(QStringLiteral("ok"));
    m_cancel->SetImages(QStringLiteral("cancel"));
    m_browse->setToolTip(Text(IDS_TIP_PATH));
    m_ok->setToolTip(Text(IDS_DIALOG_OK));
    m_cancel->setToolTip(Text(IDS_DIALOG_CANCEL));

    auto* row = new QHBoxLayout;
    row->addWidget(m_edit, 1);
    row->addWidget(m_browse);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addLayout(row);
    layout->addLayout(buttons);

    connect(m_edit, &QLineEdit::textChanged, this, [this] {
        m_ok->setEnabled(DirectoryText().size() >= kShortestDirectory);
    });
    connect(m_browse, &PictureButton::clicked, this, &DirectoryChooser::Browse);
    connect(m_ok, &PictureButton::clicked, this, [this] { OnOk(); });
    connect(m_cancel, &PictureButton::clicked, this, &QDialog::reject);
    m_ok->setEnabled(false);
    InstallHelpKey(this, std::move(openHelpTopic), kUserDataDirectoryHelpTopic);
}

QString DirectoryChooser::Text(int id, const std::string& first) const
{
    return LocalizedText(m_language, id, first);
}

QString DirectoryChooser::DirectoryText() const { return m_edit->text().trimmed(); }

void DirectoryChooser::ShowError(const std::string& text)
{
    ShowNotice(ToQString(text), this);
}

void DirectoryChooser::Browse()
{
    const QString chosen = m_picker(this, NearestExistingFolder(m_edit->text()),
                                    Text(IDS_DIALOG_BROWSE_FOR_FOLDER));
    if (!chosen.isEmpty())
        m_edit->setText(chosen);
}

void DirectoryChooser::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && m_ok->isEnabled()) {
        OnOk();
        return;
    }
    QDialog::keyPressEvent(event);
}

UserDataDirDlg::UserDataDirDlg(UserDataDirectory& userData, const LanguageState& language,
                               std::function<void(int)> openHelpTopic, QWidget* parent)
    : DirectoryChooser(userData, language, std::move(openHelpTopic), parent)
{
    setObjectName(QStringLiteral("userDataDirDlg"));
    setWindowTitle(Text(IDS_DIALOG_UDD_TITLE));
    m_label->setText(Text(IDS_DIALOG_UDD_INFO, m_language.ProductName()));

    std::string reason;
    const std::string current = m_userData.Current();
    m_edit->setText(QString::fromStdString(m_userData.CheckUserDataDirectory(current, reason, 1)
                                               ? current
                                               : m_userData.SuggestUserDataDirectory()));
    m_edit->setCursorPosition(int(m_edit->text().size()));
    // Without administrator rights the suggestion is the only choice.
    m_edit->setReadOnly(!m_userData.IsAdministrator());
    m_browse->setEnabled(m_userData.IsAdministrator());
}

void UserDataDirDlg::OnOk()
{
    std::string error;
    if (m_userData.SetUserDataDirectory(DirectoryText().toStdString(), true, error))
        accept();
    else
        ShowError(error);
}

}  // namespace tavlix
