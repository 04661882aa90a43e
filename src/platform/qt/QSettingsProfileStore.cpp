#include "platform/qt/QSettingsProfileStore.h"

namespace tavlix {

namespace {

QString FromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

}  // namespace

QSettingsProfileStore::QSettingsProfileStore(QSettings::Scope scope, const QString& organization,
                                             const QString& keyPath)
    : m_settings(std::make_unique<QSettings>(QSettings::NativeFormat, scope, organization, keyPath))
{
    m_settings->setFallbacksEnabled(false);
}

QString QSettingsProfileStore::Key(std::string_view section, std::string_view name)
{
    // A section is one group even when it holds a backslash ("Music\File"); the unnamed
    // value of a key is stored as "Default".
    const QString entry = name.empty() ? QStringLiteral("Default") : FromUtf8(name);
    return section.empty() ? entry : FromUtf8(section) + QLatin1Char('/') + entry;
}

std::optional<std::uint32_t> QSettingsProfileStore::ReadInt(std::string_view section,
                                                            std::string_view name) const
{
    const QVariant value = m_settings->value(Key(section, name));
    bool ok = false;
    const uint number = value.toUInt(&ok);
    if (!value.isValid() || !ok)
        return std::nullopt;
    return std::uint32_t(number);
}

std::optional<std::string> QSettingsProfileStore::ReadString(std::string_view section,
                                                             std::string_view name) const
{
    const QVariant value = m_settings->value(Key(section, name));
    if (!value.isValid() || !value.canConvert<QString>())
        return std::nullopt;
    return value.toString().toStdString();
}

bool QSettingsProfileStore::Write(const QString& key, const QVariant& value)
{
    m_settings->setValue(key, value);
    m_settings->sync();
    return m_settings->status() != QSettings::AccessError;
}

bool QSettingsProfileStore::WriteInt(std::string_view section, std::string_view name,
                                     std::uint32_t value)
{
    return Write(Key(section, name), QVariant::fromValue(uint(value)));
}

bool QSettingsProfileStore::WriteString(std::string_view section, std::string_view name,
                                        std::string_view value)
{
    return Write(Key(section, name), FromUtf8(value));
}

std::string QSettingsProfileStore::Location() const { return m_settings->fileName().toStdString(); }

}  // namespace tavlix
