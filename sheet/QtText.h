// The one conversion between the engine's UTF-16 texts and Qt's strings. Both hold UTF-16
// code units, so the conversion copies the units unchanged, unpaired surrogates included.
#pragma once

#include <QString>
#include <QStringView>

#include <string>
#include <string_view>

namespace ulvan {

inline QString ToQ(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

// A view of the engine's text for Qt calls that only read it (no copy); the text must outlive
// the view.
inline QStringView ToQView(std::u16string_view text) {
    return QStringView(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::u16string ToU16(const QString& text) {
    return text.toStdU16String();
}

} // namespace ulvan
