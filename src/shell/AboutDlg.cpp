#include "shell/AboutDlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>

#include "controls/HyperlinkLabel.h"
#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"
#include "controls/DialogSupport.h"

namespace tavlix {

AboutDlg::AboutDlg(const LanguageState& language, Edition edition, const std::string& productHomePage,
                   std::function<void(const std::string&)> openAddress, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("aboutDlg"));
    const auto text = [&](int id, const std::string& first = {}) { return LocalizedText(language, id, first); };
    setWindowTitle(text(IDS_DIALOG_ABOUT_TITLE, language.ProductName()));

    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/icons/tavlix.svg")).pixmap(64, 64));
    auto* product = new QLabel(text(edition == Edition::SimplifiedChinese
                                        ? IDS_DIALOG_ABOUT_COMPANY_PRODUCT_VERSION_PRC
                                        : IDS_DIALOG_ABOUT_COMPANY_PRODUCT_VERSION_NET),
                               this);
    product->setObjectName(QStringLiteral("productLabel"));
    QFont bold = product->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.3);
    product->setFont(bold);
    auto* copyright = new QLabel(text(IDS_DIALOG_ABOUT_COPYRIGHT), this);
    copyright->setObjectName(QStringLiteral("copyrightLabel"));
    auto* link = new HyperlinkLabel(this);
    link->setObjectName(QStringLiteral("productLink"));
    link->setText(QString::fromStdString(productHomePage));
    link->setToolTip(text(IDS_BMT_COMPANY));
    link->SetAddress(QString::fromStdString(productHomePage));
    link->SetOpener([openAddress](const QString& address) {
        if (openAddress)
            openAddress(address.toStdString());
    });
    auto* buttons = MakeButtonBox(this, language, QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(product);
    texts->addWidget(copyright);
    texts->addWidget(link);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(texts, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace tavlix
