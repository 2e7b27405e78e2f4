// Picture files of the footer: the one path by which a footer picture is opened, decoded and
// handed to the canvas, whatever its format.
//
// A picture is opened only when its name is a regular file (a FIFO or a device would block
// the drawing), its size is read from the header, and it is decoded at the size it is drawn
// at on the target, never larger than its own, so that a large photograph placed in a small
// frame costs the frame's pixels and not its own. The decoded pixels live only while the
// frame is drawn (and, for the preview's repaints, in the drawing request's small cache).
//
// Each drawing has a budget: the bytes that decoding may take in total (a picture costs its
// own full size once, whatever size it is decoded at, plus the decoded result). A picture
// that would go over the budget is not decoded; the footer then reports it as not loadable.
//
// Formats plug in as FooterPictureSource implementations, chosen by the file name's
// extension: the raster formats (bmp, ico, png, tif, tiff, jpg, jpeg) and the vector formats
// (emf, wmf, svg). A vector picture is read whole once when it is opened (within a file size
// limit) and is drawn at the target's own resolution when it is painted, so that it prints
// sharp at any size; its own size (the metafile's frame or bounds, the drawing's width and
// height) gives the proportions a fixed-proportion frame keeps. Turned for the page, it is
// played with the painter turned the same quarter turn as a bitmap, so that a picture stands
// the same way up whatever its format.
#pragma once

#include "sheet/Canvas.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <cstdint>
#include <memory>

namespace ulvan {

// Pixels beyond which a footer picture is refused (also each side on its own).
inline constexpr std::int64_t kMaxFooterPicturePixels = 40'000'000;
inline constexpr int kMaxFooterPictureSide = 20'000;
// Bytes beyond which a vector picture file (metafile, drawing) is not read.
inline constexpr std::int64_t kMaxFooterVectorFileBytes = std::int64_t{64} * 1024 * 1024;
// Elements of a drawing, their nesting depth, and the elements drawn once every <use> is
// followed: a drawing beyond them is refused before it is parsed for drawing.
inline constexpr int kMaxFooterSvgElements = 200'000;
inline constexpr int kMaxFooterSvgDepth = 200;
inline constexpr std::int64_t kMaxFooterSvgDrawnElements = 1'000'000;
// Bytes that decoding the pictures of one drawing of the footer may take in total.
inline constexpr std::int64_t kFooterPictureBudgetBytes = std::int64_t{256} * 1024 * 1024;

// What one drawing may still spend on decoding pictures.
class FooterPictureBudget {
public:
    explicit FooterPictureBudget(std::int64_t bytes = kFooterPictureBudgetBytes)
        : m_left(bytes) {}
    // Takes `bytes` from the budget; false (and nothing taken) when not that much is left.
    bool Take(std::int64_t bytes);
    std::int64_t Left() const { return m_left; }

private:
    std::int64_t m_left;
};

// One picture file, opened and its size known; nothing decoded yet.
class FooterPictureSource {
public:
    virtual ~FooterPictureSource() = default;
    // The picture's own size in pixels: the proportions a fixed-proportion frame keeps.
    virtual QSize Size() const = 0;
    // Whether it draws as sharp at any size (a vector picture), or is best never enlarged.
    virtual bool Scalable() const { return false; }
    // The bytes Prepare takes for these arguments, to be taken from the drawing's budget
    // before calling it.
    virtual std::int64_t Cost(QSize drawn, bool turned) const = 0;
    // The picture made ready to be stretched over `drawn` device pixels (width x height as
    // drawn, after the turn), turned a quarter turn counter-clockwise when `turned`. Null
    // when it cannot be decoded.
    virtual std::shared_ptr<const Picture> Prepare(QSize drawn, bool turned) = 0;
};

// Opens the picture at `path`: the format is chosen by the file name's extension, compared
// case-insensitively. Null for anything but a regular file, an unknown extension, a file
// whose header does not read, and a picture larger than the limits above.
std::unique_ptr<FooterPictureSource> OpenFooterPicture(const QString& path);

// The whole picture at its own size, through the same path (tests, tools); a vector picture
// is painted at its own size on white. Null when it cannot be loaded.
QImage LoadFooterPicture(const QString& path);

// The picture at `path` fitted into a `side` x `side` square with its proportions kept (a
// bitmap never larger than its own size), decoded at that size through the same path: what
// the picture file dialog shows. Null when the footer could not draw it either.
QImage FooterPicturePreview(const QString& path, int side);

// Whether the last painting of `picture` stopped before its end (a metafile record that did
// not fit, a limit reached): what was drawn until then stays, and the footer reports the file
// as unreadable. Always false for a bitmap and a drawing.
bool PaintStoppedEarly(const Picture& picture);

// The picture turned a quarter turn counter-clockwise: ph wide, pw high, its pixel (x, y)
// being the original's (pw - 1 - y, x).
QImage TurnCounterClockwise(const QImage& image);

} // namespace ulvan
