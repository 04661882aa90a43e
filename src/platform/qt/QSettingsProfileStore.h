#pragma once

#include <QSettings>

#include <memory>

#include "platform/ProfileStore.h"

namespace tavlix {

// The per-user or machine-wide settings of one key path, kept by QSettings in the
// platform's native place (an INI file under the XDG config folders on Linux). A file
// that is truncated or garbage reads as missing values; writes replace it atomically.
class QSettingsProfileStore : public ProfileStore {
public:
    // keyPath: folders below the organisation, "/"-separated, e.g. "<edition>/<version>".
    QSettingsProfileStore(QSettings::Scope scope, const QString& organization, const QString& keyPath);

    std::optional<std::uint32_t> ReadInt(std::string_view section, std::string_view name) const override;
    std::optional<std::string> ReadString(std::string_view section, std::string_view name) const override;
    bool WriteInt(std::string_view section, std::string_view name, std::uint32_t value) override;
    bool WriteString(std::string_view section, std::string_view name, std::string_view value) override;
    std::string Location() const override;

    QString FileName() const { return m_settings->fileName(); }

private:
    static QString Key(std::string_view section, std::string_view name);
    bool Write(const QString& key, const QVariant& value);

    std::unique_ptr<QSettings> m_settings;
};

}  // namespace tavlix
