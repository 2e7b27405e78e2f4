#include "footer/FooterRenderer.h"

#include "sheet/QtText.h"

#include <QFileInfo>
#include <QImageReader>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace ulvan {

namespace {

constexpr double kUnits = 10000.0;
// The footer strip on the sheet, as fractions of the sheet in the reading orientation.
constexpr double kStripWidth = 0.1448;
constexpr double kStripLeft = 0.0674;
constexpr double kStripHeight = 0.7619;
constexpr double kStripTop = 0.119;
// On the portrait page the strip's left edge lies at this fraction of the page height.
constexpr double kPageStripBottom = 0.7878;

// Canvas coordinates stay far inside the int range, so that differences of two of them
// never overflow whatever a hand-edited layout holds.
int Coord(std::int64_t value) {
    constexpr std::int64_t kLimit = std::int64_t{1} << 30;
    return static_cast<int>(std::clamp(value, -kLimit, kLimit));
}

struct FrameBox {
    // Editor and preview: the corners in the reading orientation.
    std::int64_t Lx = 0, Ty = 0, Rx = 0, By = 0;
    // Page: I and K are the page x of Top and Bottom, J and Ly the page y of Right and Left.
    std::int64_t I = 0, K = 0, J = 0, Ly = 0;
};

FrameBox MapBox(const FooterTarget& target, std::int32_t left, std::int32_t top, std::int32_t right,
                std::int32_t bottom) {
    const double W = target.Width;
    const double H = target.Height;
    FrameBox box;
    switch (target.Kind) {
    case FooterTargetKind::Editor: {
        const auto x = [W](std::int32_t u) { return RoundHalfEven(u / kUnits * W); };
        const auto y = [H](std::int32_t v) { return RoundHalfEven(v / kUnits * H); };
        box.Lx = x(left), box.Ty = y(top), box.Rx = x(right), box.By = y(bottom);
        break;
    }
    case FooterTargetKind::Preview: {
        const auto x = [W](std::int32_t u) {
            return RoundHalfEven((u / kUnits * kStripWidth + kStripLeft) * W);
        };
        const auto y = [H](std::int32_t v) {
            return RoundHalfEven((v / kUnits * kStripHeight + kStripTop) * H);
        };
        box.Lx = x(left), box.Ty = y(top), box.Rx = x(right), box.By = y(bottom);
        break;
    }
    case FooterTargetKind::Page: {
        const auto pageX = [W](std::int32_t v) {
            return RoundHalfEven((v / kUnits * kStripHeight + kStripTop) * W);
        };
        const auto pageY = [H](std::int32_t u) {
            return RoundHalfEven(((1 - u / kUnits) * kStripWidth + kPageStripBottom) * H);
        };
        box.I = pageX(top), box.K = pageX(bottom), box.J = pageY(right), box.Ly = pageY(left);
        break;
    }
    }
    return box;
}

struct TextMetrics {
    double h = 0;       // font height (editor, preview: not rounded)
    double s = 0;       // spacing
    std::int64_t N = 0; // page: font height
    std::int64_t O = 0; // page: spacing
};

TextMetrics MapText(const FooterTarget& target, std::int32_t fontHeight, std::int32_t spacing) {
    const double W = target.Width;
    const double H = target.Height;
    TextMetrics m;
    switch (target.Kind) {
    case FooterTargetKind::Editor:
        m.h = fontHeight / kUnits * W;
        m.s = spacing / kUnits * H;
        break;
    case FooterTargetKind::Preview:
        m.h = fontHeight / kUnits * kStripWidth * W;
        m.s = spacing / kUnits * kStripHeight * H;
        break;
    case FooterTargetKind::Page:
        m.N = RoundHalfEven(fontHeight / kUnits * kStripWidth * H);
        m.O = RoundHalfEven(spacing / kUnits * kStripHeight * W);
        break;
    }
    return m;
}

FontSpec MakeFont(const std::u16string& face, bool vertical, std::int64_t cellHeight, bool bold,
                  int escapement) {
    FontSpec font;
    font.Face = (vertical ? QStringLiteral("@") : QString()) + ToQ(face);
    font.CellHeight = Coord(cellHeight);
    font.Weight = bold ? 700 : 400;
    font.Escapement = escapement;
    return font;
}

// Saturating arithmetic for positions built from hand-editable numbers.
std::int64_t Mul(std::int64_t a, std::int64_t b) {
    std::int64_t r = 0;
    if (__builtin_mul_overflow(a, b, &r)) {
        return (a < 0) != (b < 0) ? std::numeric_limits<std::int64_t>::min()
                                  : std::numeric_limits<std::int64_t>::max();
    }
    return r;
}

std::int64_t Add(std::int64_t a, std::int64_t b) {
    std::int64_t r = 0;
    if (__builtin_add_overflow(a, b, &r)) {
        return b < 0 ? std::numeric_limits<std::int64_t>::min()
                     : std::numeric_limits<std::int64_t>::max();
    }
    return r;
}

const std::u16string_view kFullWidthHyphen = u"－";

void DrawVertical(Canvas& canvas, const FooterTarget& target, const FrameBox& box,
                  const TextMetrics& m, const std::u16string& face, bool bold,
                  std::u16string_view content) {
    const bool page = target.Kind == FooterTargetKind::Page;
    const std::int64_t cell = page ? m.N : RoundHalfEven(m.h);
    const int escapement = page ? 0 : 2700;
    const FontSpec vertical = MakeFont(face, true, cell, bold, escapement);
    const FontSpec plain = MakeFont(face, false, cell, bold, escapement);
    canvas.SetFont(vertical);
    bool verticalSelected = true;
    std::int64_t k = 1;
    for (const std::u16string_view character : FooterCharacters(content)) {
        // The vertical variant turns the full-width hyphen across the column; the plain
        // face lays it along the column, as a dash in vertical writing runs.
        const bool wantVertical = character != kFullWidthHyphen;
        if (wantVertical != verticalSelected) {
            canvas.SetFont(wantVertical ? vertical : plain);
            verticalSelected = wantVertical;
        }
        const double step = static_cast<double>(k - 1);
        std::int64_t x = 0;
        std::int64_t y = 0;
        switch (target.Kind) {
        case FooterTargetKind::Editor:
            x = box.Rx - 1;
            y = Add(box.Ty + 1, RoundHalfEven(step * m.h + step * m.s));
            break;
        case FooterTargetKind::Preview:
            x = box.Rx;
            y = Add(box.Ty, RoundHalfEven(step * m.h + step * m.s));
            break;
        case FooterTargetKind::Page:
            x = Add(Add(box.I, Mul(k - 1, Add(m.N, m.O))), -std::int64_t{target.OffsetX});
            y = box.J - target.OffsetY;
            break;
        }
        canvas.TextOut(Coord(x), Coord(y),
                       QStringView(character.data(), static_cast<qsizetype>(character.size())));
        ++k;
    }
}

void DrawHorizontal(Canvas& canvas, const FooterTarget& target, const FrameBox& box,
                    const TextMetrics& m, const std::u16string& face, bool bold,
                    std::u16string_view content) {
    const bool page = target.Kind == FooterTargetKind::Page;
    canvas.SetFont(MakeFont(face, false, page ? m.N : RoundHalfEven(m.h), bold, page ? 900 : 0));
    // k counts width units (a full-width character takes two, each half the font height
    // long), g counts glyphs (each step adds the spacing); both start afresh in every frame.
    std::int64_t k = 1;
    std::int64_t g = 1;
    for (const std::u16string_view character : FooterCharacters(content)) {
        const double units = static_cast<double>(k - 1);
        const double glyphs = static_cast<double>(g - 1);
        std::int64_t x = 0;
        std::int64_t y = 0;
        switch (target.Kind) {
        case FooterTargetKind::Editor:
            x = Add(box.Lx + 1, RoundHalfEven(m.h / 2 * units + glyphs * m.s));
            y = box.Ty + 1;
            break;
        case FooterTargetKind::Preview:
            x = Add(box.Lx, RoundHalfEven(m.h / 2 * units + glyphs * m.s));
            y = box.Ty;
            break;
        case FooterTargetKind::Page: {
            const double n = static_cast<double>(m.N);
            const double o = static_cast<double>(m.O);
            x = box.I - target.OffsetX;
            y = Add(Add(box.Ly, -RoundHalfEven(n / 2 * units + glyphs * o)),
                    -std::int64_t{target.OffsetY});
            break;
        }
        }
        canvas.TextOut(Coord(x), Coord(y),
                       QStringView(character.data(), static_cast<qsizetype>(character.size())));
        k += FooterUnitWidth(FooterCodePoint(character));
        ++g;
    }
}

void DrawPicture(Canvas& canvas, const FooterTarget& target, const FrameBox& box,
                 FooterLayout& layout, std::size_t frame, FooterDrawRequest& request) {
    const QString path = ToQ(layout.Field(frame, FooterField::Content));
    const QImage& image = request.Picture(path);
    if (image.isNull()) {
        request.Report(frame, kFooterLoadFailedMessage, BeepKind::Default);
        layout.SetField(frame, FooterField::Kind, std::u16string(kFooterUnreadable));
        return;
    }
    const bool fixed = layout.Field(frame, FooterField::Kind) == kFooterPictureFixed;
    if (target.Kind != FooterTargetKind::Page) {
        const double pw = image.width();
        const double ph = image.height();
        const auto bw = static_cast<double>(box.Rx - box.Lx - 2);
        const auto bh = static_cast<double>(box.By - box.Ty - 2);
        std::int64_t x1 = box.Lx + 1;
        std::int64_t y1 = box.Ty + 1;
        std::int64_t x2 = box.Rx - 1;
        std::int64_t y2 = box.By - 1;
        if (fixed) {
            if (bw / bh >= pw / ph) {
                x1 = box.Rx - 1 - RoundHalfEven(pw / ph * bh);
            } else {
                y2 = box.Ty + 1 + RoundHalfEven(ph / pw * bw);
            }
        }
        const RasterPicture picture(image, path);
        canvas.StretchPicture(picture, Coord(x1), Coord(y1), Coord(x2), Coord(y2));
        return;
    }
    const RasterPicture turned(TurnCounterClockwise(image), path);
    const double w2 = turned.Size().width();
    const double h2 = turned.Size().height();
    const auto bx = static_cast<double>(box.K - box.I - 2);
    const auto by = static_cast<double>(box.Ly - box.J - 2);
    std::int64_t width = static_cast<std::int64_t>(bx);
    std::int64_t height = static_cast<std::int64_t>(by);
    if (fixed) {
        if (bx / by >= w2 / h2) {
            width = RoundHalfEven(w2 / h2 * by);
        } else {
            height = RoundHalfEven(h2 / w2 * bx);
        }
    }
    const std::int64_t x = box.I + 1 - target.OffsetX;
    const std::int64_t y = box.J + 1 - target.OffsetY;
    canvas.StretchPicture(turned, Coord(x), Coord(y), Coord(Add(x, width)), Coord(Add(y, height)));
}

} // namespace

void FooterDrawRequest::Report(std::size_t frame, std::u16string_view text,
                               std::optional<BeepKind> beep) {
    if (!m_shown.emplace(frame, std::u16string(text)).second) {
        return;
    }
    if (m_messages == nullptr) {
        return;
    }
    if (beep) {
        m_messages->Beep(*beep);
    }
    m_messages->ShowMessage(text);
}

const QImage& FooterDrawRequest::Picture(const QString& path) {
    auto it = m_pictures.find(path);
    if (it == m_pictures.end()) {
        it = m_pictures.insert(path, LoadFooterPicture(path));
    }
    return *it;
}

void DrawFooter(Canvas& canvas, const FooterTarget& target, FooterLayout& layout,
                FooterDrawRequest& request) {
    for (std::size_t frame = 0; frame < layout.FrameCount(); ++frame) {
        DrawFooterFrame(canvas, target, layout, frame, request);
    }
}

void DrawFooterFrame(Canvas& canvas, const FooterTarget& target, FooterLayout& layout,
                     std::size_t frame, FooterDrawRequest& request) {
    if (frame >= layout.FrameCount()) {
        return;
    }
    const bool editor = target.Kind == FooterTargetKind::Editor;
    const auto left = FooterNumber(layout, frame, FooterField::Left);
    const auto top = FooterNumber(layout, frame, FooterField::Top);
    const auto right = FooterNumber(layout, frame, FooterField::Right);
    const auto bottom = FooterNumber(layout, frame, FooterField::Bottom);
    if (!left || !top || !right || !bottom) {
        // Without its rectangle the frame has no place: after telling the user, draw nothing.
        if (!editor) {
            request.Report(frame, kFooterIncompleteMessage);
        }
        return;
    }
    const FrameBox box = MapBox(target, *left, *top, *right, *bottom);
    if (editor) {
        canvas.FocusRect(Coord(box.Lx), Coord(box.Ty), Coord(box.Rx), Coord(box.By));
    }
    const std::u16string& kind = layout.Field(frame, FooterField::Kind);
    if (kind == kFooterUnreadable) {
        if (!editor) {
            request.Report(frame, kFooterUnreadableMessage);
        }
        return;
    }
    if (kind == kFooterVertical || kind == kFooterHorizontal) {
        auto fontHeight = FooterNumber(layout, frame, FooterField::FontHeight);
        auto spacing = FooterNumber(layout, frame, FooterField::Spacing);
        if (!fontHeight || !spacing) {
            if (editor) {
                return;
            }
            fontHeight = 0;
            spacing = 0;
        }
        const TextMetrics m = MapText(target, *fontHeight, *spacing);
        const std::u16string& face = layout.Field(frame, FooterField::FontFace);
        const bool bold = layout.Field(frame, FooterField::Bold) == kFooterBold;
        const std::u16string& content = layout.Field(frame, FooterField::Content);
        if (kind == kFooterVertical) {
            DrawVertical(canvas, target, box, m, face, bold, content);
        } else {
            DrawHorizontal(canvas, target, box, m, face, bold, content);
        }
        return;
    }
    if (kind == kFooterPictureFixed || kind == kFooterPictureStretch) {
        DrawPicture(canvas, target, box, layout, frame, request);
    }
}

QImage LoadFooterPicture(const QString& path) {
    const QString extension = QFileInfo(path).suffix().toLower();
    QByteArray format;
    if (extension == u"bmp" || extension == u"ico" || extension == u"png") {
        format = extension.toLatin1();
    } else if (extension == u"tif" || extension == u"tiff") {
        format = QByteArrayLiteral("tiff");
    } else if (extension == u"jpg" || extension == u"jpeg") {
        format = QByteArrayLiteral("jpeg");
    } else {
        return {}; // metafiles and unknown kinds cannot be drawn here
    }
    QImageReader reader(path, format);
    reader.setDecideFormatFromContent(false);
    const QSize size = reader.size();
    if (size.isValid() &&
        (size.width() > kMaxFooterPictureSide || size.height() > kMaxFooterPictureSide ||
         qint64{size.width()} * size.height() > kMaxFooterPicturePixels)) {
        return {};
    }
    QImage image;
    if (!reader.read(&image) || image.isNull() || image.width() > kMaxFooterPictureSide ||
        image.height() > kMaxFooterPictureSide ||
        qint64{image.width()} * image.height() > kMaxFooterPicturePixels) {
        return {};
    }
    return image;
}

QImage TurnCounterClockwise(const QImage& image) {
    if (image.isNull()) {
        return {};
    }
    const QImage source = image.convertToFormat(QImage::Format_ARGB32);
    const int pw = source.width();
    const int ph = source.height();
    QImage turned(ph, pw, QImage::Format_ARGB32);
    if (turned.isNull()) {
        return {};
    }
    const auto* from = reinterpret_cast<const QRgb*>(source.constBits());
    auto* to = reinterpret_cast<QRgb*>(turned.bits());
    const auto fromStride = static_cast<qsizetype>(source.bytesPerLine() / 4);
    const auto toStride = static_cast<qsizetype>(turned.bytesPerLine() / 4);
    // Square tiles keep both the reads and the strided writes in the cache.
    constexpr int kTile = 64;
    for (int y0 = 0; y0 < pw; y0 += kTile) {
        const int y1 = std::min(pw, y0 + kTile);
        for (int x0 = 0; x0 < ph; x0 += kTile) {
            const int x1 = std::min(ph, x0 + kTile);
            for (int y = y0; y < y1; ++y) {
                QRgb* row = to + y * toStride;
                const QRgb* column = from + (pw - 1 - y);
                for (int x = x0; x < x1; ++x) {
                    row[x] = column[x * fromStride];
                }
            }
        }
    }
    return turned;
}

} // namespace ulvan
