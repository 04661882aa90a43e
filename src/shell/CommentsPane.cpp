#include "shell/CommentsPane.h"

#include <QAccessible>
#include <QKeySequence>
#include <QMenu>
#include <QPlainTextEdit>
#include <QShortcut>

#include <algorithm>
#include <memory>

#include "controls/CBMMessageBox.h"
#include "controls/DialogSupport.h"
#include "engine/Hint.h"
#include "engine/RepeatExplanation.h"
#include "i18n/StringIds.h"

namespace tavlix {

CommentsPane::CommentsPane(QPlainTextEdit* pane, AnswerChecker& checker, const LanguageState& language,
                           std::function<AnswerInput()> readInput)
    : m_pane(pane), m_checker(checker), m_language(language), m_readInput(std::move(readInput))
{
    m_pane->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(m_pane, &QWidget::customContextMenuRequested, m_pane,
                     [this](const QPoint& at) { ShowContextMenu(at); });
    auto* why = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_W), m_pane->window());
    QObject::connect(why, &QShortcut::activated, m_pane, [this] { ExplainRepetitive(); });
}

void CommentsPane::Show(const std::string& text)
{
    ForgetAnnouncement();
    m_pane->setPlainText(ToQString(text));
}

void CommentsPane::Announce(const std::string& text)
{
    const QString before = m_pane->toPlainText();
    Show(text);
    QAccessibleTextUpdateEvent changed(m_pane, 0, before, m_pane->toPlainText());
    QAccessible::updateAccessibility(&changed);
    // Qt 6.4 has no announcement for AT-SPI; what screen readers say unasked is a change
    // of the focused control's description.
    m_describedByJudgement = m_pane->window()->focusWidget();
    if (m_describedByJudgement)
        m_describedByJudgement->setAccessibleDescription(m_pane->toPlainText());
}

void CommentsPane::ForgetAnnouncement()
{
    if (m_describedByJudgement)
        m_describedByJudgement->setAccessibleDescription({});
    m_describedByJudgement = nullptr;
}

void CommentsPane::Clear()
{
    ForgetAnnouncement();
    m_pane->clear();
}

void CommentsPane::ShowComment(const std::string& comment)
{
    Announce(comment);
    m_commented = m_readInput();
    m_commentText = m_pane->toPlainText();
}

std::optional<AnswerInput> CommentsPane::CommentedInput() const
{
    if (!m_commented || m_commentText.isEmpty() || m_pane->toPlainText() != m_commentText)
        return std::nullopt;
    return m_commented;
}

bool CommentsPane::CanExplain() const
{
    const std::optional<AnswerInput> input = CommentedInput();
    return input && !m_checker.RepeatedLines(*input).empty();
}

void CommentsPane::ExplainRepetitive()
{
    const std::optional<AnswerInput> input = CommentedInput();
    const std::string text = input ? ExplainRepeatedLines(*input, m_language) : std::string();
    if (text.empty()) {
        ShowNotice(LocalizedText(m_language, IDS_WHY_NOTHING), m_pane->window(), MB_ICONASTERISK);
        return;
    }
    // Details opens the help page on when two answers count as one.
    BMMessageBox(ToQString(text), LocalizedText(m_language, IDS_WHY_CAPTION), MB_OK | MB_ICONASTERISK, true,
                 QLatin1String(CBMMessageBox::kIrrelevantHelpKey), false, false, m_pane->window());
}

// The pane's own entries (copy, select all), then Why Repetitive?.
void CommentsPane::ShowContextMenu(const QPoint& at)
{
    const std::unique_ptr<QMenu> menu(m_pane->createStandardContextMenu(at));
    menu->setObjectName(QStringLiteral("commentsMenu"));
    menu->addSeparator();
    QAction* why = menu->addAction(LocalizedText(m_language, IDS_MENU_WHY_REPETITIVE_W));
    why->setObjectName(QStringLiteral("whyRepetitiveAction"));
    why->setEnabled(CanExplain());
    if (menu->exec(m_pane->viewport()->mapToGlobal(at)) == why)
        ExplainRepetitive();
}

void CommentsPane::ShowAllSolutions() { Show(m_checker.GetAllSolutionsText(m_readInput())); }

void CommentsPane::ShowNextHint() { ShowHint(std::min(m_hintStep + 1, kLastHintStep)); }

void CommentsPane::ShowHint(int step)
{
    int shown = 0;
    const std::string text = HintGuide(m_language).GetHintsText(m_readInput(), step, shown);
    m_hintStep = shown;
    m_hintText = ToQString(text);
    ForgetAnnouncement();
    m_pane->setPlainText(m_hintText);
}

void CommentsPane::ResetHint()
{
    if (m_hintStep > 0 && m_pane->toPlainText() == m_hintText)
        m_pane->clear();
    m_hintStep = 0;
    m_hintText.clear();
}

void CommentsPane::KeepThrough(const std::function<void()>& change)
{
    enum class Kind { Other, Prompt, AllSolutions, Comment, Hint };
    const QString shown = m_pane->toPlainText();
    Kind kind = Kind::Other;
    if (!shown.isEmpty()) {
        const AnswerInput before = m_readInput();
        if (m_hintStep > 0 && shown == m_hintText)
            kind = Kind::Hint;
        else if (shown == ToQString(m_checker.GetAnswerCountPrompt(before)))
            kind = Kind::Prompt;
        else if (shown == ToQString(m_checker.GetAllSolutionsText(before)))
            kind = Kind::AllSolutions;
        else if (shown == ToQString(m_checker.GetComments(before, false)))
            kind = Kind::Comment;
    }
    change();
    const AnswerInput after = m_readInput();
    switch (kind) {
    case Kind::Prompt: Show(m_checker.GetAnswerCountPrompt(after)); break;
    case Kind::AllSolutions: Show(m_checker.GetAllSolutionsText(after)); break;
    case Kind::Comment: ShowComment(m_checker.GetComments(after, false)); break;
    case Kind::Hint:
        if (m_hintStep > 0)
            ShowHint(m_hintStep);
        break;
    case Kind::Other: break;
    }
}

}  // namespace tavlix
