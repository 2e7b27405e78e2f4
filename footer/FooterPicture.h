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
// Formats plug in as FooterPictureSource implementations: today the raster formats (by the
// file name's extension: bmp, ico, png, tif, tiff, jpg, jpeg); a vector format (metafiles)
// implements the same two calls, its own size and the picture prepared for one rectangle.
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

// The whole picture at its own size, through the same path (tests, tools); null when it
// cannot be loaded.
QImage LoadFooterPicture(const QString& path);

// The picture at `path` fitted into a `side` x `side` square with its proportions kept (never
// larger than its own size), decoded at that size through the same path: what the picture
// file dialog shows. Null when the footer could not draw it either.
QImage FooterPicturePreview(const QString& path, int side);

// The picture turned a quarter turn counter-clockwise: ph wide, pw high, its pixel (x, y)
// being the original's (pw - 1 - y, x).
QImage TurnCounterClockwise(const QImage& image);

} // namespace ulvan
