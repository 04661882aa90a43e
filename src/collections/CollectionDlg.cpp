#include "collections/CollectionDlg.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "controls/CBMMessageBox.h"
#include "controls/DialogSupport.h"
#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"
#include "settings/SettingsTable.h"
#include "collections/Collection.h"
#include "collections/CollectionContext.h"
#include "collections/CollectionItemDlg.h"
#include "collections/TextExportDlg.h"

namespace tavlix {

namespace {

constexpr int kNarrowWidth = 520;  // the list alone
constexpr int kWideWidth = 880;    // the list and the solutions beside it

}  // namespace

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
    setWindowTitle(ToQString(CollectionTitle(collection, context.language)));
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
    // What a screen reader says of the list and the panes, which have no label on screen.
    m_list->setAccessibleName(windowTitle());
    m_details->setAccessibleName(Text(IDS_BMT_NOTE));
    m_solutions->setAccessibleName(PlainLabel(Text(IDS_DIALOG_MAIN_ALL_SOLUTIONS_A)));
    m_showSolutions->setText(Text(IDS_DIALOG_FM_SHOW_SOLUTION_S));
    m_advanced->setText(Text(IDS_DIALOG_FM_ENABLE_POWER_ROOT_E));
    m_showSolutions->setChecked(ReadSetting(context.profile, setting::kCollectionShowSolutions));
    m_advanced->setChecked(ReadSetting(context.profile, setting::kCollectionAdvanced));

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
    InstallHelpKey(this, context.openHelpTopic, kCollectionsHelpTopic);

    resize(kNarrowWidth, 460);
    Fill({}, 0);
    ApplyWidth();
}

CollectionDlg::~CollectionDlg()
{
    WriteSetting(m_context.profile, setting::kCollectionShowSolutions, m_showSolutions->isChecked());
    WriteSetting(m_context.profile, setting::kCollectionAdvanced, m_advanced->isChecked());
}

QString CollectionDlg::Text(int id, const std::string& first) const
{
    return LocalizedText(m_context.language, id, first);
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
    m_details->setPlainText(ToQString(item.question + "\r\n" + item.note));
    m_solutions->setPlainText(ToQString(SolutionsText(item.question, m_advanced->isChecked(), m_context.language, false)));
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
    m_changed = true;
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
        m_changed = true;
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
    if (!AskYesNo(Text(IDS_DIALOG_FM_PROMPT_DELETE, question), this))
        return;
    items.erase(items.begin() + row);
    SaveCollection(m_collection, m_context, this);
    m_changed = true;
    Fill({}, row);
}

void CollectionDlg::OnExport()
{
    TextExportDlg dialog(m_collection, m_context, this);
    dialog.exec();
}

}  // namespace tavlix
