#include "case/SettingsStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryFile>

#include <filesystem>

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
    return m_open && (m_pending.contains(Full(name)) || m_settings->contains(Full(name)));
}

QVariant SettingsStore::Value(const QString& full) const {
    if (const auto pending = m_pending.find(full); pending != m_pending.end())
        return pending->second;
    return m_settings->value(full);
}

std::optional<std::int32_t> SettingsStore::ReadInteger(const QString& name) const {
    if (!ValueExists(name)) {
        return std::nullopt;
    }
    bool ok = false;
    const int value = Value(Full(name)).toString().trimmed().toInt(&ok);
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
    const QVariant value = Value(Full(name));
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
        m_pending[Full(name)] = value;
        m_dirty = true;
    }
}

void SettingsStore::WriteString(const QString& name, const QString& value) {
    if (m_open) {
        m_pending[Full(name)] = value;
        m_dirty = true;
    }
}

bool SettingsStore::CloseKey() {
    m_open = false;
    m_group.clear();
    if (!m_dirty)
        return m_settings->status() == QSettings::NoError;
    m_dirty = !WriteThrough();
    return !m_dirty;
}

namespace {

// A value as the INI file gives it back, for comparing what was written with what was read.
QString Comparable(const QVariant& value) {
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QChar(0x1F));
    return value.toString();
}

} // namespace

bool SettingsStore::WriteThrough() {
#ifdef Q_OS_WIN
    if (m_settings->format() == QSettings::NativeFormat) {
        // The registry writes each value itself; there is no file to replace.
        for (const auto& [key, value] : m_pending)
            m_settings->setValue(key, value);
        m_settings->sync();
        return m_settings->status() == QSettings::NoError;
    }
#endif
    if (m_settings->status() != QSettings::NoError)
        return false; // what could not be read must not be replaced
    const QFileInfo target(m_settings->fileName());
    // A symbolic link keeps pointing where it did: its target is replaced.
    const QString targetPath = target.isSymLink() ? target.symLinkTarget() : target.filePath();
    const QFileInfo real(targetPath);
    if (!QDir().mkpath(real.absolutePath()))
        return false;

    // The whole store as it is to be: what the file holds, with the writes over it.
    std::map<QString, QVariant> merged;
    for (const QString& key : m_settings->allKeys())
        merged[key] = m_settings->value(key);
    for (const auto& [key, value] : m_pending)
        merged[key] = value;

    QTemporaryFile side(real.absolutePath() + QLatin1Char('/') + real.fileName() +
                        QStringLiteral(".XXXXXX"));
    if (!side.open())
        return false;
    const QString sideName = side.fileName();
    side.close();
    {
        QSettings out(sideName, QSettings::IniFormat);
        for (const auto& [key, value] : merged)
            out.setValue(key, value);
        out.sync();
        if (out.status() != QSettings::NoError)
            return false;
    }
    // Read back before the rename: a write cut short by a full disk is found here, while the
    // old file is still in place.
    {
        const QSettings back(sideName, QSettings::IniFormat);
        if (back.status() != QSettings::NoError)
            return false;
        const QStringList keys = back.allKeys();
        if (static_cast<std::size_t>(keys.size()) != merged.size())
            return false;
        for (const QString& key : keys) {
            const auto found = merged.find(key);
            if (found == merged.end() || Comparable(found->second) != Comparable(back.value(key)))
                return false;
        }
    }
    if (real.exists()) {
        QFile::setPermissions(sideName, QFile::permissions(targetPath));
        // Qt keeps a file it read and reads it again only when its size or time changed: a
        // new file of the same size written within the same millisecond must not look like
        // the old one to the next store opened on it.
        const QDateTime before = real.lastModified();
        QFile written(sideName);
        if (QFileInfo(sideName).lastModified() <= before && written.open(QIODevice::Append))
            written.setFileTime(before.addMSecs(1), QFileDevice::FileModificationTime);
    }
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(sideName.toStdU16String()),
                            std::filesystem::path(targetPath.toStdU16String()), error);
    return !error;
}

} // namespace ulvan
