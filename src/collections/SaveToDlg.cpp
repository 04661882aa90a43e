#include "collections/SaveToDlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/TextUtilities.h"
#include "controls/DialogSupport.h"
#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"
#include "engine/CBMUtilities.h"
#include "collections/Collection.h"
#include "collections/CollectionContext.h"

namespace tavlix {

SaveToDlg::SaveToDlg(Collection& collection, const CollectionContext& context, const QString& question,
                     const QString& note, QWidget* parent)
    : QDialog(parent),
      m_collection(collection),
      m_context(context),
      m_question(new QLineEdit(question, this)),
      m_note(new QLineEdit(note, this)),
      m_status(new QLabel(this))
{
    setObjectName(QStringLiteral("saveToDlg"));
    const LanguageState& language = context.language;
    setWindowTitle(LocalizedText(language, IDS_DIALOG_SC_CAPTION_HOLDER, CollectionTitle(collection, language)));
    m_question->setObjectName(QStringLiteral("questionEdit"));
    m_note->setObjectName(QStringLiteral("noteEdit"));
    m_status->setObjectName(QStringLiteral("statusLine"));
    auto* form = new QFormLayout;
    form->addRow(LocalizedText(language, IDS_DIALOG_MAIN_QUESTION_Q), m_question);
    form->addRow(LocalizedText(language, IDS_DIALOG_FM_NOTE_N), m_note);
    auto* buttons = MakeButtonBox(this, language);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &SaveToDlg::OnOk);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_status);
    layout->addWidget(buttons);
    m_note->setMinimumWidth(320);
    connect(m_question, &QLineEdit::textChanged, this, &SaveToDlg::Refresh);
    InstallHelpKey(this, context.openHelpTopic, kCollectionsHelpTopic);
    Refresh();
}

void SaveToDlg::Refresh()
{
    const SaveToState state =
        CheckSaveToQuestion(m_question->text().toStdString(), m_collection, m_context.maximum, m_context.language);
    m_status->setText(ToQString(state.status));
    m_ok->setEnabled(state.okEnabled);
}

void SaveToDlg::OnOk()
{
    if (!m_ok->isEnabled())
        return;
    // Kept sorted, as every question of a collection, so that it is found again.
    NumberArray q;
    CBMUtilities::GetQuestionFromString(TrimBlanksAndLineEnds(m_question->text().toStdString()), q, m_context.maximum);
    CBMUtilities::SortNumbers(q[0], q[1], q[2], q[3], 4, true);
    m_collection.Items().push_back({CBMUtilities::FormatQuestion(q[0], q[1], q[2], q[3]), {},
                                    m_note->text().toStdString()});
    SaveCollection(m_collection, m_context, this);
    accept();
}

}  // namespace tavlix
