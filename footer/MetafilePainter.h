// Windows metafiles (EMF, and WMF with or without the placeable header) drawn onto a
// QPainter as vectors: lines, shapes and text stay outlines and text on a PDF or a printer,
// embedded bitmaps are drawn as images. The records are read by MetafileReader, which bounds
// the work and memory a hostile file can take.
#pragma once

#include <QByteArrayView>
#include <QPainter>
#include <QRectF>
#include <QSize>
#include <QSizeF>

#include <optional>

namespace ulvan {

enum class MetafileKind { Emf, Wmf };

struct MetafileHeader {
    MetafileKind Kind;
    QSizeF Millimetres; // the picture's own size (EMF frame; WMF placeable bounds / units per
                        // inch; else the window extent at 96 dpi) — what an "F" frame keeps
    QSize Pixels;       // the same at 96 dpi, rounded, at least 1x1
};

// Nullopt when `bytes` is not an EMF or WMF (placeable or not) whose header holds.
std::optional<MetafileHeader> ReadMetafileHeader(QByteArrayView bytes);

// Plays the picture onto `painter`, its bounds stretched over `target` (painter
// coordinates; the caller turns the painter when the picture stands turned). The painter
// is saved and restored around the playback. False when a record did not fit or a limit
// was reached: what was drawn until then stays.
bool PaintMetafile(QByteArrayView bytes, QPainter& painter, const QRectF& target);

} // namespace ulvan
