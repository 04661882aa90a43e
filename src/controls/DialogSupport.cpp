#include "controls/DialogSupport.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QDialog>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

#include "common/TextUtilities.h"
#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"

namespace tavlix {

QString ToQString(const std::string& text) { return QString::fromStdString(ToPlatformLineEnds(text)); }

QString LocalizedText(const LanguageState& language, int id, const std::string& first)
{
    return ToQString(language.GetLocalizedString(id, first));
}

QString PlainLabel(QString text)
{
    text = text.section(QLatin1Char('\t'), 0, 0);
    text.remove(QRegularExpression(QStringLiteral(R"(\(&\w\))")));
    text.replace(QRegularExpression(QStringLiteral("&(.)")), QStringLiteral("\\1"));
    if (text.endsWith(QLatin1String("...")))
        text.chop(3);
    return text.trimmed();
}

QString QtFileFilter(const std::string& filter)
{
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QStringList names;
    for (qsizetype i = 0; i < parts.size(); i += 2)
        names << QString(parts[i]).replace(QLatin1Char(';'), QLatin1Char(' '));
    return names.join(QStringLiteral(";;"));
}

QDialogButtonBox* MakeButtonBox(QDialog* dialog, const LanguageState& language,
                                QDialogButtonBox::StandardButtons buttons)
{
    auto* box = new QDialogButtonBox(buttons, dialog);
    if (QPushButton* ok = box->button(QDialogButtonBox::Ok)) {
        ok->setText(LocalizedText(language, IDS_DIALOG_OK));
        ok->setObjectName(QStringLiteral("okButton"));
    }
    if (QPushButton* cancel = box->button(QDialogButtonBox::Cancel)) {
        cancel->setText(LocalizedText(language, IDS_DIALOG_CANCEL));
        cancel->setObjectName(QStringLiteral("cancelButton"));
    }
    QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return box;
}

namespace {

// Sees F1 pressed in the window or in any child that leaves the key alone: such key
// presses travel up to the window.
class HelpKeyFilter : public QObject {
public:
    HelpKeyFilter(QObject* window, std::function<void(int)> open, int topic)
        : QObject(window), m_open(std::move(open)), m_topic(topic)
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
            if (m_open)
                m_open(m_topic);
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void(int)> m_open;
    int m_topic;
};

class ArrowKeysStep : public QObject {
public:
    ArrowKeysStep(QObject* box, QAbstractButton* up, QAbstractButton* down) : QObject(box), m_up(up), m_down(down) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->modifiers() == Qt::NoModifier && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
                (key->key() == Qt::Key_Up ? m_up : m_down)->click();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QAbstractButton* m_up;
    QAbstractButton* m_down;
};

}  // namespace

void StepWithArrowKeys(QWidget* box, QAbstractButton* up, QAbstractButton* down)
{
    box->installEventFilter(new ArrowKeysStep(box, up, down));
}

void InstallHelpKey(QWidget* window, std::function<void(int topic)> openHelpTopic, int topic)
{
    window->installEventFilter(new HelpKeyFilter(window, std::move(openHelpTopic), topic));
}

namespace {

// Refuses drags of local files, which then go on to the parent widgets.
class FileDropFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove || event->type() == QEvent::Drop) {
            const QList<QUrl> urls = static_cast<QDropEvent*>(event)->mimeData()->urls();
            if (std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); })) {
                event->ignore();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

void PassFileDropsOn(QWidget* box)
{
    auto* filter = new FileDropFilter(box);
    box->installEventFilter(filter);
    // A scroll area's text takes its drops in the viewport.
    if (auto* area = qobject_cast<QAbstractScrollArea*>(box))
        area->viewport()->installEventFilter(filter);
}

}  // namespace tavlix
