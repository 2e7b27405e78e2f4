// A small crest written as a bitmap, an enhanced metafile, a Windows metafile (placeable) and
// a drawing, shape for shape the same, so that the tests and benchmarks can check that every
// format lands in the same place the same way up. The metafiles are written record by record
// here (no file is copied from elsewhere); the writers also make the larger files of the
// benchmarks and the pictures of the README.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QPolygon>
#include <QSize>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace ulvan::test {

// One filled shape: its outline (closed, filled even-odd), its colour; shapes of one crest
// never overlap.
struct CrestShape {
    QPolygon Outline;
    QColor Colour = QColor(0, 0, 0);
};

struct Crest {
    QSize Size; // pixels at 96 dpi: the picture's own size
    std::vector<CrestShape> Shapes;
};

// Lopsided on purpose: a block at the top left, a bar along the bottom and a wedge at the top
// right tell at once whether a picture was turned or mirrored.
inline Crest LopsidedCrest() {
    Crest crest{QSize(192, 96), {}};
    crest.Shapes.push_back(
        {QPolygon({QPoint(0, 0), QPoint(64, 0), QPoint(64, 40), QPoint(0, 40)})});
    crest.Shapes.push_back(
        {QPolygon({QPoint(0, 76), QPoint(192, 76), QPoint(192, 96), QPoint(0, 96)})});
    crest.Shapes.push_back({QPolygon({QPoint(120, 8), QPoint(184, 8), QPoint(184, 56)})});
    return crest;
}

// A ring with a lattice in it, the kind of crest a temple prints: `side` pixels square, the
// ring in `steps` pieces (a crest traced from a scan comes in many small pieces).
inline Crest LatticeCrest(int side = 384, QColor colour = QColor(0, 0, 0), int steps = 96) {
    Crest crest{QSize(side, side), {}};
    const double c = side / 2.0;
    const auto circle = [c](double radius, int corners, double from) {
        QPolygon polygon;
        for (int i = 0; i < corners; ++i) {
            const double a = from + 2 * std::numbers::pi * i / corners;
            polygon << QPoint(static_cast<int>(std::lround(c + radius * std::cos(a))),
                              static_cast<int>(std::lround(c + radius * std::sin(a))));
        }
        return polygon;
    };
    // The ring: in `steps` quadrilaterals (no shape with a hole), or, with steps = 0, as one
    // outline running round the outer circle and then the inner one, filled even-odd.
    const int corners = steps > 0 ? steps : 720;
    const QPolygon outer = circle(c - 2, corners, 0);
    const QPolygon inner = circle(c * 0.82, corners, 0);
    if (steps > 0) {
        for (int i = 0; i < steps; ++i) {
            const int j = (i + 1) % steps;
            crest.Shapes.push_back({QPolygon({outer[i], outer[j], inner[j], inner[i]}), colour});
        }
    } else {
        QPolygon ring = outer;
        ring << outer[0] << inner[0];
        for (const QPoint& p : inner) {
            ring << p;
        }
        ring << inner[0];
        crest.Shapes.push_back({ring, colour});
    }
    // The lattice: two upright and two lying bars, each a rectangle.
    const int bar = side / 14;
    const int near = static_cast<int>(c - side * 0.14);
    const int far = static_cast<int>(c + side * 0.14);
    const int from = static_cast<int>(c - side * 0.3);
    const int to = static_cast<int>(c + side * 0.3);
    for (const int at : {near, far}) {
        crest.Shapes.push_back({QPolygon({QPoint(at - bar / 2, from), QPoint(at + bar / 2, from),
                                          QPoint(at + bar / 2, to), QPoint(at - bar / 2, to)}),
                                colour});
        crest.Shapes.push_back(
            {QPolygon({QPoint(from, at - bar / 2), QPoint(near - bar / 2, at - bar / 2),
                       QPoint(near - bar / 2, at + bar / 2), QPoint(from, at + bar / 2)}),
             colour});
        crest.Shapes.push_back(
            {QPolygon({QPoint(near + bar / 2, at - bar / 2), QPoint(far - bar / 2, at - bar / 2),
                       QPoint(far - bar / 2, at + bar / 2), QPoint(near + bar / 2, at + bar / 2)}),
             colour});
        crest.Shapes.push_back(
            {QPolygon({QPoint(far + bar / 2, at - bar / 2), QPoint(to, at - bar / 2),
                       QPoint(to, at + bar / 2), QPoint(far + bar / 2, at + bar / 2)}),
             colour});
    }
    return crest;
}

// A square seal: a thick frame and a grid of cells inside, `side` pixels square.
inline Crest SealCrest(int side = 256, QColor colour = QColor(190, 20, 20)) {
    Crest crest{QSize(side, side), {}};
    const int edge = side / 12;
    const auto rect = [&](int x1, int y1, int x2, int y2) {
        crest.Shapes.push_back(
            {QPolygon({QPoint(x1, y1), QPoint(x2, y1), QPoint(x2, y2), QPoint(x1, y2)}), colour});
    };
    rect(0, 0, side, edge);
    rect(0, side - edge, side, side);
    rect(0, edge, edge, side - edge);
    rect(side - edge, edge, side, side - edge);
    const int cell = (side - 2 * edge) / 4;
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            if ((row + col) % 2 == 0) {
                const int x = edge + col * cell + cell / 5;
                const int y = edge + row * cell + cell / 5;
                rect(x, y, x + cell * 3 / 5, y + cell * 3 / 5);
            }
        }
    }
    return crest;
}

// ---- the bitmap -----------------------------------------------------------------------------

inline QImage CrestImage(const Crest& crest) {
    QImage image(crest.Size, QImage::Format_RGB32);
    image.fill(QColor(255, 255, 255));
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    for (const CrestShape& shape : crest.Shapes) {
        painter.setBrush(shape.Colour);
        painter.drawPolygon(shape.Outline);
    }
    painter.end();
    return image;
}

// ---- the drawing ----------------------------------------------------------------------------

inline QByteArray CrestSvg(const Crest& crest) {
    QByteArray svg = "<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                     QByteArray::number(crest.Size.width()) + "\" height=\"" +
                     QByteArray::number(crest.Size.height()) + "\" viewBox=\"0 0 " +
                     QByteArray::number(crest.Size.width()) + ' ' +
                     QByteArray::number(crest.Size.height()) + "\">\n";
    for (const CrestShape& shape : crest.Shapes) {
        svg += "<path fill-rule=\"evenodd\" fill=\"" + shape.Colour.name().toLatin1() + "\" d=\"M";
        for (const QPoint& p : shape.Outline) {
            svg += ' ' + QByteArray::number(p.x()) + ' ' + QByteArray::number(p.y());
        }
        svg += " Z\"/>\n";
    }
    svg += "</svg>\n";
    return svg;
}

// ---- little-endian record writing -----------------------------------------------------------

class LittleEndian {
public:
    void U16(std::uint32_t v) {
        Bytes.append(static_cast<char>(v & 0xFF));
        Bytes.append(static_cast<char>((v >> 8) & 0xFF));
    }
    void U32(std::uint32_t v) {
        U16(v & 0xFFFF);
        U16(v >> 16);
    }
    void I16(int v) { U16(static_cast<std::uint32_t>(static_cast<std::uint16_t>(v))); }
    void I32(int v) { U32(static_cast<std::uint32_t>(v)); }
    void PutU32(qsizetype at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            Bytes[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
        }
    }
    QByteArray Bytes;
};

inline std::uint32_t ColorRef(QColor c) {
    return static_cast<std::uint32_t>(c.red()) | (static_cast<std::uint32_t>(c.green()) << 8) |
           (static_cast<std::uint32_t>(c.blue()) << 16);
}

// ---- the enhanced metafile ------------------------------------------------------------------

// Enhanced metafile records the crest needs.
enum : std::uint32_t {
    kEmrHeader = 1,
    kEmrEof = 14,
    kEmrSelectObject = 37,
    kEmrCreateBrushIndirect = 39,
    kEmrDeleteObject = 40,
    kEmrPolygon16 = 86,
    kEmfNullPen = 0x80000008,
};

// The crest as an enhanced metafile at 96 dpi, one brush per shape (so a crest of n shapes is
// 2 + 4 n records). `repeat` draws the whole crest that many times (the benchmark's files).
inline QByteArray CrestEmf(const Crest& crest, int repeat = 1) {
    LittleEndian out;
    const int w = crest.Size.width();
    const int h = crest.Size.height();
    // Header: bounds in device pixels, frame in 0.01 mm, a 96 dpi reference device.
    out.U32(kEmrHeader);
    out.U32(108);
    for (const int v : {0, 0, w - 1, h - 1}) {
        out.I32(v);
    }
    for (const int v : {0, 0, static_cast<int>(std::lround(w * 2540.0 / 96)),
                        static_cast<int>(std::lround(h * 2540.0 / 96))}) {
        out.I32(v);
    }
    out.U32(0x464D4520); // " EMF"
    out.U32(0x10000);
    out.U32(0); // bytes: filled in at the end
    out.U32(0); // records: filled in at the end
    out.U16(2); // handles: the stock table's zero and one brush
    out.U16(0);
    out.U32(0); // no description
    out.U32(0);
    out.U32(0); // no palette
    out.I32(960);
    out.I32(960);
    out.I32(254);
    out.I32(254);
    out.U32(0);
    out.U32(0);
    out.U32(0);
    out.U32(254000);
    out.U32(254000);
    std::uint32_t records = 1;
    const auto record = [&](std::uint32_t type, std::uint32_t size) {
        out.U32(type);
        out.U32(size);
        ++records;
    };
    record(kEmrSelectObject, 12);
    out.U32(kEmfNullPen);
    for (int r = 0; r < repeat; ++r) {
        for (const CrestShape& shape : crest.Shapes) {
            record(kEmrCreateBrushIndirect, 24);
            out.U32(1);
            out.U32(0); // BS_SOLID
            out.U32(ColorRef(shape.Colour));
            out.U32(0);
            record(kEmrSelectObject, 12);
            out.U32(1);
            const QRect b = shape.Outline.boundingRect();
            record(kEmrPolygon16, static_cast<std::uint32_t>(28 + 4 * shape.Outline.size()));
            for (const int v : {b.left(), b.top(), b.right(), b.bottom()}) {
                out.I32(v);
            }
            out.U32(static_cast<std::uint32_t>(shape.Outline.size()));
            for (const QPoint& p : shape.Outline) {
                out.I16(p.x());
                out.I16(p.y());
            }
            record(kEmrDeleteObject, 12);
            out.U32(1);
        }
    }
    record(kEmrEof, 20);
    out.U32(0);
    out.U32(16);
    out.U32(20);
    out.PutU32(48, static_cast<std::uint32_t>(out.Bytes.size()));
    out.PutU32(52, records);
    return out.Bytes;
}

// ---- the Windows metafile -------------------------------------------------------------------

enum : std::uint32_t {
    kMetaEof = 0x0000,
    kMetaSetWindowOrg = 0x020B,
    kMetaSetWindowExt = 0x020C,
    kMetaSelectObject = 0x012D,
    kMetaDeleteObject = 0x01F0,
    kMetaCreatePenIndirect = 0x02FA,
    kMetaCreateBrushIndirect = 0x02FC,
    kMetaPolygon = 0x0324,
};

// The crest as a Windows metafile: placeable at 96 units per inch, or without the placeable
// header (its size is then the window extent). `repeat` as for CrestEmf.
inline QByteArray CrestWmf(const Crest& crest, int repeat = 1, bool placeable = true) {
    LittleEndian out;
    const int w = crest.Size.width();
    const int h = crest.Size.height();
    if (placeable) {
        // Placeable header: key, handle, bounds, units per inch, reserved, checksum.
        out.U32(0x9AC6CDD7);
        out.U16(0);
        for (const int v : {0, 0, w, h}) {
            out.I16(v);
        }
        out.U16(96);
        out.U32(0);
        std::uint32_t sum = 0;
        for (int i = 0; i < 20; i += 2) {
            sum ^= static_cast<std::uint8_t>(out.Bytes[i]) |
                   (static_cast<std::uint32_t>(static_cast<std::uint8_t>(out.Bytes[i + 1])) << 8);
        }
        out.U16(sum);
    }
    // The metafile header: memory metafile, 9 words, version 3.
    const qsizetype header = out.Bytes.size();
    out.U16(1);
    out.U16(9);
    out.U16(0x0300);
    out.U32(0); // size in words: filled in at the end
    out.U16(2); // objects: one pen, one brush at a time
    out.U32(0); // largest record: filled in at the end
    out.U16(0);
    std::uint32_t largest = 0;
    const auto record = [&](std::uint32_t function, std::uint32_t words) {
        out.U32(words);
        out.U16(function);
        largest = std::max(largest, words);
    };
    record(kMetaSetWindowOrg, 5);
    out.I16(0);
    out.I16(0);
    record(kMetaSetWindowExt, 5);
    out.I16(h);
    out.I16(w);
    record(kMetaCreatePenIndirect, 8);
    out.U16(5); // PS_NULL
    out.I16(0);
    out.I16(0);
    out.U32(0);
    record(kMetaSelectObject, 4);
    out.U16(0);
    for (int r = 0; r < repeat; ++r) {
        for (const CrestShape& shape : crest.Shapes) {
            record(kMetaCreateBrushIndirect, 7);
            out.U16(0); // BS_SOLID
            out.U32(ColorRef(shape.Colour));
            out.U16(0);
            record(kMetaSelectObject, 4);
            out.U16(1);
            record(kMetaPolygon, static_cast<std::uint32_t>(4 + 2 * shape.Outline.size()));
            out.I16(static_cast<int>(shape.Outline.size()));
            for (const QPoint& p : shape.Outline) {
                out.I16(p.x());
                out.I16(p.y());
            }
            record(kMetaDeleteObject, 4);
            out.U16(1);
        }
    }
    record(kMetaEof, 3);
    out.PutU32(header + 6, static_cast<std::uint32_t>((out.Bytes.size() - header) / 2));
    out.PutU32(header + 12, largest);
    return out.Bytes;
}

} // namespace ulvan::test
