#include "footer/MetafilePainter.h"

#include "footer/FooterPicture.h"
#include "footer/MetafileReader.h"
#include "sheet/Fonts.h"
#include "sheet/QtText.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainterPath>
#include <QTransform>

#include <cmath>
#include <span>

namespace ulvan {

static_assert(kMaxMetafileBitmapPixels == kMaxFooterPicturePixels, "the footer's picture limits");
static_assert(kMaxMetafileBitmapSide == kMaxFooterPictureSide, "the footer's picture limits");

namespace {

// Letters are shaped at this pixel size and scaled to the size the picture asks for.
constexpr int kDesignPixels = 256;
// The device pixels one picture may cover in all: this many times its own rectangle, plus a
// fixed amount for small targets. A picture that would cover more (a file of a million
// rectangles over the whole frame) stops there.
constexpr double kCoverLayers = 256;
constexpr double kCoverExtra = 64.0 * 1024 * 1024;
// How far beyond its rectangle a picture may draw (outlines on the edge stand half out).
constexpr double kTargetMargin = 1.0 / 16;
constexpr double kMmPerInch = 25.4;
constexpr double kScreenDpi = 96.0;

std::span<const std::uint8_t> Bytes(QByteArrayView bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.data()),
            static_cast<std::size_t>(bytes.size())};
}

QColor ToColor(std::uint32_t rgb) {
    return QColor(static_cast<int>(rgb >> 16 & 0xFF), static_cast<int>(rgb >> 8 & 0xFF),
                  static_cast<int>(rgb & 0xFF));
}

QPointF ToPoint(const MetafilePoint& point) {
    return {point.X, point.Y};
}

QPainterPath ToPainterPath(const MetafilePath& path, Qt::FillRule rule) {
    QPainterPath out;
    out.setFillRule(rule);
    std::size_t at = 0;
    for (const MetafilePath::Op op : path.Ops) {
        switch (op) {
        case MetafilePath::Op::MoveTo:
            out.moveTo(ToPoint(path.Points[at++]));
            break;
        case MetafilePath::Op::LineTo:
            out.lineTo(ToPoint(path.Points[at++]));
            break;
        case MetafilePath::Op::CubicTo:
            out.cubicTo(ToPoint(path.Points[at]), ToPoint(path.Points[at + 1]),
                        ToPoint(path.Points[at + 2]));
            at += 3;
            break;
        case MetafilePath::Op::Close:
            out.closeSubpath();
            break;
        }
    }
    return out;
}

Qt::BrushStyle HatchStyle(MetafileBrush::HatchKind hatch) {
    switch (hatch) {
    case MetafileBrush::HatchKind::Horizontal:
        return Qt::HorPattern;
    case MetafileBrush::HatchKind::Vertical:
        return Qt::VerPattern;
    case MetafileBrush::HatchKind::ForwardDiagonal:
        return Qt::FDiagPattern;
    case MetafileBrush::HatchKind::BackwardDiagonal:
        return Qt::BDiagPattern;
    case MetafileBrush::HatchKind::Cross:
        return Qt::CrossPattern;
    case MetafileBrush::HatchKind::DiagonalCross:
        return Qt::DiagCrossPattern;
    }
    return Qt::SolidPattern;
}

// Draws the reader's calls onto a painter already set to picture coordinates. The painter
// carries one saved state for the picture's clip, renewed at each clip change.
class PainterSink final : public MetafileSink {
public:
    // `device`: the rectangle the picture may draw in, in device pixels.
    PainterSink(QPainter& painter, double pixel, const QRectF& device)
        : m_painter(painter)
        , m_pixel(pixel)
        , m_device(device)
        , m_budget(kCoverLayers * device.width() * device.height() + kCoverExtra) {}

    bool Exhausted() const override { return m_budget < 0; }

    void DrawPath(const MetafilePath& path, const MetafilePen* pen, const MetafileBrush* brush,
                  MetafileFillRule rule) override {
        const QPainterPath shape = ToPainterPath(
            path, rule == MetafileFillRule::Winding ? Qt::WindingFill : Qt::OddEvenFill);
        const double penWidth = pen ? (pen->Width > 0 ? pen->Width : m_pixel) : 0.0;
        if (!Spend(shape.boundingRect().adjusted(-penWidth, -penWidth, penWidth, penWidth),
                   static_cast<double>(path.Points.size())))
            return;
        if (brush) {
            if (brush->Style == MetafileBrush::Fill::Hatched) {
                if (brush->OpaqueBackground)
                    m_painter.fillPath(shape, ToColor(brush->Background));
                m_painter.fillPath(shape, QBrush(ToColor(brush->Color), HatchStyle(brush->Hatch)));
            } else {
                m_painter.fillPath(shape, ToColor(brush->Color));
            }
        }
        if (pen)
            m_painter.strokePath(shape, ToPen(*pen));
    }

    void DrawText(const MetafileText& text) override {
        const bool vertical = text.Font.Face.starts_with(u'@');
        const QFont& font = FontFor(text.Font);
        const QFontMetricsF& metrics = *m_metrics;
        // Text units per design pixel.
        const double scale = text.Font.CellHeight
                                 ? text.Font.Height / std::max(metrics.height(), 1.0)
                                 : text.Font.Height / kDesignPixels;
        const QString string = ToQ(text.Text);
        double width = 0;
        if (!text.Positions.empty())
            width = text.Positions.back() / scale + metrics.horizontalAdvance(string.right(1));
        else
            width = metrics.horizontalAdvance(string);
        double x = 0, y = 0;
        if (text.Horizontal == MetafileText::HAlign::Right)
            x = -width;
        else if (text.Horizontal == MetafileText::HAlign::Center)
            x = -width / 2;
        if (text.Vertical == MetafileText::VAlign::Top)
            y = metrics.ascent();
        else if (text.Vertical == MetafileText::VAlign::Bottom)
            y = -metrics.descent();

        const QTransform axes(text.XAxis.X, text.XAxis.Y, text.YAxis.X, text.YAxis.Y, text.Origin.X,
                              text.Origin.Y);
        // What the letters cover, each in its own cell.
        const QTransform toPicture = QTransform::fromScale(scale, scale) * axes;
        const QRectF cell =
            toPicture.mapRect(QRectF(0, -metrics.ascent(), kDesignPixels, metrics.height()));
        if (!Spend(cell, static_cast<double>(string.size()) * 64,
                   static_cast<double>(string.size())))
            return;
        m_painter.save();
        m_painter.setTransform(QTransform::fromScale(scale, scale) * axes * m_painter.transform());
        m_painter.setFont(font);
        m_painter.setPen(ToColor(text.Color));
        if (text.Positions.empty() && !vertical) {
            m_painter.drawText(QPointF(x, y), string);
        } else {
            // Each character at its own place; in a vertical ("@") face the letters of
            // Japanese stand upright along a baseline that runs down the page.
            for (qsizetype i = 0; i < string.size(); ++i) {
                const qsizetype length =
                    string.at(i).isHighSurrogate() && i + 1 < string.size() ? 2 : 1;
                const QString letter = string.mid(i, length);
                const double at = text.Positions.empty()
                                      ? metrics.horizontalAdvance(string.left(i))
                                      : text.Positions[static_cast<std::size_t>(i)] / scale;
                if (vertical && letter.at(0).unicode() >= 0x2E80) {
                    // Turned back a quarter, centred in its cell on the baseline.
                    const double advance = metrics.horizontalAdvance(letter);
                    m_painter.save();
                    m_painter.translate(x + at + advance / 2,
                                        y + (metrics.descent() - metrics.ascent()) / 2);
                    m_painter.rotate(-90);
                    m_painter.drawText(
                        QPointF(-advance / 2, (metrics.ascent() - metrics.descent()) / 2), letter);
                    m_painter.restore();
                } else {
                    m_painter.drawText(QPointF(x + at, y), letter);
                }
                i += length - 1;
            }
        }
        m_painter.restore();
    }

    void DrawBitmap(const MetafileBitmap& bitmap) override {
        const QImage image(reinterpret_cast<const uchar*>(bitmap.Pixels.data()), bitmap.Width,
                           bitmap.Height, static_cast<qsizetype>(bitmap.Width) * 4,
                           QImage::Format_ARGB32);
        const double w = bitmap.Width, h = bitmap.Height;
        const QTransform place(
            (bitmap.TopRight.X - bitmap.TopLeft.X) / w, (bitmap.TopRight.Y - bitmap.TopLeft.Y) / w,
            (bitmap.BottomLeft.X - bitmap.TopLeft.X) / h,
            (bitmap.BottomLeft.Y - bitmap.TopLeft.Y) / h, bitmap.TopLeft.X, bitmap.TopLeft.Y);
        if (!Spend(place.mapRect(QRectF(0, 0, w, h)), w * h))
            return;
        m_painter.save();
        m_painter.setTransform(place * m_painter.transform());
        m_painter.setRenderHint(QPainter::SmoothPixmapTransform, bitmap.Smooth);
        m_painter.drawImage(QPointF(0, 0), image);
        m_painter.restore();
    }

    void SetClip(const std::vector<MetafileClipStep>& steps) override {
        m_painter.restore();
        m_painter.save();
        if (steps.empty())
            return;
        double points = 0;
        bool intersections = steps.front().Mode != MetafileClipStep::Combine::Exclude;
        for (std::size_t i = 0; i < steps.size(); ++i) {
            points += static_cast<double>(steps[i].Area.Points.size());
            intersections =
                intersections && (i == 0 || steps[i].Mode == MetafileClipStep::Combine::Intersect);
        }
        m_budget -= points * 16;
        if (intersections) {
            // The usual clip: areas intersected one after the other, which the painter does itself.
            for (const MetafileClipStep& step : steps)
                m_painter.setClipPath(ToPainterPath(step.Area, Qt::WindingFill), Qt::IntersectClip);
            return;
        }
        QPainterPath clip;
        bool first = true;
        for (const MetafileClipStep& step : steps) {
            const QPainterPath area = ToPainterPath(step.Area, Qt::WindingFill);
            if (first && step.Mode != MetafileClipStep::Combine::Exclude) {
                clip = area;
            } else if (first) {
                // Excluding from no clip: everything but the area, within a wide frame.
                QPainterPath all;
                all.addRect(area.boundingRect().adjusted(-1e6, -1e6, 1e6, 1e6));
                clip = all.subtracted(area);
            } else {
                switch (step.Mode) {
                case MetafileClipStep::Combine::Intersect:
                    clip = clip.intersected(area);
                    break;
                case MetafileClipStep::Combine::Unite:
                    clip = clip.united(area);
                    break;
                case MetafileClipStep::Combine::Exclude:
                    clip = clip.subtracted(area);
                    break;
                case MetafileClipStep::Combine::Xor:
                    clip = clip.united(area).subtracted(clip.intersected(area));
                    break;
                case MetafileClipStep::Combine::Replace:
                    clip = area;
                    break;
                }
            }
            first = false;
        }
        m_painter.setClipPath(clip, Qt::IntersectClip);
    }

private:
    // The font of `wanted` at the design size; the last one is kept, as a picture's texts mostly
    // share their font.
    const QFont& FontFor(const MetafileFont& wanted) {
        if (m_metrics && wanted.Face == m_lastFont.Face && wanted.Weight == m_lastFont.Weight &&
            wanted.Italic == m_lastFont.Italic && wanted.Underline == m_lastFont.Underline &&
            wanted.StrikeOut == m_lastFont.StrikeOut)
            return m_font;
        m_lastFont = wanted;
        m_font = QFont(ResolveFace(ToQ(wanted.Face)));
        m_font.setPixelSize(kDesignPixels);
        m_font.setWeight(static_cast<QFont::Weight>(
            std::clamp(wanted.Weight == 0 ? 400 : wanted.Weight, 1, 1000)));
        m_font.setItalic(wanted.Italic);
        m_font.setUnderline(wanted.Underline);
        m_font.setStrikeOut(wanted.StrikeOut);
        m_font.setHintingPreference(QFont::PreferNoHinting);
        m_metrics.emplace(m_font);
        return m_font;
    }

    QPen ToPen(const MetafilePen& pen) const {
        QPen out(ToColor(pen.Color));
        out.setWidthF(pen.Width > 0 ? pen.Width : m_pixel);
        switch (pen.Style) {
        case MetafilePen::Line::Dash:
            out.setStyle(Qt::DashLine);
            break;
        case MetafilePen::Line::Dot:
            out.setStyle(Qt::DotLine);
            break;
        case MetafilePen::Line::DashDot:
            out.setStyle(Qt::DashDotLine);
            break;
        case MetafilePen::Line::DashDotDot:
            out.setStyle(Qt::DashDotDotLine);
            break;
        default:
            break;
        }
        out.setCapStyle(pen.Cap == MetafilePen::CapStyle::Round    ? Qt::RoundCap
                        : pen.Cap == MetafilePen::CapStyle::Square ? Qt::SquareCap
                                                                   : Qt::FlatCap);
        out.setJoinStyle(pen.Join == MetafilePen::JoinStyle::Round   ? Qt::RoundJoin
                         : pen.Join == MetafilePen::JoinStyle::Bevel ? Qt::BevelJoin
                                                                     : Qt::MiterJoin);
        return out;
    }

    // Takes from the budget the device pixels `area` (picture coordinates) covers within the
    // picture's rectangle, `times` over, and `fixed`; false (nothing to draw) when that is more
    // than is left.
    bool Spend(const QRectF& area, double fixed, double times = 1) {
        const QRectF device = m_painter.transform().mapRect(area).intersected(m_device);
        m_budget -= fixed + times * std::max(device.width(), 0.0) * std::max(device.height(), 0.0);
        return m_budget >= 0;
    }

    QPainter& m_painter;
    double m_pixel; // one pixel of the picture at 96 dpi, in picture units
    QRectF m_device;
    double m_budget;
    MetafileFont m_lastFont;
    QFont m_font;
    std::optional<QFontMetricsF> m_metrics;
};

} // namespace

std::optional<MetafileHeader> ReadMetafileHeader(QByteArrayView bytes) {
    const std::optional<MetafileInfo> info = ReadMetafileInfo(Bytes(bytes));
    if (!info)
        return std::nullopt;
    MetafileHeader header;
    header.Kind = info->Format == MetafileFormat::Emf ? MetafileKind::Emf : MetafileKind::Wmf;
    header.Millimetres = QSizeF(info->WidthMm, info->HeightMm);
    const auto pixels = [](double mm) {
        return std::max(1, static_cast<int>(std::lround(mm / kMmPerInch * kScreenDpi)));
    };
    header.Pixels = QSize(pixels(info->WidthMm), pixels(info->HeightMm));
    return header;
}

bool PaintMetafile(QByteArrayView bytes, QPainter& painter, const QRectF& target) {
    const std::optional<MetafileInfo> info = ReadMetafileInfo(Bytes(bytes));
    if (!info || !target.isValid())
        return false;
    const double width = info->Right - info->Left, height = info->Bottom - info->Top;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QRectF bounds =
        target.adjusted(-target.width() * kTargetMargin, -target.height() * kTargetMargin,
                        target.width() * kTargetMargin, target.height() * kTargetMargin);
    painter.setClipRect(bounds, Qt::IntersectClip);
    const QRectF device = painter.transform().mapRect(bounds);
    painter.translate(target.topLeft());
    painter.scale(target.width() / width, target.height() / height);
    painter.translate(-info->Left, -info->Top);
    painter.save(); // the picture's clip lives in this state
    PainterSink sink(painter, width / (info->WidthMm / kMmPerInch * kScreenDpi), device);
    const bool played = PlayMetafile(Bytes(bytes), sink);
    painter.restore();
    painter.restore();
    return played;
}

} // namespace ulvan
