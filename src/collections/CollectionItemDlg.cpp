#include "collections/CollectionItemDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "controls/CBMMessageBox.h"
#include "controls/DialogSupport.h"
#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"
#include "collections/Collection.h"
#include "collections/CollectionContext.h"

namespace tavlix {

CollectionItemDlg::CollectionItemDlg(const Collection* collection, std::size_t editedIndex,
                                     const CollectionContext& context, bool advanced, QWidget* parent)
    : QDialog(parent),
      m_collection(collection),
      m_editedIndex(editedIndex),
      m_context(context),
      m_question(new QLineEdit(this)),
      m_note(new QLineEdit(this)),
      m_advanced(new QCheckBox(this)),
      m_solutions(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("collectionItemDlg"));
    const LanguageState& language = context.language;
    setWindowTitle(collection ? LocalizedText(language, IDS_DIALOG_FMI_CAPTION, CollectionTitle(*collection, language))
                              : LocalizedText(language, IDS_DIALOG_FMI_INSTANT_SOLUTIONS));
    m_question->setObjectName(QStringLiteral("questionEdit"));
    m_note->setObjectName(QStringLiteral("noteEdit"));
    m_advanced->setObjectName(QStringLiteral("advancedCheck"));
    m_solutions->setObjectName(QStringLiteral("solutionsPane"));
    m_advanced->setText(LocalizedText(language, IDS_DIALOG_FM_ENABLE_POWER_ROOT_E));
    m_advanced->setChecked(advanced);
    m_solutions->setReadOnly(true);
    m_solutions->setMinimumSize(420, 220);

    auto* form = new QFormLayout;
    form->addRow(LocalizedText(language, IDS_DIALOG_MAIN_QUESTION_Q), m_question);
    auto* noteLabel = new QLabel(LocalizedText(language, IDS_DIALOG_FM_NOTE_N), this);
    noteLabel->setBuddy(m_note);  // its key letter and what a screen reader says for the box
    form->addRow(noteLabel, m_note);
    // The stand-alone tool keeps no item, so it has no note.
    noteLabel->setVisible(collection != nullptr);
    m_note->setVisible(collection != nullptr);
    auto* buttons = MakeButtonBox(this, language);
    connect(buttons, &QDialogButtonBox::accepted, this, &CollectionItemDlg::OnOk);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_advanced);
    auto* solutionsLabel = new QLabel(LocalizedText(language, IDS_DIALOG_MAIN_ALL_SOLUTIONS_A), this);
    solutionsLabel->setBuddy(m_solutions);
    layout->addWidget(solutionsLabel);
    layout->addWidget(m_solutions, 1);
    layout->addWidget(buttons);

    connect(m_question, &QLineEdit::textChanged, this, &CollectionItemDlg::RefreshSolutions);
    connect(m_advanced, &QCheckBox::toggled, this, &CollectionItemDlg::RefreshSolutions);
    InstallHelpKey(this, context.openHelpTopic, kCollectionsHelpTopic);
    RefreshSolutions();
}

void CollectionItemDlg::SetItem(const QString& question, const QString& note)
{
    m_question->setText(question);
    m_note->setText(note);
}

QString CollectionItemDlg::Note() const { return m_note->text(); }

bool CollectionItemDlg::Advanced() const { return m_advanced->isChecked(); }

void CollectionItemDlg::RefreshSolutions()
{
    m_solutions->setPlainText(ToQString(SolutionsText(m_question->text().toStdString(), m_advanced->isChecked(),
                                              m_context.language, true)));
}

void CollectionItemDlg::OnOk()
{
    if (!m_collection) {
        accept();
        return;
    }
    const ItemCheck check = CheckItem(m_question->text().toStdString(), *m_collection, m_editedIndex,
                                      m_context.language);
    if (check.result != ItemCheck::Accepted) {
        ShowNotice(ToQString(check.message), this);
        return;
    }
    if (!check.message.empty())
        ShowNotice(ToQString(check.message), this, MB_ICONASTERISK);
    m_stored = QString::fromStdString(check.storedQuestion);
    m_note->setText(m_note->text().trimmed());
    accept();
}

}  // namespace tavlix
