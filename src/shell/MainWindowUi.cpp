#include "shell/MainWindowUi.h"

#include <QCheckBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "controls/DialogSupport.h"
#include "controls/HyperlinkLabel.h"
#include "controls/PictureButton.h"
#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"
#include "runs/Run.h"
#include "shell/CommandTable.h"

namespace tavlix {

namespace {

// The panes' heights in the standard layout, and what the enlarged one adds to each.
constexpr int kAnswerBoxHeight = 150;
constexpr int kCommentsPaneHeight = 170;
constexpr int kEnlargement = 100;

constexpr ToolbarButton kToolbar[] = {
    {ID_STANDARD_RULE, "standard-rule-on", IDS_TIP_STANDARD},
    {ID_ADVANCED_RULE, "advanced-rule-off", IDS_TIP_ADVANCED},
    {ID_ENABLE_JQK, "jqk-on", IDS_TIP_ENABLE_JQK},
    {ID_TRAINING, "training", IDS_TIP_TRAINING},
    {ID_TRAINING_GAME, "training-game", IDS_TIP_TRAINING_GAME},
    {ID_WORLD_CUP, "world-cup", IDS_TIP_WORLD_CUP},
    {ID_CHECK_SOLUTION, "check-solution", IDS_TIP_CHECK_SOLUTION_CTRL_S},
    {ID_SAVE_TO_TROUBLE_MAKERS, "save-trouble-makers", IDS_TIP_SAVE_TO_TROUBLE_MAKERS},
    {ID_SAVE_TO_MY_FAVORITES, "save-my-favorites", IDS_TIP_SAVE_TO_MY_FAVORITES},
    {ID_TROUBLE_MAKERS, "trouble-makers", IDS_TIP_TROUBLE_MAKERS},
    {ID_MY_FAVORITES, "my-favorites", IDS_TIP_MY_FAVORITES},
    {ID_COMPLETE_LIST, "complete-list", IDS_TIP_COMPLETE_LIST},
    {ID_HELP, "help", IDS_TIP_HELP},
    {ID_ABOUT, "about", IDS_TIP_ABOUT},
    {ID_EXIT, "exit", IDS_TIP_EXIT},
};

// The toolbar groups end after these buttons.
bool EndsGroup(int id) { return id == ID_WORLD_CUP || id == ID_SAVE_TO_MY_FAVORITES || id == ID_COMPLETE_LIST; }

// A control hidden in some states keeps its room, so that the window never changes size.
void KeepRoomWhenHidden(QWidget* widget)
{
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

QPlainTextEdit* FixedPane(QDialog* window, const char* name, int height)
{
    auto* pane = new QPlainTextEdit(window);
    pane->setObjectName(QLatin1String(name));
    pane->setMinimumSize(560, height);
    pane->setMaximumHeight(height);
    return pane;
}

}  // namespace

std::span<const ToolbarButton> ToolbarButtons() { return kToolbar; }

void MainWindowUi::Build(QDialog* window)
{
    auto* root = new QVBoxLayout(window);
    root->setSizeConstraint(QLayout::SetFixedSize);

    menuBar = new QMenuBar(window);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    root->setMenuBar(menuBar);
    remainingTime = new QLabel(menuBar);
    remainingTime->setObjectName(QStringLiteral("remainingTime"));
    remainingTime->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    remainingTime->hide();
    menuBar->setCornerWidget(remainingTime, Qt::TopRightCorner);

    BuildToolbar(window, root);
    BuildQuestionRow(window, root);
    BuildAnswerArea(window, root);
    BuildCommentsArea(window, root);
    // The toolbar comes first in the Tab order, but a player starts by typing a question.
    questionBoxes[0]->setFocus();
}

void MainWindowUi::BuildToolbar(QDialog* window, QVBoxLayout* root)
{
    auto* row = new QHBoxLayout;
    row->setSpacing(2);
    for (const ToolbarButton& b : kToolbar) {
        auto* button = new PictureButton(window);
        button->setObjectName(QStringLiteral("toolbar%1").arg(b.id));
        button->SetImages(QLatin1String(b.picture));
        row->addWidget(button);
        toolbar[b.id] = button;
        commandButtons.emplace_back(button, b.id);
        if (EndsGroup(b.id))
            row->addSpacing(10);
    }
    row->addStretch(1);
    root->addLayout(row);
}

void MainWindowUi::BuildQuestionRow(QDialog* window, QVBoxLayout* root)
{
    questionLabel = new QLabel(window);
    questionLabel->setObjectName(QStringLiteral("questionLabel"));
    root->addWidget(questionLabel);
    auto* row = new QHBoxLayout;
    for (std::size_t i = 0; i < 4; ++i) {
        auto* box = new QLineEdit(window);
        box->setObjectName(QStringLiteral("questionBox%1").arg(i));
        box->setMaxLength(8);
        box->setFixedWidth(64);
        box->setAlignment(Qt::AlignCenter);
        QFont big = box->font();
        big.setPointSizeF(big.pointSizeF() * 1.6);
        box->setFont(big);
        auto* spin = new QVBoxLayout;
        spin->setSpacing(0);
        for (const int step : {1, -1}) {
            auto* arrow = new QToolButton(window);
            arrow->setObjectName(QStringLiteral("%1%2").arg(step > 0 ? "spinUp" : "spinDown").arg(i));
            arrow->setArrowType(step > 0 ? Qt::UpArrow : Qt::DownArrow);
            arrow->setFixedSize(18, 14);
            arrow->setAutoRepeat(true);
            arrow->setFocusPolicy(Qt::NoFocus);
            spin->addWidget(arrow);
            (step > 0 ? spinUp : spinDown)[i] = arrow;
        }
        PassFileDropsOn(box);
        StepWithArrowKeys(box, spinUp[i], spinDown[i]);
        row->addWidget(box);
        row->addLayout(spin);
        row->addSpacing(8);
        questionBoxes[i] = box;
    }
    row->addStretch(1);
    resultPicture = new QLabel(window);
    resultPicture->setObjectName(QStringLiteral("resultPicture"));
    resultPicture->setFixedSize(48, 48);
    KeepRoomWhenHidden(resultPicture);
    resultPicture->hide();
    row->addWidget(resultPicture);
    root->addLayout(row);
}

void MainWindowUi::BuildAnswerArea(QDialog* window, QVBoxLayout* root)
{
    answerLabel = new QLabel(window);
    answerLabel->setObjectName(QStringLiteral("answerLabel"));
    root->addWidget(answerLabel);
    answerBox = FixedPane(window, "answerBox", kAnswerBoxHeight);
    answerBox->setTabChangesFocus(true);
    PassFileDropsOn(answerBox);
    root->addWidget(answerBox);

    auto* row = new QHBoxLayout;
    noSolution = new QCheckBox(window);
    noSolution->setObjectName(QStringLiteral("noSolution"));
    row->addWidget(noSolution);
    row->addStretch(1);
    const auto commandButton = [&](const char* name, int id) {
        auto* button = new QPushButton(window);
        button->setObjectName(QLatin1String(name));
        button->setAutoDefault(false);
        commandButtons.emplace_back(button, id);
        return button;
    };
    previous = commandButton("previousButton", ID_PREVIOUS);
    submit = commandButton("submitButton", ID_SUBMIT);
    next = commandButton("nextButton", ID_NEXT);
    done = commandButton("doneButton", ID_DONE);
    checkSolution = commandButton("checkSolutionButton", ID_CHECK_SOLUTION_BUTTON);
    for (QPushButton* button : {previous, submit, next, done})
        row->addWidget(button);
    for (QPushButton* button : {previous, next, done})
        KeepRoomWhenHidden(button);
    row->addSpacing(24);
    row->addWidget(checkSolution);
    root->addLayout(row);
}

void MainWindowUi::BuildCommentsArea(QDialog* window, QVBoxLayout* root)
{
    commentsLabel = new QLabel(window);
    commentsLabel->setObjectName(QStringLiteral("commentsLabel"));
    root->addWidget(commentsLabel);
    commentsPane = FixedPane(window, "commentsPane", kCommentsPaneHeight);
    commentsPane->setReadOnly(true);
    commentsPane->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    root->addWidget(commentsPane);

    auto* row = new QHBoxLayout;
    statusLine = new QLabel(window);
    statusLine->setObjectName(QStringLiteral("statusLine"));
    statusLine->setTextInteractionFlags(Qt::TextSelectableByMouse);  // the counts can be copied
    statusLine->setFocusPolicy(Qt::NoFocus);  // a text to read, not a control to stop at
    timeField = new QLabel(window);
    timeField->setObjectName(QStringLiteral("timeField"));
    hyperlink = new HyperlinkLabel(window);
    hyperlink->setObjectName(QStringLiteral("hyperlink"));
    hyperlink->setText(QStringLiteral("www.brelmor.com"));
    row->addWidget(statusLine, 1);
    row->addWidget(timeField);
    row->addWidget(hyperlink);
    root->addLayout(row);
}

void MainWindowUi::Retranslate(const LanguageState& language)
{
    const auto text = [&language](int id, const std::string& first = {}) { return LocalizedText(language, id, first); };
    for (const ToolbarButton& b : kToolbar)
        toolbar[b.id]->setToolTip(text(b.tip, language.ProductName()));
    questionLabel->setText(text(IDS_DIALOG_MAIN_QUESTION_Q));
    answerLabel->setText(text(IDS_DIALOG_MAIN_MY_SOLUTIONS_M));
    commentsLabel->setText(text(IDS_DIALOG_MAIN_COMMENTS_C));
    noSolution->setText(text(IDS_DIALOG_MAIN_NO_SOLUTION_N));
    previous->setText(QStringLiteral("<<"));
    next->setText(QStringLiteral(">>"));
    previous->setToolTip(text(IDS_TIP_PREVIOUS));
    next->setToolTip(text(IDS_TIP_NEXT));
    submit->setText(text(IDS_TIP_SUBMIT_MY_ANSWER));
    submit->setToolTip(text(IDS_TIP_SUBMIT_MY_ANSWER));
    done->setText(text(IDS_TIP_DONE));
    checkSolution->setText(text(IDS_TIP_CHECK_SOLUTION_CTRL_S));
    answerLabel->setBuddy(answerBox);
    questionLabel->setBuddy(questionBoxes[0]);
    commentsLabel->setBuddy(commentsPane);
    hyperlink->setToolTip(text(IDS_BMT_COMPANY));
    NameForScreenReaders(language);
}

void MainWindowUi::NameForScreenReaders(const LanguageState& language)
{
    for (std::size_t i = 0; i < 4; ++i) {
        const std::string number = std::to_string(i + 1);
        questionBoxes[i]->setAccessibleName(LocalizedText(language, IDS_A11Y_QUESTION_NUMBER, number));
        spinUp[i]->setAccessibleName(LocalizedText(language, IDS_A11Y_NUMBER_UP, number));
        spinDown[i]->setAccessibleName(LocalizedText(language, IDS_A11Y_NUMBER_DOWN, number));
    }
    answerBox->setAccessibleName(PlainLabel(answerLabel->text()));
    commentsPane->setAccessibleName(PlainLabel(commentsLabel->text()));
    previous->setAccessibleName(previous->toolTip());
    next->setAccessibleName(next->toolTip());
    resultPicture->setAccessibleDescription(LocalizedText(language, IDS_A11Y_VERDICT));
    m_verdictNames = {LocalizedText(language, IDS_BMT_INCORRECT), LocalizedText(language, IDS_BMT_CORRECT)};
    if (m_verdict)
        resultPicture->setAccessibleName(m_verdictNames[std::size_t(*m_verdict)]);
}

void MainWindowUi::ShowRules(bool standardRule, bool jqkEnabled)
{
    toolbar[ID_STANDARD_RULE]->SetImages(standardRule ? "standard-rule-on" : "standard-rule-off");
    toolbar[ID_ADVANCED_RULE]->SetImages(standardRule ? "advanced-rule-off" : "advanced-rule-on");
    toolbar[ID_ENABLE_JQK]->SetImages(jqkEnabled ? "jqk-on" : "jqk-off");
}

void MainWindowUi::ShowMode(RunMode running, const LanguageState& language)
{
    static constexpr struct {
        int id;
        RunMode mode;
        const char* picture;
        int tip;
    } kModes[] = {{ID_TRAINING, RunMode::Training, "training", IDS_TIP_TRAINING},
                  {ID_TRAINING_GAME, RunMode::TrainingGame, "training-game", IDS_TIP_TRAINING_GAME},
                  {ID_WORLD_CUP, RunMode::WorldCup, "world-cup", IDS_TIP_WORLD_CUP}};
    for (const auto& m : kModes) {
        PictureButton* button = toolbar[m.id];
        const bool isRunning = running == m.mode;
        button->SetImages(QLatin1String(m.picture) + (isRunning ? QStringLiteral("-running") : QString()));
        button->setToolTip(isRunning ? LocalizedText(language, IDS_TIP_EXIT_X, ModeName(m.mode, language))
                                     : LocalizedText(language, m.tip));
    }
}

std::array<std::string, 4> MainWindowUi::QuestionTexts() const
{
    std::array<std::string, 4> texts;
    for (std::size_t i = 0; i < 4; ++i)
        texts[i] = questionBoxes[i]->text().toStdString();
    return texts;
}

void MainWindowUi::SetQuestionTexts(const std::array<std::string, 4>& texts)
{
    for (std::size_t i = 0; i < 4; ++i)
        if (questionBoxes[i]->text() != QString::fromStdString(texts[i]))
            questionBoxes[i]->setText(QString::fromStdString(texts[i]));
}

void MainWindowUi::SetQuestion(const std::vector<unsigned>& numbers)
{
    for (std::size_t i = 0; i < 4; ++i)
        questionBoxes[i]->setText(QString::number(numbers[i]));
}

void MainWindowUi::SetEnlarged(bool enlarged)
{
    const int extra = enlarged ? kEnlargement : 0;
    for (auto [pane, height] : {std::pair{answerBox, kAnswerBoxHeight}, std::pair{commentsPane, kCommentsPaneHeight}}) {
        pane->setMinimumHeight(height + extra);
        pane->setMaximumHeight(height + extra);
    }
}

void MainWindowUi::ShowVerdict(std::optional<bool> correct)
{
    m_verdict = correct;
    if (!correct) {
        resultPicture->hide();
        return;
    }
    const QString icon = *correct ? QStringLiteral(":/icons/result-correct.svg") : QStringLiteral(":/icons/result-wrong.svg");
    resultPicture->setPixmap(QIcon(icon).pixmap(resultPicture->size()));
    resultPicture->setAccessibleName(m_verdictNames[std::size_t(*correct)]);
    resultPicture->show();
}

}  // namespace tavlix
