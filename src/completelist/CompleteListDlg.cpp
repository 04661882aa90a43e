#include "completelist/CompleteListDlg.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QProgressBar>
#include <QPromise>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QtConcurrentRun>

#include "collections/CollectionContext.h"
#include "completelist/CompleteListGenerator.h"
#include "controls/CBMMessageBox.h"
#include "controls/DialogSupport.h"
#include "controls/PictureButton.h"
#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"
#include "settings/UserDataDirectory.h"

namespace tavlix {

namespace {

// The worker: solves the configurations one by one, then fills the page, unless the
// dialog cancels first. It works on its own copies of everything it reads.
void MakePage(QPromise<std::string>& promise, CompleteListGenerator list, std::string pageTemplate,
              LanguageState language)
{
    promise.setProgressRange(0, CompleteListGenerator::kProgressRange);
    while (list.Step()) {
        if (promise.isCanceled())
            return;
        promise.setProgressValue(list.Progress());
    }
    promise.addResult(list.FillTemplate(std::move(pageTemplate), language));
}

}  // namespace

CompleteListDlg::CompleteListDlg(CompleteListContext context, QWidget* parent)
    : QDialog(parent),
      m_context(std::move(context)),
      m_standard(new QRadioButton(this)),
      m_advanced(new QRadioButton(this)),
      m_jqk(new QCheckBox(this)),
      m_withSolutions(new QCheckBox(this)),
      m_withoutSolution(new QCheckBox(this)),
      m_start(new PictureButton(this)),
      m_cancel(new PictureButton(this)),
      m_progress(new QProgressBar(this)),
      m_generation(new QFutureWatcher<std::string>(this))
{
    setObjectName(QStringLiteral("completeListDlg"));
    m_standard->setObjectName(QStringLiteral("standardRadio"));
    m_advanced->setObjectName(QStringLiteral("advancedRadio"));
    m_jqk->setObjectName(QStringLiteral("jqkCheck"));
    m_withSolutions->setObjectName(QStringLiteral("withSolutionsCheck"));
    m_withoutSolution->setObjectName(QStringLiteral("withoutSolutionCheck"));
    m_start->setObjectName(QStringLiteral("startButton"));
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    m_progress->setObjectName(QStringLiteral("progressBar"));

    m_standard->setText(Text(IDS_MENU_GAME_STANDARD_RULE_S));
    m_advanced->setText(Text(IDS_MENU_GAME_ADVANCED_RULE_A));
    m_jqk->setText(Text(IDS_MENU_GAME_ENABLE_JQK_J));
    m_withSolutions->setText(Text(IDS_DIALOG_CL_CONFIGURATIONS_WITH_SOLUTION_C));
    m_withoutSolution->setText(Text(IDS_DIALOG_CL_CONFIGURATIONS_WITH_NO_SOLUTION_N));
    m_start->SetImages(QStringLiteral("ok"));
    m_cancel->SetImages(QStringLiteral("cancel"));
    m_start->setToolTip(Text(IDS_TIP_START));
    m_cancel->setToolTip(Text(IDS_DIALOG_CANCEL));
    m_progress->setRange(0, CompleteListGenerator::kProgressRange);
    m_progress->hide();

    auto* rules = new QGroupBox(Text(IDS_DIALOG_CL_SELECT_THE_RULES), this);
    rules->setObjectName(QStringLiteral("rulesGroup"));
    auto* rulesLayout = new QVBoxLayout(rules);
    for (QWidget* w : std::initializer_list<QWidget*>{m_standard, m_advanced, m_jqk})
        rulesLayout->addWidget(w);
    auto* kinds = new QGroupBox(Text(IDS_DIALOG_CL_SELECT_CONFIGURATIONS), this);
    kinds->setObjectName(QStringLiteral("kindsGroup"));
    auto* kindsLayout = new QVBoxLayout(kinds);
    kindsLayout->addWidget(m_withSolutions);
    kindsLayout->addWidget(m_withoutSolution);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_progress, 1);
    bottom->addStretch();
    bottom->addWidget(m_start);
    bottom->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rules);
    layout->addWidget(kinds);
    layout->addLayout(bottom);

    ShowOptions(LoadCompleteListOptions(m_context.profile));
    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{m_standard, m_advanced, m_jqk})
        connect(b, &QAbstractButton::toggled, this, [this] { ShowOptions(ReadOptions()); });
    connect(m_withSolutions, &QCheckBox::clicked, this, [this] { OnKindClicked(ListedKind::WithSolutions); });
    connect(m_withoutSolution, &QCheckBox::clicked, this, [this] { OnKindClicked(ListedKind::WithoutSolution); });
    connect(m_start, &PictureButton::clicked, this, &CompleteListDlg::OnStart);
    connect(m_cancel, &PictureButton::clicked, this, &QDialog::reject);
    connect(m_generation, &QFutureWatcher<std::string>::progressValueChanged, this, &CompleteListDlg::ShowProgress);
    connect(m_generation, &QFutureWatcher<std::string>::finished, this, &CompleteListDlg::Finish);
    InstallHelpKey(this, m_context.openHelpTopic, kCollectionsHelpTopic);
}

CompleteListDlg::~CompleteListDlg() { StopGenerating(); }

QString CompleteListDlg::Text(int id, const std::string& first) const
{
    return LocalizedText(m_context.language, id, first);
}

CompleteListOptions CompleteListDlg::ReadOptions() const
{
    return {m_standard->isChecked(), m_jqk->isChecked(), m_withSolutions->isChecked(),
            m_withoutSolution->isChecked()};
}

void CompleteListDlg::ShowOptions(const CompleteListOptions& options)
{
    (options.standardRule ? m_standard : m_advanced)->setChecked(true);
    m_jqk->setChecked(options.jqkEnabled);
    m_withSolutions->setChecked(options.withSolutions);
    m_withoutSolution->setChecked(options.withoutSolution);
    const QString caption = ToQString(CompleteListCaption(m_context.language, options));
    if (windowTitle() != caption)
        setWindowTitle(caption);
}

void CompleteListDlg::OnKindClicked(ListedKind kind)
{
    ShowOptions(KeepOneKindListed(ReadOptions(), kind));
}

std::filesystem::path CompleteListDlg::PagePath() const
{
    return m_context.pageFolder / CompleteListFileName(m_context.language.Lcid(), ReadOptions());
}

void CompleteListDlg::OnStart()
{
    if (m_running)
        return;
    EnsureCompleteListFolder(m_context.pageFolder);
    const std::filesystem::path templatePath =
        CompleteListTemplatePath(m_context.programDirectory, m_context.language.Lcid());
    std::optional<std::string> pageTemplate = ReadCompleteListTemplate(templatePath);
    if (!pageTemplate) {
        ShowNotice(Text(IDS_DIALOG_CL_TEMPLATE_LOST, templatePath.string()), this);
        reject();
        return;
    }
    const std::filesystem::path page = PagePath();
    switch (DecideCachedPage(page, m_context.clock)) {
    case CachedPageAction::Show: ShowPage(page); return;
    case CachedPageAction::Ask:
        if (!AskYesNo(Text(IDS_DIALOG_CL_PROMPT_OVERWRITE), this)) {
            ShowPage(page);
            return;
        }
        break;
    case CachedPageAction::Generate: break;
    }
    StartGenerating(std::move(*pageTemplate));
}

void CompleteListDlg::StartGenerating(std::string pageTemplate)
{
    const CompleteListOptions options = ReadOptions();
    if (m_context.applyLevel)
        m_context.applyLevel(options.standardRule, options.jqkEnabled);
    for (QWidget* w : findChildren<QGroupBox*>())
        w->setEnabled(false);
    m_start->setEnabled(false);
    m_progress->show();
    m_progress->setValue(0);
    m_running = true;
    m_generation->setFuture(
        QtConcurrent::run(MakePage, CompleteListGenerator(options), std::move(pageTemplate), m_context.language));
}

// Progress and the end reach the window as queued events, some of them maybe after a
// Cancel: they count only for a list still in the making.
void CompleteListDlg::ShowProgress(int value)
{
    if (m_running)
        m_progress->setValue(value);
}

void CompleteListDlg::Finish()
{
    if (!m_running)
        return;
    m_running = false;
    const std::filesystem::path page = PagePath();
    std::string error;
    if (m_context.writer.WriteTextFile(page.string(), m_generation->result(), error) == 1) {
        ShowPage(page);
        return;
    }
    ShowNotice(ToQString(error), this);
    reject();
}

void CompleteListDlg::ShowPage(const std::filesystem::path& page)
{
    if (m_context.openPage)
        m_context.openPage(page.string());
    accept();
}

void CompleteListDlg::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && m_start->isEnabled()) {
        OnStart();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CompleteListDlg::StopGenerating()
{
    m_running = false;
    m_generation->cancel();
    m_generation->waitForFinished();
}

void CompleteListDlg::done(int result)
{
    StopGenerating();
    SaveCompleteListOptions(m_context.profile, ReadOptions());
    QDialog::done(result);
}

}  // namespace tavlix
