#pragma once

#include <QDialogButtonBox>
#include <QString>

#include <functional>
#include <string>

class QAbstractButton;
class QDialog;
class QWidget;

namespace tavlix {

class LanguageState;

// Program text for a widget: UTF-8 with the table's CR LF turned into the platform's
// line ends.
QString ToQString(const std::string& text);

// A text of the string table, ready for a widget; first fills "%1".
QString LocalizedText(const LanguageState& language, int id, const std::string& first = {});

// A label or menu text as a screen reader should say it: without its mnemonic ("&My
// solution(s)", "我的解答(&M)"), its accelerator ("\tCtrl+S") or a trailing "...".
QString PlainLabel(QString text);

// A file dialog filter for Qt ("Name (*.a *.b);;...") from the table's form
// ("Name (*.a;*.b)|*.a;*.b|...||"): every other part names a filter, its patterns
// separated by ";" where Qt wants blanks.
QString QtFileFilter(const std::string& filter);

// The standard buttons with the table's labels (OK, Cancel), named "okButton" and
// "cancelButton" for tests. Cancel rejects the dialog; what OK does is the caller's.
QDialogButtonBox* MakeButtonBox(QDialog* dialog, const LanguageState& language,
                                QDialogButtonBox::StandardButtons buttons = QDialogButtonBox::Ok |
                                                                           QDialogButtonBox::Cancel);

// Up and Down in a number box press the arrow buttons beside it, which Tab passes by.
void StepWithArrowKeys(QWidget* box, QAbstractButton* up, QAbstractButton* down);

// F1 anywhere in the window opens the help topic; nothing happens without an opener.
void InstallHelpKey(QWidget* window, std::function<void(int topic)> openHelpTopic, int topic);

// Local files dragged over the text box go on to the widgets around it (the window takes
// them); dragged text still drops into the box.
void PassFileDropsOn(QWidget* box);

}  // namespace tavlix
