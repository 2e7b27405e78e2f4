// The settings store's key paths, spelled out as a file written by the program holds them:
// the tests write and read stores as another program (or a hand edit) would.
#pragma once

#include <QString>

namespace ulvan::test {

inline const QString kKeyRoot = QStringLiteral("\\Software\\Pelvo\\Dorim\\1.0\\");
inline const QString kKeySetData = kKeyRoot + QStringLiteral("SetData");
inline const QString kKeyExtendSetUp = kKeyRoot + QStringLiteral("ExtendSetUp");
inline const QString kKey2ndExtend = kKeyRoot + QStringLiteral("2ndExtend");
inline const QString kKeyTmplEdit = kKeyRoot + QStringLiteral("TmplEdit");
inline const QString kKeyNenkaiSel = kKeyRoot + QStringLiteral("NenkaiSel");

} // namespace ulvan::test
