// The settings file can be edited by hand or written by another program: the check and the
// stored-case reader must accept any bytes without blocking, and once the program has saved
// what it read, saving and reading again changes nothing (the first save may normalise, as a
// name stored without its reading gains the empty one).
#include "case/SettingsCheck.h"
#include "case/StoredCase.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

struct Place {
    QTemporaryDir Dir;
    QString Input;
    QString Copy;
    QString Again;
    Place()
        : Input(Dir.filePath(QStringLiteral("Dorim.conf")))
        , Copy(Dir.filePath(QStringLiteral("saved.conf")))
        , Again(Dir.filePath(QStringLiteral("again.conf"))) {}
};

Place& Files() {
    static int argc = 1;
    static char name[] = "fuzz_storedcase";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
    static Place place;
    return place;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Place& files = Files();
    {
        QFile out(files.Input);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            std::abort();
        }
        out.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    const ulvan::SettingsFileCheck check = ulvan::CheckSettingsFile(files.Input);
    if (check.State == ulvan::SettingsFileState::Missing ||
        check.State == ulvan::SettingsFileState::Unreadable ||
        (check.State == ulvan::SettingsFileState::Clean) != check.Findings.empty()) {
        std::abort();
    }
    const ulvan::StoredCase read = ulvan::ReadStoredCase(files.Input);
    // Saving twice costs most of the time (each key of the store is synced on its own): one
    // input in sixteen (chosen by its bytes, so that a crash reproduces) goes through it.
    std::uint8_t mix = 0;
    for (std::size_t i = 0; i < size; ++i) {
        mix = static_cast<std::uint8_t>(mix * 31 + data[i]);
    }
    if (mix % 16 != 0) {
        return 0;
    }
    QFile::remove(files.Copy);
    QFile::remove(files.Again);
    if (!ulvan::WriteStoredCase(files.Copy, read)) {
        std::abort();
    }
    const ulvan::StoredCase saved = ulvan::ReadStoredCase(files.Copy);
    if (!ulvan::WriteStoredCase(files.Again, saved) ||
        !(ulvan::ReadStoredCase(files.Again) == saved)) {
        std::abort();
    }
    // What the program writes reads cleanly.
    if (ulvan::CheckSettingsFile(files.Copy).State != ulvan::SettingsFileState::Clean) {
        std::abort();
    }
    return 0;
}
