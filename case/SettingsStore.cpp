#include "case/SettingsStore.h"

#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

namespace ulvan {

namespace {

const QString kOrganization = QStringLiteral("Pelvo");
const QString kApplication = QStringLiteral("Dorim");

std::unique_ptr<QSettings> OpenFile(const QString& file) {
#ifdef Q_OS_WIN
    if (file.isEmpty()) {
        // The registry.
        return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                           kOrganization, kApplication);
    }
#endif
    return std::make_unique<QSettings>(file.isEmpty() ? SettingsStore::DefaultFile() : file,
                                       QSettings::IniFormat);
}

} // namespace

SettingsStore::SettingsStore()
    : m_settings(OpenFile(QString())) {}

SettingsStore::SettingsStore(const QString& file)
    : m_settings(OpenFile(file)) {}

SettingsStore::~SettingsStore() {
    if (m_open) {
        CloseKey();
    }
}

QString SettingsStore::DefaultFile() {
#ifdef Q_OS_WIN
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, kOrganization, kApplication)
        .fileName();
#else
    // Where the native store keeps it, named without opening it: opening reads the file,
    // and that must wait until it is known to be a regular file.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QLatin1Char('/') + kOrganization + QLatin1Char('/') + kApplication +
           QStringLiteral(".conf");
#endif
}

QString SettingsStore::FileName() const {
    return m_settings->fileName();
}

QString SettingsStore::GroupOf(const QString& path) {
    QString group = path;
    while (group.startsWith(QLatin1Char('\\'))) {
        group.remove(0, 1);
    }
    // The organisation and application are the file itself; the rest of the path is the
    // group inside it.
    const QString prefix = QStringLiteral("Software\\") + kOrganization + QLatin1Char('\\') +
                           kApplication + QLatin1Char('\\');
    if (group.startsWith(prefix, Qt::CaseInsensitive)) {
        group.remove(0, prefix.size());
    }
    while (group.endsWith(QLatin1Char('\\'))) {
        group.chop(1);
    }
    group.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return group;
}

QString SettingsStore::Full(const QString& name) const {
    return m_group.isEmpty() ? name : m_group + QLatin1Char('/') + name;
}

bool SettingsStore::KeyExists(const QString& path) const {
    const QString group = GroupOf(path);
    if (group.isEmpty()) {
        return true;
    }
    m_settings->beginGroup(group);
    const bool exists = !m_settings->childKeys().isEmpty() || !m_settings->childGroups().isEmpty();
    m_settings->endGroup();
    return exists;
}

bool SettingsStore::OpenKey(const QString& path, bool create) {
    if (m_open) {
        CloseKey();
    }
    if (!create && !KeyExists(path)) {
        return false;
    }
    m_group = GroupOf(path);
    m_open = true;
    return true;
}

bool SettingsStore::ValueExists(const QString& name) const {
    return m_open && m_settings->contains(Full(name));
}

std::optional<std::int32_t> SettingsStore::ReadInteger(const QString& name) const {
    if (!ValueExists(name)) {
        return std::nullopt;
    }
    bool ok = false;
    const int value = m_settings->value(Full(name)).toString().trimmed().toInt(&ok);
    if (!ok) {
        return std::nullopt;
    }
    return value;
}

std::optional<bool> SettingsStore::ReadBool(const QString& name) const {
    const std::optional<std::int32_t> value = ReadInteger(name);
    if (!value) {
        return std::nullopt;
    }
    return *value != 0;
}

QString SettingsStore::ReadString(const QString& name) const {
    if (!ValueExists(name)) {
        return QString();
    }
    const QVariant value = m_settings->value(Full(name));
    // A text with commas edited into the file by hand without quotes comes back as a list.
    if (value.typeId() == QMetaType::QStringList) {
        return value.toStringList().join(QLatin1Char(','));
    }
    return value.toString();
}

void SettingsStore::WriteBool(const QString& name, bool value) {
    WriteInteger(name, value ? 1 : 0);
}

void SettingsStore::WriteInteger(const QString& name, std::int32_t value) {
    if (m_open) {
        m_settings->setValue(Full(name), value);
    }
}

void SettingsStore::WriteString(const QString& name, const QString& value) {
    if (m_open) {
        m_settings->setValue(Full(name), value);
    }
}

bool SettingsStore::CloseKey() {
    m_open = false;
    m_group.clear();
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

} // namespace ulvan
