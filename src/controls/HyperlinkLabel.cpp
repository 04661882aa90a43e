#include "controls/HyperlinkLabel.h"

#include <QMouseEvent>

namespace tavlix {

HyperlinkLabel::HyperlinkLabel(QWidget* parent) : QLabel(parent)
{
    setCursor(Qt::PointingHandCursor);
    QPalette p = palette();
    p.setColor(QPalette::WindowText, QColor(0, 0, 238));
    setPalette(p);
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
}

void HyperlinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && m_opener)
        m_opener(m_address);
    QLabel::mouseReleaseEvent(event);
}

}  // namespace tavlix
