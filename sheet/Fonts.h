// Font faces on this platform. The sheets and settings name the faces of the original
// Windows installation ("ＭＳ 明朝" and the like); here they are mapped to installed faces
// that can write Japanese. Used by the canvas when it selects a font and by the windows
// that offer font choices.
#pragma once

#include <QString>
#include <QStringList>

namespace ulvan {

// The installed family that draws `face`. A leading "@" (vertical writing) is dropped.
// The Windows Japanese faces map to their nearest installed counterparts; a family that is
// installed is returned as is; anything else falls back to an installed family that can
// write Japanese (never to one without Japanese glyphs, as long as one is installed).
QString ResolveFace(const QString& face);

// Installed families that can write Japanese, fixed-pitch ones first where the platform
// tells; never empty while such a family is installed.
QStringList JapaneseFamilies();

// The faces every font box of the program offers (the sheets' title and body fonts, a footer
// text frame's font), of the given `families`: those that can write Japanese, the fixed-pitch
// ones first, each group in the given order, without the vertical "@" variants. Never empty
// while a Japanese face is installed.
QStringList FontBoxFamilies(const QStringList& families);
// The same of the installed families, in the order the platform reports them.
QStringList FontBoxFamilies();

} // namespace ulvan
