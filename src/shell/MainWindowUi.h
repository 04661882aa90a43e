#pragma once

#include <QString>

#include <array>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

class QAbstractButton;
class QCheckBox;
class QDialog;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
class QVBoxLayout;

namespace tavlix {

class HyperlinkLabel;
class LanguageState;
class PictureButton;
enum class RunMode;

// A button of the toolbar, left to right: its command, picture and tool tip.
struct ToolbarButton {
    int id;
    const char* picture;
    int tip;
};
std::span<const ToolbarButton> ToolbarButtons();

// The widgets of the main window, laid out top to bottom as the player sees them: the
// menu bar, the toolbar, the question boxes with the result picture, the answer box and
// its buttons, the comments pane and the status row, with their fixed texts and pictures.
// What they show of the game and their connections are the window's.
struct MainWindowUi {
    void Build(QDialog* window);
    // The labels, button texts and tool tips in the interface language; productName fills
    // the tips that name the program.
    void Retranslate(const LanguageState& language);
    // The rule and J/Q/K buttons show the choice.
    void ShowRules(bool standardRule, bool jqkEnabled);
    // The running mode's button takes its stop look and offers to leave it.
    void ShowMode(RunMode running, const LanguageState& language);
    // The four question boxes as typed, and written: only a box whose text changes is
    // touched, so that only a real change counts as an edit.
    std::array<std::string, 4> QuestionTexts() const;
    void SetQuestionTexts(const std::array<std::string, 4>& texts);
    void SetQuestion(const std::vector<unsigned>& numbers);
    // The verdict picture beside the question: correct, wrong, or none.
    void ShowVerdict(std::optional<bool> correct);
    // The enlarged layout gives the answer box and the comments pane more room.
    void SetEnlarged(bool enlarged);

    QMenuBar* menuBar = nullptr;
    QLabel* remainingTime = nullptr;  // at the right end of the menu bar
    std::map<int, PictureButton*> toolbar;
    std::array<QLineEdit*, 4> questionBoxes{};
    std::array<QToolButton*, 4> spinUp{};
    std::array<QToolButton*, 4> spinDown{};
    QLabel* questionLabel = nullptr;
    QLabel* resultPicture = nullptr;
    QLabel* answerLabel = nullptr;
    QPlainTextEdit* answerBox = nullptr;
    QCheckBox* noSolution = nullptr;
    QPushButton* previous = nullptr;
    QPushButton* submit = nullptr;
    QPushButton* next = nullptr;
    QPushButton* done = nullptr;
    QPushButton* checkSolution = nullptr;
    QLabel* commentsLabel = nullptr;
    QPlainTextEdit* commentsPane = nullptr;
    QLabel* statusLine = nullptr;
    QLabel* timeField = nullptr;
    HyperlinkLabel* hyperlink = nullptr;
    // Every button that runs a command of the window when clicked.
    std::vector<std::pair<QAbstractButton*, int>> commandButtons;

private:
    // The names a screen reader says where the labels on screen do not name a control.
    void NameForScreenReaders(const LanguageState& language);
    void BuildToolbar(QDialog* window, QVBoxLayout* root);
    void BuildQuestionRow(QDialog* window, QVBoxLayout* root);
    void BuildAnswerArea(QDialog* window, QVBoxLayout* root);
    void BuildCommentsArea(QDialog* window, QVBoxLayout* root);

    std::optional<bool> m_verdict;        // the verdict picture shown, if any
    std::array<QString, 2> m_verdictNames;  // wrong, correct
};

}  // namespace tavlix
