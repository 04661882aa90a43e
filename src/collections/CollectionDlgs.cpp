#include "collections/CollectionDlgs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <filesystem>

#include "collections/Collection.h"
#include "settings/UserDataDirectory.h"
#include "controls/CBMMessageBox.h"
#include "i18n/LanguageState.h"
#include "controls/PictureButton.h"
#include "settings/Profile.h"
#include "i18n/StringIds.h"
#include "common/TextUtilities.h"

namespace tavlix {

namespace {

constexpr int kHelpTopicCollections = 18;
constexpr int kNarrowWidth = 520;
constexpr int kWideWidth = 880;

QString Q(const std::string& text) { return QString::fromStdString(ToPlatformLineEnds(text)); }

QString Text(const LanguageState& language, int id, const std::string& first = {})
{
    return Q(language.GetLocalizedString(id, first));
}

std::string CollectionTitle(const Collection& collection, const LanguageState& language)
{
    return language.GetLocalizedString(collection.IsMyFavorites() ? IDS_DIALOG_SF_PROMPT_TITLE_MY_FAVORITES
                                                                  : IDS_DIALOG_SF_PROMPT_TITLE_TROUBLE_MAKERS);
}

void Tell(const std::string& text, QWidget* parent, unsigned icon = MB_ICONEXCLAMATION)
{
    BMMessageBox(Q(text), {}, MB_OK | icon, false, {}, false, false, parent);
}

// OK and Cancel with the table's labels.
QDialogButtonBox* OkCancel(QDialog* dialog, const LanguageState& language)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(Text(language, IDS_DIALOG_OK));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    buttons->button(QDialogButtonBox::Cancel)->setText(Text(language, IDS_DIALOG_CANCEL));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

// F1 in the collection windows opens the help on collections.
class HelpKeyFilter : public QObject {
public:
    HelpKeyFilter(QObject* parent, std::function<void(int)> open) : QObject(parent), m_open(std::move(open)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
            if (m_open)
                m_open(kHelpTopicCollections);
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void(int)> m_open;
};

void InstallHelpKey(QDialog* dialog, const CollectionContext& context)
{
    dialog->installEventFilter(new HelpKeyFilter(dialog, context.openHelpTopic));
}

QString QtFilter(const std::string& filter)
{
    // "Text File (*.txt)|*.txt|All Files (*.*)|*.*||": every other part names a filter.
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QStringList names;
    for (int i = 0; i < parts.size(); i += 2)
        names << parts[i];
    return names.join(QStringLiteral(";;"));
}

}  // namespace

bool SaveCollection(Collection& collection, const CollectionContext& context, QWidget* parent)
{
    const std::filesystem::path file = collection.IsMyFavorites() ? context.userData.MyFavoritesFile()
                                                                  : context.userData.TroubleMakersFile();
    std::string error;
    if (collection.Save(file, context.language, error))
        return true;
    Tell(error, parent);
    return false;
}

// ---- Save to ----------------------------------------------------------------------------

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
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    const LanguageState& language = context.language;
    setWindowTitle(Text(language, IDS_DIALOG_SC_CAPTION_HOLDER, CollectionTitle(collection, language)));
    m_question->setObjectName(QStringLiteral("questionEdit"));
    m_note->setObjectName(QStringLiteral("noteEdit"));
    m_status->setObjectName(QStringLiteral("statusLine"));
    auto* form = new QFormLayout;
    form->addRow(Text(language, IDS_DIALOG_MAIN_QUESTION_Q), m_question);
    form->addRow(Text(language, IDS_DIALOG_FM_NOTE_N), m_note);
    auto* buttons = OkCancel(this, language);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &SaveToDlg::OnOk);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_status);
    layout->addWidget(buttons);
    m_note->setMinimumWidth(320);
    connect(m_question, &QLineEdit::textChanged, this, &SaveToDlg::Refresh);
    InstallHelpKey(this, context);
    Refresh();
}

void SaveToDlg::Refresh()
{
    const SaveToState state = CheckSaveToQuestion(m_question->text().toStdString(), m_collection, m_context.language);
    m_status->setText(Q(state.status));
    m_ok->setEnabled(state.okEnabled);
}

void SaveToDlg::OnOk()
{
    if (!m_ok->isEnabled())
        return;
    // Kept sorted, as every question of a collection, so that it is found again.
    NumberArray q;
    CBMUtilities::GetQuestionFromString(TrimBlanksAndLineEnds(m_question->text().toStdString()), q, false);
    CBMUtilities::SortNumbers(q[0], q[1], q[2], q[3], 4, true);
    m_collection.Items().push_back({CBMUtilities::FormatQuestion(q[0], q[1], q[2], q[3]), {},
                                    m_note->text().toStdString()});
    SaveCollection(m_collection, m_context, this);
    accept();
}

// ---- Item dialog and Instant Solutions -------------------------------------------------

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
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    const LanguageState& language = context.language;
    setWindowTitle(collection ? Text(language, IDS_DIALOG_FMI_CAPTION, CollectionTitle(*collection, language))
                              : Text(language, IDS_DIALOG_FMI_INSTANT_SOLUTIONS));
    m_question->setObjectName(QStringLiteral("questionEdit"));
    m_note->setObjectName(QStringLiteral("noteEdit"));
    m_advanced->setObjectName(QStringLiteral("advancedCheck"));
    m_solutions->setObjectName(QStringLiteral("solutionsPane"));
    m_advanced->setText(Text(language, IDS_DIALOG_FM_ENABLE_POWER_ROOT_E));
    m_advanced->setChecked(advanced);
    m_solutions->setReadOnly(true);
    m_solutions->setMinimumSize(420, 220);

    auto* form = new QFormLayout;
    form->addRow(Text(language, IDS_DIALOG_MAIN_QUESTION_Q), m_question);
    auto* noteLabel = new QLabel(Text(language, IDS_DIALOG_FM_NOTE_N), this);
    form->addRow(noteLabel, m_note);
    // The stand-alone tool keeps no item, so it has no note.
    noteLabel->setVisible(collection != nullptr);
    m_note->setVisible(collection != nullptr);
    auto* buttons = OkCancel(this, language);
    connect(buttons, &QDialogButtonBox::accepted, this, &CollectionItemDlg::OnOk);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_advanced);
    auto* solutionsLabel = new QLabel(Text(language, IDS_DIALOG_MAIN_ALL_SOLUTIONS_A), this);
    solutionsLabel->setBuddy(m_solutions);
    layout->addWidget(solutionsLabel);
    layout->addWidget(m_solutions, 1);
    layout->addWidget(buttons);

    connect(m_question, &QLineEdit::textChanged, this, &CollectionItemDlg::RefreshSolutions);
    connect(m_advanced, &QCheckBox::toggled, this, &CollectionItemDlg::RefreshSolutions);
    InstallHelpKey(this, context);
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
    m_solutions->setPlainText(Q(SolutionsText(m_question->text().toStdString(), m_advanced->isChecked(),
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
        Tell(check.message, this);
        return;
    }
    if (!check.message.empty())
        Tell(check.message, this, MB_ICONASTERISK);
    m_stored = QString::fromStdString(check.storedQuestion);
    m_note->setText(m_note->text().trimmed());
    accept();
}

// ---- List window -------------------------------------------------------------------------

CollectionDlg::CollectionDlg(Collection& collection, const CollectionContext& context, QWidget* parent)
    : QDialog(parent),
      m_collection(collection),
      m_context(context),
      m_list(new QTreeWidget(this)),
      m_details(new QPlainTextEdit(this)),
      m_solutions(new QPlainTextEdit(this)),
      m_showSolutions(new QCheckBox(this)),
      m_advanced(new QCheckBox(this)),
      m_add(new QPushButton(this)),
      m_delete(new QPushButton(this)),
      m_modify(new QPushButton(this)),
      m_export(new QPushButton(this))
{
    setObjectName(QStringLiteral("collectionDlg"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowTitle(Q(CollectionTitle(collection, context.language)));
    m_list->setObjectName(QStringLiteral("itemList"));
    m_details->setObjectName(QStringLiteral("detailsPane"));
    m_solutions->setObjectName(QStringLiteral("solutionsPane"));
    m_showSolutions->setObjectName(QStringLiteral("showSolutionsCheck"));
    m_advanced->setObjectName(QStringLiteral("advancedCheck"));
    const std::pair<QPushButton*, int> buttons[] = {{m_add, IDS_TIP_ADD}, {m_delete, IDS_TIP_DELETE},
                                                    {m_modify, IDS_TIP_MODIFY}, {m_export, IDS_TIP_SAVE}};
    const char* names[] = {"addButton", "deleteButton", "modifyButton", "exportButton"};
    for (std::size_t i = 0; i < std::size(buttons); ++i) {
        buttons[i].first->setObjectName(QLatin1String(names[i]));
        buttons[i].first->setText(Text(buttons[i].second));
        buttons[i].first->setToolTip(buttons[i].first->text());
        buttons[i].first->setAutoDefault(false);
    }

    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setHeaderLabels({Text(IDS_BMT_ID), Text(IDS_DIALOG_FM_QUESTION), Text(IDS_BMT_NOTE)});
    m_list->header()->setStretchLastSection(true);
    m_details->setReadOnly(true);
    m_details->setMaximumHeight(70);
    m_solutions->setReadOnly(true);
    m_showSolutions->setText(Text(IDS_DIALOG_FM_SHOW_SOLUTION_S));
    m_advanced->setText(Text(IDS_DIALOG_FM_ENABLE_POWER_ROOT_E));
    m_showSolutions->setChecked(context.profile.GetProfileInt("FM", "Show Solution", 0) != 0);
    m_advanced->setChecked(context.profile.GetProfileInt("FM", "Enable Power and Root", 0) != 0);

    auto* left = new QVBoxLayout;
    left->addWidget(m_list, 1);
    left->addWidget(m_details);
    auto* row = new QHBoxLayout;
    for (QPushButton* b : {m_add, m_delete, m_modify, m_export})
        row->addWidget(b);
    row->addStretch(1);
    left->addLayout(row);
    left->addWidget(m_showSolutions);
    left->addWidget(m_advanced);
    auto* main = new QHBoxLayout(this);
    main->addLayout(left, 3);
    main->addWidget(m_solutions, 2);

    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &CollectionDlg::RefreshSelection);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this] { OnModify(); });
    connect(m_add, &QPushButton::clicked, this, &CollectionDlg::OnAdd);
    connect(m_modify, &QPushButton::clicked, this, &CollectionDlg::OnModify);
    connect(m_delete, &QPushButton::clicked, this, &CollectionDlg::OnDelete);
    connect(m_export, &QPushButton::clicked, this, &CollectionDlg::OnExport);
    connect(m_showSolutions, &QCheckBox::toggled, this, &CollectionDlg::ApplyWidth);
    connect(m_advanced, &QCheckBox::toggled, this, &CollectionDlg::RefreshSelection);
    InstallHelpKey(this, context);

    resize(kNarrowWidth, 460);
    Fill({}, 0);
    ApplyWidth();
}

CollectionDlg::~CollectionDlg()
{
    m_context.profile.WriteProfileInt("FM", "Show Solution", m_showSolutions->isChecked() ? 1 : 0);
    m_context.profile.WriteProfileInt("FM", "Enable Power and Root", m_advanced->isChecked() ? 1 : 0);
}

QString CollectionDlg::Text(int id, const std::string& first) const
{
    return tavlix::Text(m_context.language, id, first);
}

int CollectionDlg::SelectedRow() const
{
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : m_list->indexOfTopLevelItem(selected.first());
}

void CollectionDlg::Fill(const std::string& selectQuestion, int selectRow)
{
    m_list->clear();
    QList<QTreeWidgetItem*> rows;
    const auto& items = m_collection.Items();
    rows.reserve(qsizetype(items.size()));
    for (std::size_t i = 0; i < items.size(); ++i) {
        // A note read from a hand-edited file may hold line breaks; one line is shown.
        QString note = QString::fromStdString(items[i].note);
        note.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        rows.append(new QTreeWidgetItem({QString::number(i + 1), QString::fromStdString(items[i].question), note}));
    }
    m_list->addTopLevelItems(rows);
    if (!selectQuestion.empty()) {
        const std::size_t found = m_collection.Find(selectQuestion);
        selectRow = found == std::string::npos ? -1 : int(found);
    }
    selectRow = std::min(selectRow, m_list->topLevelItemCount() - 1);
    if (selectRow >= 0) {
        QTreeWidgetItem* item = m_list->topLevelItem(selectRow);
        m_list->setCurrentItem(item);
        m_list->scrollToItem(item);
    }
    RefreshSelection();
}

void CollectionDlg::RefreshSelection()
{
    const int row = SelectedRow();
    m_delete->setEnabled(row >= 0);
    m_modify->setEnabled(row >= 0);
    m_export->setEnabled(!m_collection.Items().empty());
    if (row < 0) {
        m_details->clear();
        m_solutions->clear();
        return;
    }
    const CollectionItem& item = m_collection.Items()[std::size_t(row)];
    m_details->setPlainText(Q(item.question + "\r\n" + item.note));
    m_solutions->setPlainText(Q(SolutionsText(item.question, m_advanced->isChecked(), m_context.language, false)));
}

void CollectionDlg::ApplyWidth()
{
    m_solutions->setVisible(m_showSolutions->isChecked());
    resize(m_showSolutions->isChecked() ? kWideWidth : kNarrowWidth, height());
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

void CollectionDlg::OnAdd()
{
    CollectionItemDlg dialog(&m_collection, std::string::npos, m_context, m_advanced->isChecked(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_collection.Items().push_back({dialog.StoredQuestion().toStdString(), {}, dialog.Note().toStdString()});
    SaveCollection(m_collection, m_context, this);
    m_bChanged = true;
    if (dialog.Advanced() != m_advanced->isChecked())
        m_advanced->setChecked(dialog.Advanced());
    Fill(dialog.StoredQuestion().toStdString());
}

void CollectionDlg::OnModify()
{
    const int row = SelectedRow();
    if (row < 0)
        return;
    CollectionItem& item = m_collection.Items()[std::size_t(row)];
    CollectionItemDlg dialog(&m_collection, std::size_t(row), m_context, m_advanced->isChecked(), this);
    dialog.SetItem(QString::fromStdString(item.question), QString::fromStdString(item.note));
    if (dialog.exec() != QDialog::Accepted)
        return;
    const std::string question = dialog.StoredQuestion().toStdString();
    const std::string note = dialog.Note().toStdString();
    if (question != item.question || note != item.note) {
        item.question = question;
        item.note = note;
        SaveCollection(m_collection, m_context, this);
        m_bChanged = true;
    }
    Fill(question);
}

void CollectionDlg::OnDelete()
{
    const int row = SelectedRow();
    if (row < 0)
        return;
    auto& items = m_collection.Items();
    const std::string question = items[std::size_t(row)].question;
    if (BMMessageBox(Text(IDS_DIALOG_FM_PROMPT_DELETE, question), {}, MB_YESNO | MB_ICONQUESTION, false, {},
                     false, false, this) != IDYES)
        return;
    items.erase(items.begin() + row);
    SaveCollection(m_collection, m_context, this);
    m_bChanged = true;
    Fill({}, row);
}

void CollectionDlg::OnExport()
{
    TextExportDlg dialog(m_collection, m_context, this);
    dialog.exec();
}

// ---- Text export -------------------------------------------------------------------------

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
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    const LanguageState& language = context.language;
    const std::string name(collection.Name());
    const std::string title = CollectionTitle(collection, language);
    setWindowTitle(Text(language, IDS_DIALOG_SF_CAPTION_HOLDER, title));
    m_title->setObjectName(QStringLiteral("titleEdit"));
    m_path->setObjectName(QStringLiteral("pathEdit"));
    m_notes->setObjectName(QStringLiteral("notesCheck"));
    m_answers->setObjectName(QStringLiteral("answersCheck"));

    const std::string defaultPath =
        context.userData.Current() + "/" + (collection.IsMyFavorites() ? "MFSaved.txt" : "TMSaved.txt");
    m_title->setText(QString::fromStdString(context.profile.GetProfileString("File", Key("Last Saved Title"), name)));
    m_folder = QString::fromStdString(context.profile.GetProfileString("File", Key("Last Saved Folder"), ""));
    m_path->setText(QString::fromStdString(context.profile.GetProfileString("File", Key("Last Saved Path"), defaultPath)));
    m_notes->setChecked(context.profile.GetProfileInt("File", Key("Last Saved Note"), 1) != 0);
    m_answers->setChecked(context.profile.GetProfileInt("File", Key("Last Saved Answer"), 1) != 0);
    m_questions->setChecked(true);
    m_questions->setEnabled(false);  // questions are always written
    m_questions->setText(Text(language, IDS_DIALOG_SF_QUESTIONS_Q));
    m_notes->setText(Text(language, IDS_DIALOG_SF_NOTES_N));
    m_answers->setText(Text(language, IDS_DIALOG_SF_ANSWERS_A));

    auto* browse = new PictureButton(this);
    browse->setObjectName(QStringLiteral("browseButton"));
    browse->SetImages(QStringLiteral("browse"));
    browse->setToolTip(Text(language, IDS_TIP_PATH));
    connect(browse, &PictureButton::clicked, this, &TextExportDlg::Browse);
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(m_path, 1);
    pathRow->addWidget(browse);
    auto* form = new QFormLayout;
    form->addRow(Text(language, IDS_DIALOG_SF_TITLE_T), m_title);
    form->addRow(Text(language, IDS_DIALOG_SF_PATH_P), pathRow);
    auto* group = new QGroupBox(Text(language, IDS_DIALOG_SF_CONTAINING), this);
    auto* groupLayout = new QHBoxLayout(group);
    for (QCheckBox* c : {m_questions, m_notes, m_answers})
        groupLayout->addWidget(c);
    auto* buttons = OkCancel(this, language);
    connect(buttons, &QDialogButtonBox::accepted, this, &TextExportDlg::OnOk);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(group);
    layout->addWidget(buttons);
    m_path->setMinimumWidth(420);
    InstallHelpKey(this, context);
}

std::string TextExportDlg::Key(const char* what) const
{
    return std::string(what) + " - " + std::string(m_collection.Name());
}

void TextExportDlg::Browse()
{
    if (!m_context.pickSaveFile)
        return;
    QString chosen = m_context.pickSaveFile(this, m_path->text(), windowTitle(),
                                            QtFilter(m_context.language.GetLocalizedString(IDS_BMT_FILE_TYPE_TEXT_AND_ALL)));
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
    profile.WriteProfileString("File", Key("Last Saved Title"), m_title->text().toStdString());
    profile.WriteProfileString("File", Key("Last Saved Folder"), m_folder.toStdString());
    profile.WriteProfileString("File", Key("Last Saved Path"), path);
    profile.WriteProfileInt("File", Key("Last Saved Note"), m_notes->isChecked() ? 1 : 0);
    profile.WriteProfileInt("File", Key("Last Saved Answer"), m_answers->isChecked() ? 1 : 0);

    const std::string text = ExportText(m_collection,
                                        {m_title->text().toStdString(), m_notes->isChecked(), m_answers->isChecked()},
                                        m_context.language);
    std::error_code error;
    if (std::filesystem::is_regular_file(path, error)) {
        std::string question = m_context.language.GetLocalizedString(IDS_DIALOG_MAIN_PROMPT_OVERWRITE_FILE);
        ReplaceAll(question, "#1", path);
        if (BMMessageBox(Q(question), {}, MB_YESNO | MB_ICONQUESTION, false, {}, false, false, this) != IDYES)
            return;
    }
    std::string reason;
    if (m_context.userData.WriteTextFile(path, text, reason) != 1) {
        Tell(reason, this);
        return;
    }
    accept();
}

}  // namespace tavlix
