#include "controls/CBMMessageBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

#include "controls/DialogSupport.h"
#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"

namespace tavlix {

namespace {

MessageBoxContext& Context()
{
    static MessageBoxContext context;
    return context;
}

constexpr int kMinTextHeight = 85;
constexpr int kBaseTextHeight = 120;
constexpr int kMaxGrowth = 444;
constexpr int kMaxShrink = 200;
constexpr int kDetailsHeight = 160;

// Labels and codes of the left, middle and right buttons per button set; 0 hides one.
struct ButtonSet {
    int labels[3];
    int codes[3];
    bool escapeAllowed;
    int escapeCode;
};

const ButtonSet& ButtonsOf(unsigned set)
{
    static const ButtonSet kSets[] = {
        {{0, 0, IDS_DIALOG_OK}, {0, 0, IDOK}, true, IDOK},
        {{0, IDS_DIALOG_OK, IDS_DIALOG_CANCEL}, {0, IDOK, IDCANCEL}, true, IDCANCEL},
        {{IDS_DIALOG_ABORT_A, IDS_DIALOG_RETRY_R, IDS_DIALOG_IGNORE_I}, {IDABORT, IDRETRY, IDIGNORE}, false, 0},
        {{IDS_DIALOG_YES_Y, IDS_DIALOG_NO_N, IDS_DIALOG_CANCEL}, {IDYES, IDNO, IDCANCEL}, true, IDCANCEL},
        {{0, IDS_DIALOG_YES_Y, IDS_DIALOG_NO_N}, {0, IDYES, IDNO}, false, 0},
        {{0, IDS_DIALOG_RETRY_R, IDS_DIALOG_CANCEL}, {0, IDRETRY, IDCANCEL}, true, IDCANCEL},
    };
    return kSets[set < std::size(kSets) ? set : 0];
}

// The button the style's default bits choose: the first visible one unless a bit names
// the second or third visible one; OK alone is the right button. The visible buttons
// are the rightmost ones.
int DefaultPosition(unsigned style, int visible)
{
    const unsigned defaultBits = style & 0xF00;
    const int firstVisible = 3 - visible;
    if ((style & 0x0F) == MB_OK)
        return 2;
    if (defaultBits == MB_DEFBUTTON2 && visible >= 2)
        return firstVisible + 1;
    if (defaultBits == MB_DEFBUTTON3 && visible == 3)
        return 2;
    return firstVisible;
}

}  // namespace

void SetMessageBoxContext(MessageBoxContext context) { Context() = std::move(context); }

const MessageBoxContext& GetMessageBoxContext() { return Context(); }

CBMMessageBox::CBMMessageBox(QWidget* parent)
    : QDialog(parent),
      m_icon(new QLabel(this)),
      m_messageView(new QPlainTextEdit(this)),
      m_detailsView(new QPlainTextEdit(this)),
      m_checkBox(new QCheckBox(this)),
      m_detailsButton(new QPushButton(this)),
      m_buttons{new QPushButton(this), new QPushButton(this), new QPushButton(this)}
{
    setObjectName(QStringLiteral("messageBox"));
    m_icon->setObjectName(QStringLiteral("icon"));
    m_messageView->setObjectName(QStringLiteral("messageText"));
    m_detailsView->setObjectName(QStringLiteral("detailsText"));
    m_checkBox->setObjectName(QStringLiteral("checkBox"));
    m_detailsButton->setObjectName(QStringLiteral("detailsButton"));
    const char* names[] = {"leftButton", "middleButton", "rightButton"};
    for (int i = 0; i < 3; ++i) {
        m_buttons[i]->setObjectName(QLatin1String(names[i]));
        connect(m_buttons[i], &QPushButton::clicked, this, [this, i] { Finish(m_codes[i]); });
    }
    for (QPlainTextEdit* area : {m_messageView, m_detailsView}) {
        area->setReadOnly(true);
        area->setFrameShape(QFrame::NoFrame);
    }
    m_detailsView->setFrameShape(QFrame::StyledPanel);
    connect(m_detailsButton, &QPushButton::clicked, this, &CBMMessageBox::ToggleDetails);
    connect(m_checkBox, &QCheckBox::toggled, this, [this](bool on) { m_checkBoxChecked = on; });

    auto* top = new QHBoxLayout;
    top->addWidget(m_icon, 0, Qt::AlignTop);
    top->addWidget(m_messageView, 1);
    auto* row = new QHBoxLayout;
    row->addWidget(m_checkBox);
    row->addStretch(1);
    row->addWidget(m_detailsButton);
    for (QPushButton* b : m_buttons)
        row->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(row);
    layout->addWidget(m_detailsView);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString CBMMessageBox::Text(int id) const
{
    const MessageBoxContext& c = Context();
    if (c.cache && c.cache->IsLoaded() && !c.cache->Get(id).empty())
        return QString::fromStdString(c.cache->Get(id));
    return c.language ? QString::fromStdString(c.language->GetLocalizedString(id)) : QString();
}

bool CBMMessageBox::EscapeAllowed() const { return ButtonsOf(m_style & 0x0F).escapeAllowed; }

void CBMMessageBox::SetUp()
{
    const MessageBoxContext& c = Context();
    const QString product = c.language ? QString::fromStdString(c.language->ProductName()) : QString();
    setWindowTitle(m_caption.isEmpty() ? product : m_caption);
    // Esc and the close button are refused where the set has no cancelling answer.
    setWindowFlag(Qt::WindowCloseButtonHint, EscapeAllowed());

    const unsigned icon = m_style & 0xF0;
    QStyle::StandardPixmap pixmap = QStyle::SP_MessageBoxWarning;
    if (icon == MB_ICONHAND)
        pixmap = QStyle::SP_MessageBoxCritical;
    else if (icon == MB_ICONQUESTION)
        pixmap = QStyle::SP_MessageBoxQuestion;
    else if (icon == MB_ICONASTERISK)
        pixmap = QStyle::SP_MessageBoxInformation;
    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    m_icon->setPixmap(style()->standardIcon(pixmap, nullptr, this).pixmap(iconSize, iconSize));
    m_icon->setVisible(icon != 0);

    const ButtonSet& set = ButtonsOf(m_style & 0x0F);
    int visible = 0;
    for (int i = 0; i < 3; ++i) {
        m_codes[i] = set.codes[i];
        m_buttons[i]->setVisible(set.labels[i] != 0);
        // Enter answers the button that has the focus, as Space does.
        m_buttons[i]->setAutoDefault(true);
        if (set.labels[i] == 0)
            continue;
        m_buttons[i]->setText(Text(set.labels[i]));
        ++visible;
    }
    QPushButton* defaultButton = m_buttons[DefaultPosition(m_style, visible)];
    defaultButton->setDefault(true);

    m_checkBox->setText(Text(IDS_DIALOG_BM_MESSAGE_BOX_SHOW_NEXT_TIME_S));
    m_checkBox->setChecked(m_checkBoxChecked);
    m_checkBox->setVisible(m_showCheckBox);

    const bool helpKey = m_detailsText == QLatin1String(kIrrelevantHelpKey);
    m_detailsButton->setText(Text(helpKey ? IDS_DIALOG_BM_MESSAGE_BOX_DETAILS_D
                                          : IDS_DIALOG_BM_MESSAGE_BOX_SHOW_DETAILS_D));
    m_detailsButton->setEnabled(m_detailsEnabled);
    m_detailsButton->setAutoDefault(true);

    m_messageView->setPlainText(m_message);
    m_detailsView->setPlainText(helpKey ? QString() : m_detailsText);

    // The message area is as tall as its text, within limits; the box follows it.
    const QFontMetrics metrics(m_messageView->font());
    const int width = 360;
    m_messageView->setFixedWidth(width + 20);
    const QRect needed = metrics.boundingRect(QRect(0, 0, width, 100000), Qt::TextWordWrap, m_message);
    const int growth = std::clamp(needed.height() + 16 - kBaseTextHeight, -kMaxShrink, kMaxGrowth);
    m_messageView->setFixedHeight(std::max(kMinTextHeight, kBaseTextHeight + growth));
    m_detailsView->setFixedHeight(kDetailsHeight);
    m_detailsView->setVisible(false);
    m_expanded = false;

    m_messageView->setAccessibleName(Text(IDS_A11Y_MESSAGE_TEXT));
    m_detailsView->setAccessibleName(PlainLabel(Text(IDS_DIALOG_BM_MESSAGE_BOX_DETAILS_D)));
    setAccessibleDescription(m_message);
    defaultButton->setFocus();
}

int CBMMessageBox::exec()
{
    SetUp();
    adjustSize();
    if (parentWidget())
        move(parentWidget()->geometry().center() - rect().center());
    QDialog::exec();
    return m_result;
}

void CBMMessageBox::Finish(int result)
{
    m_checkBoxChecked = m_checkBox->isChecked();
    m_result = result;
    done(result);
}

void CBMMessageBox::ToggleDetails()
{
    if (m_detailsText == QLatin1String(kIrrelevantHelpKey)) {
        if (Context().openHelpTopic)
            Context().openHelpTopic(kIrrelevantHelpTopic);
        return;
    }
    m_expanded = !m_expanded;
    m_detailsView->setVisible(m_expanded);
    m_detailsButton->setText(Text(m_expanded ? IDS_DIALOG_BM_MESSAGE_BOX_HIDE_DETAILS_D
                                              : IDS_DIALOG_BM_MESSAGE_BOX_SHOW_DETAILS_D));
    adjustSize();
    if (parentWidget())
        move(parentWidget()->geometry().center() - rect().center());
}

void CBMMessageBox::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The focus frame shows from the start, not only after the first Tab.
    setAttribute(Qt::WA_KeyboardFocusChange);
}

void CBMMessageBox::reject()
{
    if (EscapeAllowed())
        Finish(ButtonsOf(m_style & 0x0F).escapeCode);
}

void CBMMessageBox::closeEvent(QCloseEvent* event)
{
    if (!EscapeAllowed() || isHidden()) {
        event->ignore();
        return;
    }
    event->ignore();
    reject();
}

int BMMessageBox(const QString& text, const QString& caption, unsigned type, bool detailsEnabled,
                 const QString& details, bool showCheckBox, bool checkBoxChecked, QWidget* parent)
{
    CBMMessageBox box(parent ? parent : QApplication::activeWindow());
    box.m_message = text;
    box.m_caption = caption;
    box.m_style = type;
    box.m_detailsEnabled = detailsEnabled;
    box.m_detailsText = details;
    box.m_showCheckBox = showCheckBox;
    box.m_checkBoxChecked = checkBoxChecked;
    return box.exec();
}

void ShowNotice(const QString& text, QWidget* parent, unsigned icon)
{
    BMMessageBox(text, {}, MB_OK | icon, false, {}, false, false, parent);
}

bool AskYesNo(const QString& text, QWidget* parent)
{
    return BMMessageBox(text, {}, MB_YESNO | MB_ICONQUESTION, false, {}, false, false, parent) == IDYES;
}

}  // namespace tavlix
