#include "sheet/Fonts.h"

#include "sheet/QtText.h"

#include <QFont>
#include <QFontDatabase>

#include <fontconfig/fontconfig.h>

#include <array>

namespace ulvan {

namespace {

// What a face is: the installed faces that stand in for one are chosen by its kind, so
// that a proportional Gothic never becomes a fixed-width one. Fontconfig lists the IPA
// faces under their Latin names and, under a Japanese locale, Qt under their Japanese
// ones: both are tried.
struct FaceKind {
    bool Gothic = false;
    bool Proportional = false;
};

struct InstalledFace {
    FaceKind Kind;
    std::array<const char16_t*, 2> Names;
};

constexpr std::array<InstalledFace, 4> kInstalledFaces = {{
    {{false, false}, {u"IPAMincho", u"IPA明朝"}},
    {{true, false}, {u"IPAGothic", u"IPAゴシック"}},
    {{false, true}, {u"IPAPMincho", u"IPA P明朝"}},
    {{true, true}, {u"IPAPGothic", u"IPA Pゴシック"}},
}};

// The faces of the original platform, in both the full-width and the half-width spelling
// of "MS" that stored settings hold.
struct WindowsFace {
    const char16_t* Name;
    FaceKind Kind;
};

constexpr std::array<WindowsFace, 8> kWindowsFaces = {{
    {u"ＭＳ 明朝", {false, false}},
    {u"ＭＳ ゴシック", {true, false}},
    {u"ＭＳ Ｐ明朝", {false, true}},
    {u"ＭＳ Ｐゴシック", {true, true}},
    {u"MS Mincho", {false, false}},
    {u"MS Gothic", {true, false}},
    {u"MS PMincho", {false, true}},
    {u"MS PGothic", {true, true}},
}};

// The installed face of that kind, by whichever name the font database knows it.
QString InstalledFaceOf(FaceKind kind) {
    for (const InstalledFace& face : kInstalledFaces) {
        if (face.Kind.Gothic != kind.Gothic || face.Kind.Proportional != kind.Proportional)
            continue;
        for (const char16_t* name : face.Names) {
            const QString family = ToQ(name);
            if (QFontDatabase::hasFamily(family))
                return family;
        }
    }
    return QString();
}

bool LooksSansSerif(const QString& family) {
    return family.contains(u"ゴシック") || family.contains(u"Gothic", Qt::CaseInsensitive) ||
           family.contains(u"Sans", Qt::CaseInsensitive);
}

// "ＭＳ Ｐゴシック", "MS PMincho", "HG P明朝": a P before the face's kind marks it proportional.
bool LooksProportional(const QString& family) {
    for (const QString& kind : {QStringLiteral("ゴシック"), QStringLiteral("明朝"),
                                QStringLiteral("Gothic"), QStringLiteral("Mincho")}) {
        const qsizetype at = family.indexOf(kind, 0, Qt::CaseInsensitive);
        if (at <= 0)
            continue;
        const QString before = family.left(at).trimmed();
        if (before.endsWith(u'P') || before.endsWith(u'Ｐ') || before.endsWith(u'p'))
            return true;
    }
    return false;
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
    for (const WindowsFace& windows : kWindowsFaces) {
        if (family == QStringView(windows.Name)) {
            const QString installed = InstalledFaceOf(windows.Kind);
            if (!installed.isEmpty())
                return installed;
            break;
        }
    }
    if (!family.isEmpty() && QFontDatabase::hasFamily(family)) {
        return family;
    }
    // Not installed: keep the character of the face (mincho or gothic, proportional or not)
    // when a matching Japanese face exists, else any face that writes Japanese.
    const FaceKind kind{LooksSansSerif(family), LooksProportional(family)};
    for (const FaceKind tried : {kind, FaceKind{kind.Gothic, false}}) {
        const QString preferred = InstalledFaceOf(tried);
        if (!preferred.isEmpty() && CanWriteJapanese(preferred))
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
