#include "sheet/Canvas.h"

#include "sheet/Fonts.h"
#include "sheet/VerticalText.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHash>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

namespace ulvan {

// ---- pictures -------------------------------------------------------------------------------

std::int64_t Picture::HeldBytes() const {
    const QSize size = Size();
    return std::int64_t{std::max(0, size.width())} * std::max(0, size.height()) * 4;
}

RasterPicture::RasterPicture(QImage image, QString name)
    : m_image(std::move(image))
    , m_name(std::move(name)) {}

void RasterPicture::Paint(QPainter& painter, const QRectF& target) const {
    painter.drawImage(target, m_image, QRectF(m_image.rect()));
}

VectorPicture::VectorPicture(QSize nominalSize, QString name)
    : m_size(nominalSize)
    , m_name(std::move(name)) {}

// ---- recording ------------------------------------------------------------------------------

CanvasCall& RecordingCanvas::Add(CanvasCall::Kind kind) {
    CanvasCall& call = m_calls.emplace_back();
    call.What = kind;
    call.Pen = m_pen;
    call.Font = m_font;
    return call;
}

void RecordingCanvas::SetPen(const PenSpec& pen) {
    m_pen = pen;
    Add(CanvasCall::Kind::Pen);
}

void RecordingCanvas::SetClearBrush() {
    Add(CanvasCall::Kind::ClearBrush);
}

void RecordingCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    CanvasCall& call = Add(CanvasCall::Kind::Rectangle);
    call.X1 = x1, call.Y1 = y1, call.X2 = x2, call.Y2 = y2;
}

void RecordingCanvas::Line(int x1, int y1, int x2, int y2) {
    CanvasCall& call = Add(CanvasCall::Kind::Line);
    call.X1 = x1, call.Y1 = y1, call.X2 = x2, call.Y2 = y2;
}

void RecordingCanvas::FocusRect(int x1, int y1, int x2, int y2) {
    CanvasCall& call = Add(CanvasCall::Kind::FocusRect);
    call.X1 = x1, call.Y1 = y1, call.X2 = x2, call.Y2 = y2;
}

void RecordingCanvas::SetFont(const FontSpec& font) {
    m_font = font;
    Add(CanvasCall::Kind::Font);
}

void RecordingCanvas::TextOut(int x, int y, QStringView text) {
    CanvasCall& call = Add(CanvasCall::Kind::Text);
    call.X1 = x, call.Y1 = y;
    call.Text = text.toString();
}

void RecordingCanvas::StretchPicture(const Picture& picture, int x1, int y1, int x2, int y2) {
    CanvasCall& call = Add(CanvasCall::Kind::Picture);
    call.X1 = x1, call.Y1 = y1, call.X2 = x2, call.Y2 = y2;
    call.PictureName = picture.Name();
    call.PictureSize = picture.Size();
    call.PictureRef = &picture;
}

std::vector<CanvasCall> RecordingCanvas::CallsOf(CanvasCall::Kind kind) const {
    std::vector<CanvasCall> result;
    std::copy_if(m_calls.begin(), m_calls.end(), std::back_inserter(result),
                 [kind](const CanvasCall& call) { return call.What == kind; });
    return result;
}

// ---- painting -------------------------------------------------------------------------------

namespace {

// Far beyond any glyph a page needs, small enough that a hostile height cannot make the
// rasteriser work on absurd outlines.
constexpr double kMaxEmPixels = 65536;
// The height a font of cell height 0 gets, as on the original platform: 12 points.
constexpr double kDefaultPoints = 12;
// Top of the ideographic em box above the baseline, in ems, as Japanese faces draw it.
constexpr double kIdeographicAscent = 0.88;
// Extra stroke of a thickened glyph outline, in ems (the usual synthetic emboldening).
constexpr double kBoldStroke = 1.0 / 24;

bool HasBoldStyle(const QString& family) {
    static QHash<QString, bool> cache;
    const auto it = cache.constFind(family);
    if (it != cache.constEnd()) {
        return *it;
    }
    bool bold = false;
    for (const QString& style : QFontDatabase::styles(family)) {
        bold = bold || QFontDatabase::weight(family, style) >= QFont::DemiBold;
    }
    cache.insert(family, bold);
    return bold;
}

bool SupportsRasterOps(QPainter& painter) {
    const QPaintEngine* engine = painter.paintEngine();
    return engine != nullptr && engine->hasFeature(QPaintEngine::RasterOpModes);
}

// Cell height (ascent + descent) per pixel of em, for one family and weight. Measured once
// at a large size without hinting, where the metrics scale linearly.
double CellPerEm(const QString& family, int weight) {
    static QHash<QString, double> cache;
    const QString key = family + QLatin1Char('/') + QString::number(weight);
    const auto it = cache.constFind(key);
    if (it != cache.constEnd()) {
        return *it;
    }
    QFont probe(family);
    probe.setWeight(static_cast<QFont::Weight>(weight));
    probe.setHintingPreference(QFont::PreferNoHinting);
    probe.setPixelSize(1000);
    const QFontMetricsF metrics(probe);
    double ratio = metrics.height() / 1000.0;
    if (!(ratio > 0.2 && ratio < 5)) {
        ratio = 1; // a face with broken metrics: treat the em as the cell
    }
    cache.insert(key, ratio);
    return ratio;
}

} // namespace

struct QPainterCanvas::State {
    explicit State(QPainter& p)
        : Painter(p) {}

    QPainter& Painter;
    PenSpec Pen;
    FontSpec Font;
    QFont QtFont;
    std::optional<QFontMetricsF> Metrics;
    double CellHeight = 0; // the cell height actually in effect, device pixels
    double Em = 0;         // em size in device pixels
    QString LastFace;
    QString LastResolved;
    // Bold asked of a face without a bold style, on a raster surface: the glyph outlines are
    // thickened here, because the platform does so only for glyphs small enough for its
    // glyph cache, and bold would come and go with the size. Vector output (PDF, printers)
    // is thickened by the platform itself.
    bool ThickenOutlines = false;

    void DrawGlyphs(const QPointF& origin, const QString& text) {
        if (!ThickenOutlines) {
            Painter.drawText(origin, text);
            return;
        }
        QPainterPath path;
        path.addText(origin, Painter.font(), text);
        const bool antialiased = Painter.testRenderHint(QPainter::Antialiasing);
        Painter.setRenderHint(QPainter::Antialiasing, true);
        Painter.fillPath(path, QColor(0, 0, 0));
        Painter.strokePath(path, QPen(QColor(0, 0, 0), Em * kBoldStroke, Qt::SolidLine,
                                      Qt::RoundCap, Qt::RoundJoin));
        Painter.setRenderHint(QPainter::Antialiasing, antialiased);
    }

    void ApplyPen() {
        QPen pen(Pen.Colour);
        pen.setWidth(std::max(1, Pen.Width));
        pen.setStyle(Pen.Style == PenStyle::Dotted ? Qt::DotLine : Qt::SolidLine);
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::MiterJoin);
        Painter.setPen(pen);
        Painter.setBrush(Qt::NoBrush);
        Painter.setRenderHint(QPainter::Antialiasing, false);
        const bool xorMode = Pen.Mode == PenMode::Xor && SupportsRasterOps(Painter);
        Painter.setCompositionMode(xorMode ? QPainter::RasterOp_SourceXorDestination
                                           : QPainter::CompositionMode_SourceOver);
    }

    void ApplyInk() {
        Painter.setPen(QPen(QColor(0, 0, 0)));
        Painter.setBrush(Qt::NoBrush);
        Painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }

    QString Resolve(const QString& family) {
        if (family != LastFace || LastResolved.isEmpty()) {
            LastFace = family;
            LastResolved = ResolveFace(family);
        }
        return LastResolved;
    }

    void BuildFont() {
        const QPaintDevice* device = Painter.device();
        const double dpi =
            device != nullptr && device->logicalDpiY() > 0 ? device->logicalDpiY() : 96.0;
        const QString family = Resolve(Font.Family());
        const int weight = std::clamp(Font.Weight, 1, 1000);
        const double cellPerEm = CellPerEm(family, weight);
        double em = 0;
        if (Font.CellHeight > 0) {
            em = Font.CellHeight / cellPerEm;
        } else if (Font.CellHeight < 0) {
            em = -static_cast<double>(Font.CellHeight); // a character height, as the original
        } else {
            em = kDefaultPoints * dpi / 72.0 / cellPerEm;
        }
        em = std::clamp(em, 0.5, kMaxEmPixels);
        QtFont = QFont(family);
        QtFont.setWeight(static_cast<QFont::Weight>(weight));
        QtFont.setHintingPreference(QFont::PreferNoHinting);
        QtFont.setKerning(false);
        QtFont.setPointSizeF(em * 72.0 / dpi);
        Painter.setFont(QtFont);
        Metrics.emplace(Painter.font(), device);
        Em = em;
        CellHeight = Metrics->ascent() + Metrics->descent();
        const QPaintEngine* engine = Painter.paintEngine();
        ThickenOutlines = weight >= QFont::DemiBold && engine != nullptr &&
                          engine->type() == QPaintEngine::Raster && !HasBoldStyle(family);
    }
};

namespace {

// The next drawing hands the painter's whole state to the engine, not only what changed.
void SendWholeState(QPainter& painter) {
    if (QPaintEngine* engine = painter.paintEngine(); engine != nullptr && painter.isActive()) {
        engine->setDirty(QPaintEngine::AllDirty);
    }
}

} // namespace

void ResetPainterState(QPainter& painter) {
    painter.resetTransform();
    painter.setClipping(false);
    painter.setPen(QPen(QColor(0, 0, 0)));
    painter.setBrush(Qt::NoBrush);
    painter.setBrushOrigin(0, 0);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setOpacity(1.0);
    SendWholeState(painter);
}

QPainterCanvas::QPainterCanvas(QPainter& painter)
    : m_state(std::make_unique<State>(painter)) {
    // Whatever the engine kept from an earlier painter on the same device, this one's state
    // is what the drawing starts from.
    SendWholeState(painter);
    m_state->BuildFont();
}

QPainterCanvas::~QPainterCanvas() = default;

void QPainterCanvas::SetPen(const PenSpec& pen) {
    m_state->Pen = pen;
}

void QPainterCanvas::SetClearBrush() {
    m_state->Painter.setBrush(Qt::NoBrush);
}

void QPainterCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    if (x2 < x1) {
        std::swap(x1, x2);
    }
    if (y2 < y1) {
        std::swap(y1, y2);
    }
    if (x2 - x1 < 1 || y2 - y1 < 1) {
        return;
    }
    m_state->ApplyPen();
    // The outline runs through the first and the last pixel row and column inside the
    // corners, the right and bottom edges being exclusive; a wide pen is centred on it.
    const double w = std::max(1, m_state->Pen.Width);
    const double inset = 0.5;
    QRectF rect(x1 + inset, y1 + inset, x2 - x1 - 2 * inset, y2 - y1 - 2 * inset);
    if (static_cast<int>(w) % 2 == 0) {
        rect.translate(-0.5, -0.5);
    }
    m_state->Painter.drawRect(rect);
}

void QPainterCanvas::Line(int x1, int y1, int x2, int y2) {
    m_state->ApplyPen();
    m_state->Painter.drawLine(QPointF(x1 + 0.5, y1 + 0.5), QPointF(x2 + 0.5, y2 + 0.5));
}

void QPainterCanvas::FocusRect(int x1, int y1, int x2, int y2) {
    if (x2 < x1) {
        std::swap(x1, x2);
    }
    if (y2 < y1) {
        std::swap(y1, y2);
    }
    if (x2 - x1 < 1 || y2 - y1 < 1) {
        return;
    }
    QPainter& painter = m_state->Painter;
    QPen pen(QColor(255, 255, 255));
    pen.setWidth(1);
    pen.setStyle(Qt::DotLine);
    pen.setCapStyle(Qt::FlatCap);
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (SupportsRasterOps(painter)) {
        painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    } else {
        // Surfaces without pixel inversion (vector output) get a plain dotted outline.
        pen.setColor(QColor(0, 0, 0));
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(x1 + 0.5, y1 + 0.5, x2 - x1 - 1, y2 - y1 - 1));
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void QPainterCanvas::SetFont(const FontSpec& font) {
    m_state->Font = font;
    m_state->BuildFont();
}

void QPainterCanvas::TextOut(int x, int y, QStringView text) {
    if (text.isEmpty()) {
        return;
    }
    State& s = *m_state;
    QPainter& painter = s.Painter;
    s.ApplyInk();
    painter.setFont(s.QtFont);
    const QTransform base = painter.transform();
    // The text's own frame: origin at the cell's top-left corner, x along the baseline,
    // y towards the descent. Escapement turns it counter-clockwise on the device.
    QTransform frame;
    frame.translate(x, y);
    frame.rotate(-s.Font.Escapement / 10.0);
    const QFontMetricsF& metrics = *s.Metrics;
    const double ascent = metrics.ascent();

    if (!s.Font.IsVertical()) {
        painter.setTransform(frame * base);
        s.DrawGlyphs(QPointF(0, ascent), text.toString());
        painter.setTransform(base);
        return;
    }

    // Vertical writing: characters one by one along the baseline. Upright ones are turned a
    // quarter turn counter-clockwise in their cells, so that they stand once the baseline
    // points down the reading page; the others keep their horizontal form, lying along it.
    const double cell = s.CellHeight;
    double position = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype length =
            (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ? 2
                                                                                               : 1;
        const QString character = text.mid(i, length).toString();
        const char32_t code =
            length == 2 ? QChar::surrogateToUcs4(text[i], text[i + 1]) : text[i].unicode();
        i += length;
        const double advance = metrics.horizontalAdvance(character);
        const VerticalPlacement placement = VerticalPlacementOf(code);
        QTransform local;
        if (placement.Orientation == VerticalOrientation::Upright) {
            // The reading view of the cell: `cell` wide across the column, `advance` long
            // down it. The glyph's ideographic em box is centred across the column and
            // starts at the top of the cell.
            local.translate(position, cell);
            local.rotate(-90);
            local.translate((cell - advance) / 2 + placement.ShiftX * s.Em,
                            kIdeographicAscent * s.Em - ascent + placement.ShiftY * s.Em);
        }
        painter.setTransform(local * frame * base);
        painter.drawText(
            QPointF(placement.Orientation == VerticalOrientation::Upright ? 0 : position, ascent),
            character);
        position += advance;
    }
    painter.setTransform(base);
}

void QPainterCanvas::StretchPicture(const Picture& picture, int x1, int y1, int x2, int y2) {
    if (x2 <= x1 || y2 <= y1 || picture.Size().isEmpty()) {
        return;
    }
    QPainter& painter = m_state->Painter;
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.save();
    picture.Paint(painter, QRectF(x1, y1, x2 - x1, y2 - y1));
    painter.restore();
}

} // namespace ulvan
