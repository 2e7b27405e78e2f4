// The drawing surface every renderer of the system draws through: the memorial sheet, the
// annual chart, the footer (on the page, the preview and the editor) and the preview border.
//
// The operations mirror what a page canvas of the original platform offered, with its
// conventions, because the layout rules are stated in them:
//   - all coordinates are integers in device units of the surface (printer dots, image or
//     widget pixels); the caller does every mapping and rounding;
//   - rectangles are given by two corners (x1, y1) and (x2, y2); the right and bottom edges
//     are exclusive, so the width is x2 - x1;
//   - a font is chosen by face name, cell height, weight and escapement; a face name with a
//     leading "@" selects vertical writing (full-width characters turned a quarter turn
//     counter-clockwise in their cells, so that a line turned to run down the reading page
//     reads as a vertical Japanese column);
//   - TextOut's point is the top-left corner of the first character cell in the text's own
//     orientation: for escapement 2700 the cell extends down and to the left of the point,
//     for escapement 900 up and to the right;
//   - text is black on a transparent background; the brush is always clear.
//
// Two implementations: QPainterCanvas draws on any QPainter (printer, PDF, image, widget);
// RecordingCanvas keeps every call with its arguments so that tests can check geometry
// exactly. Neither owns the pictures it is given.
#pragma once

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <memory>
#include <vector>

class QPainter;

namespace ulvan {

enum class PenStyle { Solid, Dotted };
enum class PenMode {
    Copy,
    Xor, // drawing the same thing twice restores the pixels (raster surfaces only)
};

struct PenSpec {
    QColor Colour = QColor(0, 0, 0);
    PenStyle Style = PenStyle::Solid;
    int Width = 1; // device units; 0 behaves as 1
    PenMode Mode = PenMode::Copy;

    friend bool operator==(const PenSpec&, const PenSpec&) = default;
};

// The colours the renderers use.
inline QColor PenBlack() {
    return QColor(0, 0, 0);
}
inline QColor PenAqua() {
    return QColor(0, 255, 255);
} // selection handles
inline QColor PenPurple() {
    return QColor(128, 0, 128);
} // preview border

struct FontSpec {
    QString Face;       // "@" + family selects vertical writing
    int CellHeight = 0; // positive: the character cell, internal leading included; 0 = default
    int Weight = 400;   // 400 or 700
    int Escapement = 0; // tenths of a degree counter-clockwise: 0, 900 or 2700

    bool IsVertical() const { return Face.startsWith(QLatin1Char('@')); }
    // The family without the "@".
    QString Family() const { return IsVertical() ? Face.mid(1) : Face; }

    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

// Something the canvas can stretch into a rectangle: a raster image or vector art drawn at
// the surface's own resolution. Name() identifies the picture in recordings and messages
// (a file path, or the name of a built-in drawing).
class Picture {
public:
    virtual ~Picture() = default;
    virtual QString Name() const = 0;
    // The picture's own size in pixels; its aspect ratio is what "keep proportions" keeps.
    virtual QSize Size() const = 0;
    // Paints the whole picture stretched into `target` (painter coordinates).
    virtual void Paint(QPainter& painter, const QRectF& target) const = 0;
    // The memory the picture holds, for caches that keep prepared pictures.
    virtual std::int64_t HeldBytes() const;
};

// A bitmap. Copied as is when stretched (no smoothing, so monochrome art stays crisp).
class RasterPicture final : public Picture {
public:
    RasterPicture(QImage image, QString name);
    QString Name() const override { return m_name; }
    QSize Size() const override { return m_image.size(); }
    void Paint(QPainter& painter, const QRectF& target) const override;
    const QImage& Image() const { return m_image; }

private:
    QImage m_image;
    QString m_name;
};

// Vector art: subclasses draw into the target rectangle with painter calls, so lines stay
// sharp at printer resolution. Size() gives the nominal size (the proportions).
class VectorPicture : public Picture {
public:
    VectorPicture(QSize nominalSize, QString name);
    QString Name() const override { return m_name; }
    QSize Size() const override { return m_size; }

private:
    QSize m_size;
    QString m_name;
};

class Canvas {
public:
    virtual ~Canvas() = default;

    virtual void SetPen(const PenSpec& pen) = 0;
    // Rectangles are outlines only; kept as an operation because the sheet sets it up
    // explicitly at the start of each page.
    virtual void SetClearBrush() = 0;
    virtual void Rectangle(int x1, int y1, int x2, int y2) = 0;
    virtual void Line(int x1, int y1, int x2, int y2) = 0;
    // Dotted outline drawn by inverting pixels: drawing it again removes it. Ignores the pen.
    virtual void FocusRect(int x1, int y1, int x2, int y2) = 0;
    virtual void SetFont(const FontSpec& font) = 0;
    // Draws `text` in the current font; a run advances by the font's own widths.
    virtual void TextOut(int x, int y, QStringView text) = 0;
    // The whole picture stretched into (x1, y1)-(x2, y2).
    virtual void StretchPicture(const Picture& picture, int x1, int y1, int x2, int y2) = 0;
};

// Puts a painter just begun on a device into the default state (no transform, no clip, black
// pen, no brush, plain composition, full opacity) and hands all of that state to the paint
// engine before the first drawing. A printer keeps its paint engine from one job to the next,
// and its engine keeps what it was last told (the previous job's last transform among it)
// until it is told again; a new painter tells it only what it changes.
void ResetPainterState(QPainter& painter);

// Draws on an active QPainter. The painter's device gives the resolution against which
// cell heights are converted to font sizes, so the same call fills the same number of
// device units on a screen, an image, a PDF or a printer.
class QPainterCanvas final : public Canvas {
public:
    explicit QPainterCanvas(QPainter& painter);
    ~QPainterCanvas() override;

    void SetPen(const PenSpec& pen) override;
    void SetClearBrush() override;
    void Rectangle(int x1, int y1, int x2, int y2) override;
    void Line(int x1, int y1, int x2, int y2) override;
    void FocusRect(int x1, int y1, int x2, int y2) override;
    void SetFont(const FontSpec& font) override;
    void TextOut(int x, int y, QStringView text) override;
    void StretchPicture(const Picture& picture, int x1, int y1, int x2, int y2) override;

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// One recorded call. Every record carries the pen and font current at the call, so a test
// can look at a TextOut alone and know the face, height and escapement it was drawn with.
struct CanvasCall {
    enum class Kind { Pen, ClearBrush, Rectangle, Line, FocusRect, Font, Text, Picture };
    Kind What = Kind::Pen;
    PenSpec Pen;                        // current pen (for Kind::Pen: the pen just set)
    FontSpec Font;                      // current font (for Kind::Font: the font just set)
    int X1 = 0, Y1 = 0, X2 = 0, Y2 = 0; // Text: X1, Y1 is the point
    QString Text;
    QString PictureName;                 // Picture: Name() of the picture
    QSize PictureSize;                   // Picture: Size() of the picture
    const Picture* PictureRef = nullptr; // Picture: identity (valid while the caller keeps it)
};

class RecordingCanvas final : public Canvas {
public:
    void SetPen(const PenSpec& pen) override;
    void SetClearBrush() override;
    void Rectangle(int x1, int y1, int x2, int y2) override;
    void Line(int x1, int y1, int x2, int y2) override;
    void FocusRect(int x1, int y1, int x2, int y2) override;
    void SetFont(const FontSpec& font) override;
    void TextOut(int x, int y, QStringView text) override;
    void StretchPicture(const Picture& picture, int x1, int y1, int x2, int y2) override;

    const std::vector<CanvasCall>& Calls() const { return m_calls; }
    // The calls of one kind, in order.
    std::vector<CanvasCall> CallsOf(CanvasCall::Kind kind) const;
    void Clear() { m_calls.clear(); }

private:
    CanvasCall& Add(CanvasCall::Kind kind);
    std::vector<CanvasCall> m_calls;
    PenSpec m_pen;
    FontSpec m_font;
};

} // namespace ulvan
