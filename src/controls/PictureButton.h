#pragma once

#include <QAbstractButton>
#include <QIcon>

namespace tavlix {

// A flat toolbar button that shows one of two pictures per state: the normal one, and
// a brighter one while the pointer is over it or it is pressed. It takes the focus with
// Tab and answers Space and Enter; having no text, it is named by its tool tip for
// screen readers.
class PictureButton : public QAbstractButton {
    Q_OBJECT

public:
    explicit PictureButton(QWidget* parent = nullptr);

    // The picture pair, by resource name: ":/icons/<name>.svg" and "<name>-hot.svg".
    void SetImages(const QString& name);
    const QString& Images() const { return m_name; }

    QSize sizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QString m_name;
    QIcon m_normal;
    QIcon m_hot;
    bool m_hover = false;
};

}  // namespace tavlix
