#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>
#include <string>

#include "engine/AnswerChecker.h"

class QPlainTextEdit;
class QPoint;

namespace tavlix {

class LanguageState;

// What the comments pane of the main window shows: a comment, the prompt of a run's
// question, the list of all solutions, or the hints to the question on screen. A change
// of rule or language rewrites it for the new setting. While it shows a comment, its
// context menu and Ctrl+W explain why the comment's repetitive lines repeat.
class CommentsPane {
public:
    // The answers on screen come from readInput; checker words the pane's texts.
    CommentsPane(QPlainTextEdit* pane, AnswerChecker& checker, const LanguageState& language,
                 std::function<AnswerInput()> readInput);

    void Show(const std::string& text);
    // Shows the comment on the answers on screen, which it explains while it stays, and
    // has screen readers say it.
    void ShowComment(const std::string& comment);
    void Clear();
    void ShowAllSolutions();
    // Each call tells one step more about the question on screen, up to a whole solution;
    // the steps so far stay, worked out again from the answers typed by now.
    void ShowNextHint();
    bool HintShown() const { return m_hintStep > 0; }
    // A hint belongs to one question under one rule and range: any change of them starts
    // again at step 1, and takes a hint that no longer holds off the pane.
    void ResetHint();
    // Makes the change, then shows again what the pane showed (a prompt, all solutions, a
    // comment), worked out for the new setting; a hint is reworded at its step unless the
    // change took it away.
    void KeepThrough(const std::function<void()>& change);

private:
    void ShowHint(int step);
    // Why Repetitive?: a box explaining each repetitive line of the comment shown, or
    // saying that there is none.
    void ExplainRepetitive();
    // The comment on screen lists a repetitive line.
    bool CanExplain() const;
    void ShowContextMenu(const QPoint& at);
    // The answers the comment shown was made on, while it is shown.
    std::optional<AnswerInput> CommentedInput() const;
    // Shows a judgement so that screen readers say it: the pane's text changes, and the
    // control with the focus (where the player typed or submitted) is described by it
    // until the pane shows something else.
    void Announce(const std::string& text);
    void ForgetAnnouncement();

    QPlainTextEdit* m_pane;
    AnswerChecker& m_checker;
    const LanguageState& m_language;
    std::function<AnswerInput()> m_readInput;
    int m_hintStep = 0;  // 0: no hint shown for the question on screen yet
    QString m_hintText;  // the hints so far, as the pane shows them
    std::optional<AnswerInput> m_commented;  // the answers of the last comment shown
    QString m_commentText;                   // that comment, as the pane shows it
    QPointer<QWidget> m_describedByJudgement;
};

}  // namespace tavlix
