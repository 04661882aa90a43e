#pragma once

#include <QLabel>

#include <functional>

namespace tavlix {

// A label that looks like a link and opens its address when clicked, or when Enter or
// Space is pressed on it: Tab reaches it.
class HyperlinkLabel : public QLabel {
    Q_OBJECT

public:
    explicit HyperlinkLabel(QWidget* parent = nullptr);
    void SetAddress(const QString& address) { m_address = address; }
    const QString& Address() const { return m_address; }
    // Who opens the address; the shell in the program, a fake in tests.
    void SetOpener(std::function<void(const QString&)> opener) { m_opener = std::move(opener); }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void Open();

    QString m_address;
    std::function<void(const QString&)> m_opener;
};

}  // namespace tavlix
