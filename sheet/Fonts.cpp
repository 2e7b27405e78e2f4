#include "sheet/Fonts.h"

#include "sheet/QtText.h"

#include <QFont>
#include <QFontDatabase>

#include <fontconfig/fontconfig.h>

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

// Fixed pitch as the font boxes mean it: Latin letters of one width. The Japanese faces
// with half-width Latin and full-width kana and kanji (fontconfig's "dual" spacing) count,
// as they do on the platform the settings were first written on; proportional faces do not.
// The spacing is what the installed font files declare, read from fontconfig's cache, so
// that no face has to be loaded to find out.
bool IsFixedPitch(const QString& family) {
    if (QFontDatabase::isFixedPitch(family)) {
        return true;
    }
    const QByteArray name = family.toUtf8();
    FcPattern* pattern = FcPatternCreate();
    if (pattern == nullptr) {
        return false;
    }
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.constData()));
    FcObjectSet* wanted = FcObjectSetBuild(FC_SPACING, static_cast<char*>(nullptr));
    FcFontSet* faces = wanted != nullptr ? FcFontList(nullptr, pattern, wanted) : nullptr;
    bool fixed = false;
    if (faces != nullptr) {
        for (int i = 0; i < faces->nfont && !fixed; ++i) {
            int spacing = FC_PROPORTIONAL;
            fixed =
                FcPatternGetInteger(faces->fonts[i], FC_SPACING, 0, &spacing) == FcResultMatch &&
                spacing >= FC_DUAL;
        }
        FcFontSetDestroy(faces);
    }
    if (wanted != nullptr) {
        FcObjectSetDestroy(wanted);
    }
    FcPatternDestroy(pattern);
    return fixed;
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
            const QString installed = ToQ(mapping.Installed);
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

QStringList FontBoxFamilies(const QStringList& families) {
    // A face that cannot write Japanese would print the sheet as empty boxes, so only
    // Japanese-capable faces are offered. This platform reports none of them as fixed pitch,
    // so the fixed-pitch ones come first and the others follow instead of being dropped.
    QStringList fixed;
    QStringList proportional;
    for (const QString& family : families) {
        // The sheets add the "@" of the vertical variants themselves.
        if (family.startsWith(QLatin1Char('@')) ||
            !QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese)) {
            continue;
        }
        (IsFixedPitch(family) ? fixed : proportional).append(family);
    }
    return fixed + proportional;
}

QStringList FontBoxFamilies() {
    QStringList installed;
    for (const QString& family : QFontDatabase::families()) {
        if (!QFontDatabase::isPrivateFamily(family)) {
            installed.append(family);
        }
    }
    return FontBoxFamilies(installed);
}

} // namespace ulvan
