// The per-user settings store: hierarchical keys holding Boolean, integer and text values.
// Key paths are written as "\Software\Pelvo\Dorim\1.0\SetData"; the store keeps them in an
// INI file (by default $XDG_CONFIG_HOME/Pelvo/Dorim.conf) in the group "1.0/SetData".
// Booleans and integers are stored as integers, Booleans as 1 and 0.
//
// The key and value names the program uses are those of StoredCase.cpp.
//
// Each user opens a fresh store per key group, reads or writes, closes and discards it;
// nothing is cached between uses. Writes are held until CloseKey, which writes the whole
// store into a new file beside the old one, reads it back and only then renames it over the
// old one: a full disk or any failed write leaves the earlier settings as they were.
#pragma once

#include <QString>
#include <QVariant>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>

class QSettings;

namespace ulvan {

class SettingsStore {
public:
    // The per-user store.
    SettingsStore();
    // The store kept in `file` (tests, other locations). An empty name means the default.
    explicit SettingsStore(const QString& file);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // The file of the per-user store.
    static QString DefaultFile();

    // Opens the key `path`. With create false it fails when the key does not exist; with
    // create true a missing key comes into being with its first value.
    bool OpenKey(const QString& path, bool create);
    bool KeyExists(const QString& path) const;
    bool ValueExists(const QString& name) const;

    // Values of the open key. A missing Boolean or integer reads as nullopt (the caller
    // keeps its default); a missing text reads as the empty text.
    std::optional<bool> ReadBool(const QString& name) const;
    std::optional<std::int32_t> ReadInteger(const QString& name) const;
    QString ReadString(const QString& name) const;

    void WriteBool(const QString& name, bool value);
    void WriteInteger(const QString& name, std::int32_t value);
    void WriteString(const QString& name, const QString& value);

    // Closes the key and writes the file; false when the file could not be written.
    bool CloseKey();

    QString FileName() const;

private:
    static QString GroupOf(const QString& path);
    QString Full(const QString& name) const;
    QVariant Value(const QString& full) const;
    bool WriteThrough();

    std::unique_ptr<QSettings> m_settings; // read only: never written, never synced to disk
    // Values written and not yet on disk, by full name; kept after a write so that every
    // later write of the same store holds them too.
    std::map<QString, QVariant> m_pending;
    bool m_dirty = false;
    QString m_group;
    bool m_open = false;
};

} // namespace ulvan
