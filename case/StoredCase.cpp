#include "case/StoredCase.h"

#include "calendar/Era.h"
#include "case/SettingsCheck.h"
#include "case/SettingsStore.h"
#include "sheet/QtText.h"

namespace ulvan {

namespace {

// The keys, under the program's root path.
const QString kRoot = QStringLiteral("\\Software\\Pelvo\\Dorim\\1.0\\");
const QString kSetData = kRoot + QStringLiteral("SetData");
const QString kExtendSetUp = kRoot + QStringLiteral("ExtendSetUp");
const QString k2ndExtend = kRoot + QStringLiteral("2ndExtend");
const QString kTmplEdit = kRoot + QStringLiteral("TmplEdit");
const QString kNenkaiSel = kRoot + QStringLiteral("NenkaiSel");

// The print options of ExtendSetUp, in their stored order.
struct BoolOption {
    const char* name;
    bool SheetOptions::*member;
};
constexpr BoolOption kExtendOptions[] = {
    {"HatsuGatsuPrint", &SheetOptions::HatsuGatsuPrint},
    {"HyakkaNichiPrint", &SheetOptions::HyakkaNichiPrint},
    {"DogetsuShoryaku", &SheetOptions::DogetsuShoryaku},
    {"WarekiInsatsu", &SheetOptions::WarekiInsatsu},
};

// The deceased's texts of SetData after the era, in their stored order (the name and its
// reading, stored joined, stand between the date and these).
struct TextField {
    const char* name;
    std::u16string DeceasedData::*member;
};
constexpr TextField kDateFields[] = {
    {"KiWanen", &DeceasedData::KiWanen},
    {"KiGatsu", &DeceasedData::KiGatsu},
    {"KiNichi", &DeceasedData::KiNichi},
};
constexpr TextField kPersonFields[] = {
    {"Zokumyo", &DeceasedData::Zokumyo},
    {"GyoNen", &DeceasedData::GyoNen},
};

// Value names with a letter (TaiA … TaiI, NenA … NenU) or a number (Add1, KiName1).
QString Lettered(const char* stem, std::size_t index) {
    return QString::fromLatin1(stem) + QChar(static_cast<char16_t>(u'A' + index));
}
QString Numbered(const char* stem, std::size_t number) {
    return QString::fromLatin1(stem) + QString::number(number);
}
QString Name(const char* name) {
    return QString::fromLatin1(name);
}

void ReadBool(const SettingsStore& store, const QString& name, bool& value) {
    if (const std::optional<bool> stored = store.ReadBool(name)) {
        value = *stored;
    }
}

std::u16string ReadText(const SettingsStore& store, const QString& name) {
    return ToU16(store.ReadString(name));
}

// The era item the stored era text selects: the one equal to its first four characters.
std::u16string StoredEraItem(const QString& text) {
    const std::u16string wanted = ToU16(text.left(4));
    for (const std::u16string& item : EraComboItems()) {
        if (item == wanted) {
            return item;
        }
    }
    return {};
}

void Read2ndExtend(const SettingsStore& store, StoredCase& stored) {
    ReadBool(store, Name("RubyPrint"), stored.Options.RubyPrint);
    MemorialOffsets offsets = OffsetsOf(stored.Rows);
    for (std::size_t k = 0; k < kOffsetCount; ++k) {
        if (const std::optional<std::int32_t> offset = store.ReadInteger(Numbered("Add", k + 1))) {
            offsets[k] = *offset;
        }
    }
    SetOffsets(stored.Rows, offsets);
    for (std::size_t r = 0; r < stored.Rows.size(); ++r) {
        stored.Rows[r].Name = ReadText(store, Numbered("KiName", r + 1));
    }
}

void ReadSetData(const SettingsStore& store, StoredCase& stored) {
    for (std::size_t r = 0; r < stored.Rows.size(); ++r) {
        ReadBool(store, Lettered("Tai", r), stored.Rows[r].Eve);
    }
    SheetOptions& options = stored.Options;
    ReadBool(store, Name("TmplNamePrint"), options.TmplNamePrint);
    // A style other than the two the window offers keeps the default.
    if (const std::optional<std::int32_t> style = store.ReadInteger(Name("KaimyoStyle"));
        style && (*style == 0 || *style == 1)) {
        options.KaimyoStyle = *style;
    }
    options.TitName = ReadText(store, Name("TitName"));
    options.FntName1 = ReadText(store, Name("FntName1"));
    options.FntName2 = ReadText(store, Name("FntName2"));
    DeceasedData& data = stored.Deceased;
    data.KiNen = ReadText(store, Name("KiNen"));
    data.KiNengo = StoredEraItem(store.ReadString(Name("KiNengo")));
    for (const TextField& field : kDateFields) {
        data.*field.member = ReadText(store, Name(field.name));
    }
    NameAndReading name = SplitNameReading(ReadText(store, Name("Kaimyo")));
    data.Kaimyo = std::move(name.Name);
    stored.KeepsReading = !name.Reading.has_value();
    data.Yomi = name.Reading.value_or(std::u16string());
    for (const TextField& field : kPersonFields) {
        data.*field.member = ReadText(store, Name(field.name));
    }
}

void ReadExtendSetUp(const SettingsStore& store, StoredCase& stored) {
    for (const BoolOption& option : kExtendOptions) {
        ReadBool(store, Name(option.name), stored.Options.*option.member);
    }
}

// Runs `read` on the key when it exists. A file that cannot be read (a FIFO, a folder, no
// permission) is not opened at all: its values stay at their defaults.
template <class Read> void ReadKey(const QString& file, const QString& key, Read read) {
    if (!SettingsFileUsable(file)) {
        return;
    }
    SettingsStore store(file);
    if (store.OpenKey(key, false)) {
        read(store);
        store.CloseKey();
    }
}

// Runs `write` on the key, created when missing; false when the store was not written. A
// file that cannot be read is left as it is: writing would replace what could not be read.
template <class Write> bool WriteKey(const QString& file, const QString& key, Write write) {
    if (!SettingsFileUsable(file)) {
        return false;
    }
    SettingsStore store(file);
    store.OpenKey(key, true);
    write(store);
    return store.CloseKey();
}

} // namespace

StoredCase ReadStoredCase(const QString& file) {
    StoredCase stored;
    // The order the main window loads them in: names, offsets and eve flags are in place
    // before the date of death, whose assignment recomputes the schedule.
    ReadKey(file, k2ndExtend, [&](const SettingsStore& store) { Read2ndExtend(store, stored); });
    ReadKey(file, kSetData, [&](const SettingsStore& store) { ReadSetData(store, stored); });
    ReadKey(file, kExtendSetUp,
            [&](const SettingsStore& store) { ReadExtendSetUp(store, stored); });
    ReadKey(file, kTmplEdit,
            [&](const SettingsStore& store) { stored.EditStr = ReadText(store, Name("EditStr")); });
    return stored;
}

bool WriteStoredCase(const QString& file, const StoredCase& stored) {
    const SheetOptions& options = stored.Options;
    const DeceasedData& data = stored.Deceased;
    bool written = WriteKey(file, kSetData, [&](SettingsStore& store) {
        for (std::size_t r = 0; r < stored.Rows.size(); ++r) {
            store.WriteBool(Lettered("Tai", r), stored.Rows[r].Eve);
        }
        store.WriteBool(Name("TmplNamePrint"), options.TmplNamePrint);
        store.WriteInteger(Name("KaimyoStyle"), options.KaimyoStyle);
        store.WriteString(Name("TitName"), ToQ(options.TitName));
        store.WriteString(Name("FntName1"), ToQ(options.FntName1));
        store.WriteString(Name("FntName2"), ToQ(options.FntName2));
        store.WriteString(Name("KiNen"), ToQ(data.KiNen));
        store.WriteString(Name("KiNengo"), ToQ(data.KiNengo));
        for (const TextField& field : kDateFields) {
            store.WriteString(Name(field.name), ToQ(data.*field.member));
        }
        store.WriteString(Name("Kaimyo"), ToQ(JoinNameReading(data.Kaimyo, data.Yomi)));
        for (const TextField& field : kPersonFields) {
            store.WriteString(Name(field.name), ToQ(data.*field.member));
        }
    });
    written = WriteKey(file, kExtendSetUp,
                       [&](SettingsStore& store) {
                           for (const BoolOption& option : kExtendOptions) {
                               store.WriteBool(Name(option.name), options.*option.member);
                           }
                       }) &&
              written;
    written =
        WriteKey(file, k2ndExtend,
                 [&](SettingsStore& store) {
                     store.WriteBool(Name("RubyPrint"), options.RubyPrint);
                     const MemorialOffsets offsets = OffsetsOf(stored.Rows);
                     for (std::size_t k = 0; k < kOffsetCount; ++k) {
                         store.WriteInteger(Numbered("Add", k + 1), offsets[k]);
                     }
                     for (std::size_t r = 0; r < stored.Rows.size(); ++r) {
                         store.WriteString(Numbered("KiName", r + 1), ToQ(stored.Rows[r].Name));
                     }
                 }) &&
        written;
    written = WriteKey(file, kTmplEdit,
                       [&](SettingsStore& store) {
                           store.WriteString(Name("EditStr"), ToQ(stored.EditStr));
                       }) &&
              written;
    return written;
}

NenkaiSelection ReadNenkaiSelection(const QString& file) {
    NenkaiSelection all;
    all.fill(true);
    return ReadNenkaiSelection(file, all);
}

NenkaiSelection ReadNenkaiSelection(const QString& file, const NenkaiSelection& current) {
    NenkaiSelection selection = current;
    ReadKey(file, kNenkaiSel, [&](const SettingsStore& store) {
        for (std::size_t i = 0; i < selection.size(); ++i) {
            ReadBool(store, Lettered("Nen", i), selection[i]);
        }
    });
    return selection;
}

bool WriteNenkaiSelection(const QString& file, const NenkaiSelection& selection) {
    return WriteKey(file, kNenkaiSel, [&](SettingsStore& store) {
        for (std::size_t i = 0; i < selection.size(); ++i) {
            store.WriteBool(Lettered("Nen", i), selection[i]);
        }
    });
}

std::u16string ReadNenkaiTitle(const QString& file) {
    std::u16string title;
    ReadKey(file, kExtendSetUp,
            [&](const SettingsStore& store) { title = ReadText(store, Name("NenTitName")); });
    return title;
}

bool WriteNenkaiTitle(const QString& file, std::u16string_view title) {
    return WriteKey(file, kExtendSetUp, [&](SettingsStore& store) {
        store.WriteString(Name("NenTitName"), ToQ(title));
    });
}

std::u16string ReadDataFileName(const QString& file) {
    std::u16string path;
    ReadKey(file, kSetData,
            [&](const SettingsStore& store) { path = ReadText(store, Name("DataFileName")); });
    return path;
}

bool WriteDataFileName(const QString& file, std::u16string_view path) {
    return WriteKey(file, kSetData, [&](SettingsStore& store) {
        store.WriteString(Name("DataFileName"), ToQ(path));
    });
}

} // namespace ulvan
