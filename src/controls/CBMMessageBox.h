#pragma once

#include <QDialog>

#include <functional>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace tavlix {

class CachedStrings;
class LanguageState;

// What every message box needs from the application: texts, and the help opener.
struct MessageBoxContext {
    const LanguageState* language = nullptr;
    const CachedStrings* cache = nullptr;  // labels once the main window is up
    std::function<void(int topic)> openHelpTopic;
};
void SetMessageBoxContext(MessageBoxContext context);
const MessageBoxContext& GetMessageBoxContext();

// Style bits of a message box: button set, icon, default button.
enum MessageBoxType : unsigned {
    MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_ABORTRETRYIGNORE = 0x2, MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4, MB_RETRYCANCEL = 0x5,
    MB_ICONHAND = 0x10, MB_ICONQUESTION = 0x20, MB_ICONEXCLAMATION = 0x30, MB_ICONASTERISK = 0x40,
    MB_DEFBUTTON2 = 0x100, MB_DEFBUTTON3 = 0x200,
};
// Result codes.
enum MessageBoxResult : int { IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7 };

// The program's message box: an icon, the message, up to three buttons, an optional
// "Show this message next time" check box and an optional details area, or a details
// button that opens the help page on irrelevant solutions.
class CBMMessageBox : public QDialog {
    Q_OBJECT

public:
    static constexpr const char* kIrrelevantHelpKey = "BM_HELP_UG_IRRELEVANT";
    static constexpr int kIrrelevantHelpTopic = 22;

    explicit CBMMessageBox(QWidget* parent = nullptr);

    // Set before exec().
    QString m_message;
    QString m_caption;  // empty: the product name
    unsigned m_style = MB_OK;
    bool m_detailsEnabled = false;
    QString m_detailsText;  // or the help key kIrrelevantHelpKey
    bool m_showCheckBox = false;
    bool m_checkBoxChecked = false;

    // Read after exec().
    int m_result = IDCANCEL;

    int exec() override;
    bool IsExpanded() const { return m_expanded; }

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void SetUp();
    void Finish(int result);
    void ToggleDetails();
    QString Text(int id) const;
    bool EscapeAllowed() const;

    QLabel* m_icon;
    QPlainTextEdit* m_messageView;
    QPlainTextEdit* m_detailsView;
    QCheckBox* m_checkBox;
    QPushButton* m_detailsButton;
    QPushButton* m_buttons[3];
    int m_codes[3] = {0, 0, 0};
    bool m_expanded = false;
};

// Shows a message box and returns the code of the button that closed it.
int BMMessageBox(const QString& text, const QString& caption, unsigned type,
                 bool detailsEnabled = false, const QString& details = {},
                 bool showCheckBox = false, bool checkBoxChecked = false, QWidget* parent = nullptr);

// A notice with an OK button, with the exclamation icon unless told otherwise.
void ShowNotice(const QString& text, QWidget* parent, unsigned icon = MB_ICONEXCLAMATION);

// A question with Yes and No; true when the answer is Yes.
bool AskYesNo(const QString& text, QWidget* parent);

}  // namespace tavlix
