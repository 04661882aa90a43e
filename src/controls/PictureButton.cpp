#include "controls/PictureButton.h"

#include <QFile>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace tavlix {

namespace {

constexpr int kPictureSize = 32;

QIcon Picture(const QString& name)
{
    const QString path = QStringLiteral(":/icons/%1.svg").arg(name);
    return QFile::exists(path) ? QIcon(path) : QIcon();
}

}  // namespace

PictureButton::PictureButton(QWidget* parent) : QAbstractButton(parent)
{
    setCursor(Qt::PointingHandCursor);
    // A click leaves the focus where it was, as on a toolbar; Tab reaches the button.
    setFocusPolicy(Qt::TabFocus);
}

bool PictureButton::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTipChange)
        setAccessibleName(toolTip());
    return QAbstractButton::event(event);
}

void PictureButton::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        animateClick();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void PictureButton::SetImages(const QString& name)
{
    if (name == m_name)
        return;
    m_name = name;
    m_normal = Picture(name);
    m_hot = Picture(name + QStringLiteral("-hot"));
    if (m_hot.isNull())
        m_hot = m_normal;
    update();
}

QSize PictureButton::sizeHint() const { return {kPictureSize + 8, kPictureSize + 8}; }

void PictureButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const bool hot = isEnabled() && (m_hover || isDown());
    const QIcon& icon = hot ? m_hot : m_normal;
    const QRect area = rect().adjusted(4, 4, -4, -4);
    icon.paint(&painter, area, Qt::AlignCenter, isEnabled() ? QIcon::Normal : QIcon::Disabled);
    if (hasFocus()) {
        QStyleOptionFocusRect frame;
        frame.initFrom(this);
        frame.rect = rect().adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &painter, this);
    }
}

void PictureButton::enterEvent(QEnterEvent* event)
{
    m_hover = true;
    update();
    QAbstractButton::enterEvent(event);
}

void PictureButton::leaveEvent(QEvent* event)
{
    m_hover = false;
    update();
    QAbstractButton::leaveEvent(event);
}

}  // namespace tavlix
