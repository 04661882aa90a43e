#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace tavlix {

// The one running instance of the program per user session: a lock file in the
// user's runtime folder decides which process is primary, and a local socket beside
// it lets a later process ask it to come to the front, tell its window title, or close.
class InstanceChannel : public QObject {
    Q_OBJECT

public:
    // The close request a new version's installer sends every instance.
    static constexpr int kCloseW = 1;
    static constexpr int kCloseL = 2;

    explicit InstanceChannel(const QString& name, QObject* parent = nullptr);
    ~InstanceChannel() override;

    // True when this process is now the primary instance; false when another is.
    bool TryBecomePrimary();
    bool IsPrimary() const { return m_server != nullptr; }

    // Requests to the primary instance, from another process; false or nothing when no
    // instance answers.
    bool RequestFront() const;
    std::optional<QString> QueryTitle() const;
    bool RequestClose(int w, int l) const;

    // The main windows of all running instances, this one included; with action 1 every
    // other instance is asked to close.
    int EnumerateInstances(int action) const;

    // What the primary answers when asked for its title.
    void SetTitleProvider(std::function<QString()> provider) { m_titleProvider = std::move(provider); }

signals:
    void frontRequested();
    void closeRequested(int w, int l);

private:
    std::optional<QByteArray> Ask(const QByteArray& request, bool expectReply) const;
    void Serve();

    QString m_name;
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<QLocalServer> m_server;
    std::function<QString()> m_titleProvider;
};

}  // namespace tavlix
