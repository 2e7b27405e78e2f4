#include "sheet/SheetArt.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>

#include <array>
#include <cmath>

namespace ulvan {

namespace {

constexpr double kCanopyW = 320.0;
constexpr double kCanopyH = 220.0;
constexpr double kLotusW = 320.0;
constexpr double kLotusH = 180.0;
constexpr double kMid = 160.0;

// Line weights in nominal units: outlines, then details.
constexpr double kMain = 2.4;
constexpr double kFine = 1.4;

// Sets up the painter so that the nominal drawing area fills `target`; restores on exit.
class NominalFrame {
public:
    NominalFrame(QPainter& painter, const QRectF& target, double width, double height)
        : m_painter(painter) {
        m_painter.save();
        m_painter.setRenderHint(QPainter::Antialiasing, true);
        m_painter.translate(target.topLeft());
        m_painter.scale(target.width() / width, target.height() / height);
        m_painter.setBrush(Qt::NoBrush);
    }
    ~NominalFrame() { m_painter.restore(); }
    NominalFrame(const NominalFrame&) = delete;
    NominalFrame& operator=(const NominalFrame&) = delete;

private:
    QPainter& m_painter;
};

QPen Line(double width) {
    QPen pen(QColor(0, 0, 0));
    pen.setWidthF(width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

// The path and its mirror image about the vertical centre line.
QPainterPath Mirrored(const QPainterPath& half) {
    QTransform mirror;
    mirror.translate(2 * kMid, 0);
    mirror.scale(-1, 1);
    QPainterPath both = half;
    both.addPath(mirror.map(half));
    return both;
}

// Stroked with a white inside so that whatever lies behind is hidden.
void Solid(QPainter& painter, const QPainterPath& path, double width) {
    painter.setPen(Line(width));
    painter.setBrush(QColor(255, 255, 255));
    painter.drawPath(path);
    painter.setBrush(Qt::NoBrush);
}

void Stroke(QPainter& painter, const QPainterPath& path, double width) {
    painter.setPen(Line(width));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
}

void Bead(QPainterPath& path, double x, double y, double r) {
    path.addEllipse(QPointF(x, y), r, r);
}

// A strand of beads hanging from (x, top) with a small bell-shaped tassel at its end.
void Strand(QPainterPath& path, double x, double top, int beads) {
    double y = top + 4.0;
    for (int i = 0; i < beads; ++i) {
        Bead(path, x, y, 2.6);
        y += 7.0;
    }
    path.moveTo(x, y - 3.0);
    path.cubicTo(x - 5.5, y + 2.0, x - 6.0, y + 9.0, x - 6.0, y + 12.0);
    path.lineTo(x + 6.0, y + 12.0);
    path.cubicTo(x + 6.0, y + 9.0, x + 5.5, y + 2.0, x, y - 3.0);
    for (int i = -2; i <= 2; ++i) {
        path.moveTo(x + 2.4 * i, y + 12.0);
        path.lineTo(x + 2.8 * i, y + 20.0);
    }
}

// A garland of beads sagging between two points.
void Garland(QPainterPath& path, double x1, double x2, double y, double sag) {
    constexpr int kBeads = 7;
    for (int i = 0; i <= kBeads; ++i) {
        const double t = static_cast<double>(i) / kBeads;
        const double x = x1 + (x2 - x1) * t;
        const double dy = 4.0 * sag * t * (1.0 - t);
        Bead(path, x, y + dy, 1.9);
    }
}

// An upward petal: base from (cx - w/2, base) to (cx + w/2, base), tip at (cx + lean, tip).
QPainterPath Petal(double cx, double base, double w, double tip, double lean) {
    const double half = w / 2.0;
    const double tipX = cx + lean;
    const double height = base - tip;
    QPainterPath p;
    p.moveTo(cx - half, base);
    p.cubicTo(cx - half - 0.18 * w, base - 0.55 * height, tipX - 0.22 * w, tip + 0.22 * height,
              tipX, tip);
    p.cubicTo(tipX + 0.22 * w, tip + 0.22 * height, cx + half + 0.18 * w, base - 0.55 * height,
              cx + half, base);
    p.closeSubpath();
    return p;
}

QPainterPath PetalVein(double cx, double base, double w, double tip, double lean) {
    const double height = base - tip;
    QPainterPath p;
    p.moveTo(cx + 0.1 * lean, base - 0.06 * height);
    p.quadTo(cx + 0.6 * lean, base - 0.5 * height, cx + 0.92 * lean, tip + 0.2 * height);
    (void)w;
    return p;
}

} // namespace

void CachedLineArt::Paint(QPainter& painter, const QRectF& target) const {
    QPaintEngine* engine = painter.paintEngine();
    const bool raster = engine != nullptr && engine->type() == QPaintEngine::Raster &&
                        painter.transform().type() <= QTransform::TxTranslate;
    const QSize size = target.size().toSize();
    if (!raster || size.isEmpty() || target.size() != QSizeF(size)) {
        Draw(painter, target);
        return;
    }
    const qreal ratio = painter.device()->devicePixelRatioF();
    const QSize pixels = (QSizeF(size) * ratio).toSize();
    std::lock_guard lock(m_mutex);
    if (m_cache.size() != pixels || m_cache.devicePixelRatio() != ratio) {
        QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::transparent);
        QPainter art(&image);
        Draw(art, QRectF(QPointF(0, 0), QSizeF(size)));
        art.end();
        m_cache = std::move(image);
    }
    painter.drawImage(target.topLeft(), m_cache);
}

CanopyPicture::CanopyPicture()
    : CachedLineArt(QSize(320, 220), QStringLiteral("canopy")) {}

void CanopyPicture::Draw(QPainter& painter, const QRectF& target) const {
    NominalFrame frame(painter, target, kCanopyW, kCanopyH);

    // Flaming jewel on its small lotus cup at the crown.
    QPainterPath jewel;
    jewel.moveTo(kMid, 4);
    jewel.cubicTo(kMid + 4, 12, kMid + 13, 17, kMid + 12, 27);
    jewel.cubicTo(kMid + 11, 34, kMid + 5, 37, kMid, 37);
    jewel.cubicTo(kMid - 5, 37, kMid - 11, 34, kMid - 12, 27);
    jewel.cubicTo(kMid - 13, 17, kMid - 4, 12, kMid, 4);
    Solid(painter, jewel, kMain);
    QPainterPath flame;
    flame.moveTo(kMid, 14);
    flame.cubicTo(kMid + 6, 20, kMid + 6, 28, kMid, 31);
    flame.cubicTo(kMid - 6, 28, kMid - 6, 20, kMid, 14);
    Stroke(painter, flame, kFine);
    QPainterPath cup;
    cup.moveTo(kMid - 18, 37);
    cup.quadTo(kMid, 50, kMid + 18, 37);
    cup.moveTo(kMid - 9, 38);
    cup.quadTo(kMid - 6, 44, kMid, 45);
    cup.quadTo(kMid + 6, 44, kMid + 9, 38);
    Stroke(painter, cup, kFine);

    // Roof: a bell curve from the crown down to upturned eaves.
    QPainterPath roofHalf;
    roofHalf.moveTo(kMid, 46);
    roofHalf.cubicTo(kMid - 48, 50, kMid - 92, 66, kMid - 128, 78);
    roofHalf.quadTo(kMid - 140, 80, kMid - 146, 72); // upturned tip
    roofHalf.quadTo(kMid - 144, 82, kMid - 132, 86);
    roofHalf.lineTo(kMid, 86);
    QPainterPath roof = Mirrored(roofHalf);
    Solid(painter, roof, kMain);
    QPainterPath roofRibs;
    for (const double x : {40.0, 80.0, 120.0}) {
        const double t = x / 128.0;
        roofRibs.moveTo(kMid - x, 48 + 30 * t * t + 4);
        roofRibs.lineTo(kMid - x * 0.96, 85);
    }
    Stroke(painter, Mirrored(roofRibs), kFine);

    // Fascia band with a row of jewels.
    QPainterPath band;
    band.addRect(QRectF(34, 86, 252, 20));
    Solid(painter, band, kMain);
    QPainterPath jewels;
    for (int i = 0; i < 11; ++i) {
        const double x = 45.0 + 23.0 * i;
        jewels.addEllipse(QPointF(x, 96), 5.0, 5.0);
        jewels.addEllipse(QPointF(x, 96), 1.6, 1.6);
        if (i < 10) {
            jewels.moveTo(x + 11.5, 89);
            jewels.lineTo(x + 11.5, 103);
        }
    }
    Stroke(painter, jewels, kFine);

    // Scalloped valance under the band.
    QPainterPath valance;
    constexpr int kScallops = 9;
    constexpr double kScallopW = 252.0 / kScallops;
    valance.moveTo(34, 106);
    for (int i = 0; i < kScallops; ++i) {
        const double x = 34.0 + kScallopW * i;
        valance.cubicTo(x + 2, 122, x + kScallopW - 2, 122, x + kScallopW, 106);
    }
    Stroke(painter, valance, kMain);
    QPainterPath valanceInner;
    for (int i = 0; i < kScallops; ++i) {
        const double x = 34.0 + kScallopW * i;
        valanceInner.moveTo(x + 6, 107);
        valanceInner.cubicTo(x + 8, 115, x + kScallopW - 8, 115, x + kScallopW - 6, 107);
    }
    Stroke(painter, valanceInner, kFine);

    // Bead strands with tassels from the scallop points, longest at the corners, and
    // garlands between them.
    QPainterPath strands;
    const std::array<int, 10> beads{10, 6, 4, 3, 2, 2, 3, 4, 6, 10};
    for (int i = 0; i <= kScallops; ++i) {
        const double x = 34.0 + kScallopW * i;
        Strand(strands, x, 106, beads[static_cast<std::size_t>(i)]);
    }
    for (int i = 0; i < kScallops; ++i) {
        const double x = 34.0 + kScallopW * i;
        Garland(strands, x + 3, x + kScallopW - 3, 127, 10);
    }
    // Pendants from the eave tips.
    Strand(strands, 16, 76, 13);
    Strand(strands, kCanopyW - 16, 76, 13);
    Stroke(painter, strands, kFine);
}

LotusPicture::LotusPicture()
    : CachedLineArt(QSize(320, 180), QStringLiteral("lotus")) {}

void LotusPicture::Draw(QPainter& painter, const QRectF& target) const {
    NominalFrame frame(painter, target, kLotusW, kLotusH);

    // Tiered base, drawn from the back (bottom) up so each tier hides the one behind it.
    QPainterPath base3;
    base3.addRoundedRect(QRectF(44, 156, 232, 18), 4, 4);
    Solid(painter, base3, kMain);
    QPainterPath base2;
    base2.addRoundedRect(QRectF(70, 140, 180, 16), 4, 4);
    Solid(painter, base2, kMain);
    // Down-turned petals along the middle tier.
    QPainterPath downPetals;
    for (int i = 0; i < 9; ++i) {
        const double x = 74.0 + 19.5 * i;
        downPetals.moveTo(x, 142);
        downPetals.cubicTo(x + 2, 154, x + 17.5, 154, x + 19.5, 142);
    }
    Stroke(painter, downPetals, kFine);

    // Waist.
    QPainterPath waist;
    waist.moveTo(118, 112);
    waist.quadTo(132, 126, 124, 140);
    waist.lineTo(196, 140);
    waist.quadTo(188, 126, 202, 112);
    waist.closeSubpath();
    Solid(painter, waist, kMain);
    QPainterPath waistRing;
    waistRing.addRoundedRect(QRectF(120, 122, 80, 8), 3, 3);
    Solid(painter, waistRing, kFine);

    // Receptacle rim under the petals.
    QPainterPath rim;
    rim.moveTo(34, 98);
    rim.cubicTo(60, 118, 260, 118, 286, 98);
    rim.cubicTo(260, 106, 60, 106, 34, 98);
    rim.closeSubpath();
    Solid(painter, rim, kMain);

    // Back row of petals, peeking between the front ones.
    struct PetalSpec {
        double Cx, W, Tip, Lean;
    };
    const std::array<PetalSpec, 4> back{{
        {78, 50, 34, -10},
        {130, 54, 16, -4},
        {190, 54, 16, 4},
        {242, 50, 34, 10},
    }};
    for (const PetalSpec& p : back) {
        Solid(painter, Petal(p.Cx, 100, p.W, p.Tip, p.Lean), kMain);
    }
    // Front row.
    const std::array<PetalSpec, 5> front{{
        {50, 50, 52, -18},
        {104, 58, 30, -8},
        {160, 64, 14, 0},
        {216, 58, 30, 8},
        {270, 50, 52, 18},
    }};
    for (const PetalSpec& p : front) {
        Solid(painter, Petal(p.Cx, 102, p.W, p.Tip, p.Lean), kMain);
        Stroke(painter, PetalVein(p.Cx, 102, p.W, p.Tip, p.Lean), kFine);
    }
}

TurnedPicture::TurnedPicture(const Picture& upright)
    : m_upright(upright) {}

QString TurnedPicture::Name() const {
    return m_upright.Name();
}

QSize TurnedPicture::Size() const {
    return m_upright.Size().transposed();
}

void TurnedPicture::Paint(QPainter& painter, const QRectF& target) const {
    painter.save();
    // Upright (u, v) goes to (v, width - u): a quarter turn counter-clockwise into `target`.
    painter.translate(target.left(), target.bottom());
    painter.rotate(-90.0);
    m_upright.Paint(painter, QRectF(0, 0, target.height(), target.width()));
    painter.restore();
}

const Picture& CanopyArt() {
    static const CanopyPicture canopy;
    return canopy;
}

const Picture& LotusArt() {
    static const LotusPicture lotus;
    return lotus;
}

} // namespace ulvan
