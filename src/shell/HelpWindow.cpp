#include "shell/HelpWindow.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHash>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <QWindow>

#include "controls/CBMMessageBox.h"
#include "controls/DialogSupport.h"
#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"
#include "platform/Shell.h"
#include "shell/HelpOpener.h"

namespace tavlix {

namespace {

// Qt's rich text draws no background for <header>, which would leave the white links
// of the pages' top bar on white: that bar is drawn like the one at the foot.
constexpr char kTopBarAsFootBar[] = R"(
header.top { background: transparent; color: var(--ink); }
header.top nav.navbar a { color: var(--accent); background: var(--band); }
header.top nav.navbar span.off { color: var(--muted); }
)";

// The bundle's style sheet as Qt's rich text reads it. Qt knows no custom properties,
// and the :root block that declares them makes it drop the whole sheet: their values
// are written in place of var(...) and the block is left out.
QString RichTextStyleSheet(QString css)
{
    const QRegularExpression rootBlock(QStringLiteral(R"(:root\s*\{([^}]*)\})"));
    const QRegularExpression declaration(QStringLiteral(R"((--[\w-]+)\s*:\s*([^;]+);)"));
    const QRegularExpression use(QStringLiteral(R"(var\(\s*(--[\w-]+)\s*\))"));
    QHash<QString, QString> values;
    for (const QRegularExpressionMatch& block : rootBlock.globalMatch(css))
        for (const QRegularExpressionMatch& property : declaration.globalMatch(block.captured(1)))
            values.insert(property.captured(1), property.captured(2).trimmed());
    css.remove(rootBlock);
    QString resolved;
    qsizetype done = 0;
    for (const QRegularExpressionMatch& match : use.globalMatch(css)) {
        resolved += css.mid(done, match.capturedStart() - done) + values.value(match.captured(1));
        done = match.capturedEnd();
    }
    return resolved + css.mid(done);
}

}  // namespace

HelpWindow::HelpWindow(const LanguageState& language, Shell& shell, const std::filesystem::path& bundleFolder,
                       QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_language(language),
      m_shell(shell),
      m_bundleFolder(QDir::cleanPath(QString::fromStdString(std::filesystem::absolute(bundleFolder).string()))),
      m_browser(new QTextBrowser(this)),
      m_contents(new QPushButton(this)),
      m_back(new QPushButton(this)),
      m_forward(new QPushButton(this))
{
    setObjectName(QStringLiteral("helpWindow"));
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    m_contents->setObjectName(QStringLiteral("contentsButton"));
    m_back->setObjectName(QStringLiteral("backButton"));
    m_forward->setObjectName(QStringLiteral("forwardButton"));

    // Every link comes to FollowLink, which keeps the bundle here and sends the rest
    // to the web browser.
    m_browser->setOpenLinks(false);
    m_browser->document()->setDefaultStyleSheet(StyleSheet());
    connect(m_browser, &QTextBrowser::anchorClicked, this, &HelpWindow::FollowLink);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QWidget::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QWidget::setEnabled);
    connect(m_back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
    connect(m_contents, &QPushButton::clicked, this, &HelpWindow::ShowContents);
    m_back->setEnabled(false);
    m_forward->setEnabled(false);

    auto* bar = new QHBoxLayout;
    bar->addWidget(m_contents);
    bar->addWidget(m_back);
    bar->addWidget(m_forward);
    bar->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_browser, 1);
    resize(820, 660);
    ApplyLanguage();
}

void HelpWindow::ShowPage(const std::filesystem::path& page)
{
    ApplyLanguage();
    m_browser->setSource(
        QUrl::fromLocalFile(QString::fromStdString(std::filesystem::absolute(page).string())));
    // Attached before it is mapped, so that the window manager keeps it above too.
    if (!windowHandle())
        create();
    StayAboveModalWindow();
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

bool HelpWindow::event(QEvent* event)
{
    // The main window itself runs modally, and Qt gives input only to the modal window
    // on top and the windows above it: the help window moves above whichever blocks it.
    if (event->type() == QEvent::WindowBlocked)
        QMetaObject::invokeMethod(this, &HelpWindow::StayAboveModalWindow, Qt::QueuedConnection);
    return QWidget::event(event);
}

void HelpWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        ApplyLanguage();
        ShowPageInInterfaceLanguage();
    }
    QWidget::changeEvent(event);
}

void HelpWindow::ShowPageInInterfaceLanguage()
{
    const QString page = QDir(m_bundleFolder).relativeFilePath(m_browser->source().toLocalFile());
    if (m_browser->source().isEmpty() || page.startsWith(QLatin1String("..")))
        return;
    const QString language = QString::fromStdString(HelpOpener::LanguageFolder(m_language.Lcid()));
    if (page.section(QLatin1Char('/'), 0, 0) == language)
        return;
    const QString folder = m_bundleFolder + QLatin1Char('/') + language + QLatin1Char('/');
    QString translated = folder + page.section(QLatin1Char('/'), 1);
    if (!QFileInfo::exists(translated))
        translated = folder + QString::fromStdString(HelpOpener::TopicPage(0));
    m_browser->setSource(QUrl::fromLocalFile(translated));
}

void HelpWindow::StayAboveModalWindow()
{
    const QWidget* modal = QApplication::activeModalWidget();
    QWindow* own = windowHandle();
    QWindow* blocking = modal ? modal->windowHandle() : nullptr;
    // A message box of this window rightly blocks it.
    if (!own || !blocking || own == blocking || own->isAncestorOf(blocking, QWindow::IncludeTransients))
        return;
    own->setTransientParent(blocking);
}

void HelpWindow::ApplyLanguage()
{
    setWindowTitle(LocalizedText(m_language, IDS_DIALOG_HELP_CAPTION, m_language.ProductName()));
    m_browser->setAccessibleName(windowTitle());  // the pages, as a screen reader names them
    m_contents->setText(LocalizedText(m_language, IDS_DIALOG_HELP_CONTENTS_C));
    m_back->setText(LocalizedText(m_language, IDS_DIALOG_HELP_BACK_B));
    m_forward->setText(LocalizedText(m_language, IDS_DIALOG_HELP_FORWARD_F));
}

void HelpWindow::FollowLink(const QUrl& link)
{
    const QUrl target = m_browser->source().resolved(link);
    if (IsBundlePage(target)) {
        m_browser->setSource(target);
        return;
    }
    const std::string address = target.toString().toStdString();
    if (!m_shell.Open(address))
        ReportUnopenedAddress(m_language, address, this);
}

void HelpWindow::ShowContents()
{
    // The contents of the language the current page is in.
    const QString page = QDir(m_bundleFolder).relativeFilePath(m_browser->source().toLocalFile());
    const QString languageFolder = page.section(QLatin1Char('/'), 0, 0);
    m_browser->setSource(QUrl::fromLocalFile(m_bundleFolder + QLatin1Char('/') + languageFolder + QLatin1Char('/') +
                                             QString::fromStdString(HelpOpener::TopicPage(0))));
}

bool HelpWindow::IsBundlePage(const QUrl& address) const
{
    if (!address.isLocalFile())
        return false;
    const QFileInfo file(address.toLocalFile());
    const QString suffix = file.suffix().toLower();
    return (suffix == QLatin1String("htm") || suffix == QLatin1String("html")) &&
           QDir::cleanPath(file.absoluteFilePath()).startsWith(m_bundleFolder + QLatin1Char('/'));
}

QString HelpWindow::StyleSheet() const
{
    QFile file(m_bundleFolder + QStringLiteral("/style.css"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return RichTextStyleSheet(QString::fromUtf8(file.readAll()) + QLatin1String(kTopBarAsFootBar));
}

void ReportUnopenedAddress(const LanguageState& language, const std::string& address, QWidget* parent)
{
    QString text = LocalizedText(language, IDS_ERROR_HYPERLINK_CAN_NOT_OPEN_ADDRESS);
    ShowNotice(text.replace(QStringLiteral("#1"), QString::fromStdString(address)), parent);
}

}  // namespace tavlix
