#include "sheet/Fonts.h"

#include <QFontDatabase>

#include <array>

namespace ulvan {

namespace {

struct FaceMapping {
    const char16_t* Windows;
    const char16_t* Installed;
};

// The faces of the original platform and the installed faces that stand in for them.
// Both the full-width and the half-width spellings of "MS" occur in stored settings.
constexpr std::array<FaceMapping, 8> kMappings = {{
    {u"ＭＳ 明朝", u"IPAMincho"},
    {u"ＭＳ ゴシック", u"IPAGothic"},
    {u"ＭＳ Ｐ明朝", u"IPAPMincho"},
    {u"ＭＳ Ｐゴシック", u"IPAPGothic"},
    {u"MS Mincho", u"IPAMincho"},
    {u"MS Gothic", u"IPAGothic"},
    {u"MS PMincho", u"IPAPMincho"},
    {u"MS PGothic", u"IPAPGothic"},
}};

bool LooksSansSerif(const QString& family) {
    return family.contains(u"ゴシック") || family.contains(u"Gothic", Qt::CaseInsensitive) ||
           family.contains(u"Sans", Qt::CaseInsensitive);
}

bool CanWriteJapanese(const QString& family) {
    return QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese);
}

} // namespace

QStringList JapaneseFamilies() {
    QStringList fixed;
    QStringList proportional;
    for (const QString& family : QFontDatabase::families(QFontDatabase::Japanese)) {
        if (QFontDatabase::isPrivateFamily(family)) {
            continue;
        }
        (QFontDatabase::isFixedPitch(family) ? fixed : proportional).append(family);
    }
    return fixed + proportional;
}

QString ResolveFace(const QString& face) {
    const QString family = face.startsWith(QLatin1Char('@')) ? face.mid(1) : face;
    for (const FaceMapping& mapping : kMappings) {
        if (family == QStringView(mapping.Windows)) {
            const QString installed = QString::fromUtf16(mapping.Installed);
            if (QFontDatabase::hasFamily(installed)) {
                return installed;
            }
            break;
        }
    }
    if (!family.isEmpty() && QFontDatabase::hasFamily(family)) {
        return family;
    }
    // Not installed: keep the character of the face (mincho or gothic) when a matching
    // Japanese face exists, else any face that writes Japanese.
    const QString preferred =
        LooksSansSerif(family) ? QStringLiteral("IPAGothic") : QStringLiteral("IPAMincho");
    if (QFontDatabase::hasFamily(preferred) && CanWriteJapanese(preferred)) {
        return preferred;
    }
    const QStringList japanese = JapaneseFamilies();
    if (!japanese.isEmpty()) {
        return japanese.first();
    }
    return family;
}

} // namespace ulvan
