#pragma once

#include <QDialog>

#include <functional>
#include <string>

#include "i18n/Edition.h"

namespace tavlix {

class LanguageState;

// The product, its edition and version, the copyright and a link to the product's
// home page.
class AboutDlg : public QDialog {
    Q_OBJECT

public:
    AboutDlg(const LanguageState& language, Edition edition, const std::string& productHomePage,
             std::function<void(const std::string&)> openAddress, QWidget* parent = nullptr);
};

}  // namespace tavlix
