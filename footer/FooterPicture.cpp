#include "footer/FooterPicture.h"

#include "footer/MetafilePainter.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>
#include <QXmlStreamReader>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <vector>

namespace ulvan {

namespace {

constexpr std::int64_t kBytesPerPixel = 4;

bool WithinLimits(QSize size) {
    return size.isValid() && size.width() > 0 && size.height() > 0 &&
           size.width() <= kMaxFooterPictureSide && size.height() <= kMaxFooterPictureSide &&
           std::int64_t{size.width()} * size.height() <= kMaxFooterPicturePixels;
}

std::int64_t Bytes(QSize size) {
    return std::int64_t{size.width()} * size.height() * kBytesPerPixel;
}

enum class VectorFormat { Emf, Wmf, Svg };

std::optional<VectorFormat> VectorFormatOf(const QString& path) {
    const QString extension = QFileInfo(path).suffix().toLower();
    if (extension == u"emf") {
        return VectorFormat::Emf;
    }
    if (extension == u"wmf") {
        return VectorFormat::Wmf;
    }
    if (extension == u"svg") {
        return VectorFormat::Svg;
    }
    return std::nullopt;
}

// The format read for a file name's extension; empty for the kinds the footer cannot draw.
QByteArray RasterFormat(const QString& path) {
    const QString extension = QFileInfo(path).suffix().toLower();
    if (extension == u"bmp" || extension == u"ico" || extension == u"png") {
        return extension.toLatin1();
    }
    if (extension == u"tif" || extension == u"tiff") {
        return QByteArrayLiteral("tiff");
    }
    if (extension == u"jpg" || extension == u"jpeg") {
        return QByteArrayLiteral("jpeg");
    }
    return {};
}

// The size a picture of `own` pixels is decoded at to cover `drawn` pixels (taken before
// the turn, so that the turned result covers them): never larger than its own, at least one.
QSize DecodeSize(QSize own, QSize drawn, bool turned) {
    const int across = std::abs(turned ? drawn.height() : drawn.width());
    const int along = std::abs(turned ? drawn.width() : drawn.height());
    return {std::clamp(across, 1, own.width()), std::clamp(along, 1, own.height())};
}

class RasterSource final : public FooterPictureSource {
public:
    RasterSource(QString path, QByteArray format, QSize size)
        : m_path(std::move(path))
        , m_format(std::move(format))
        , m_size(size) {}

    QSize Size() const override { return m_size; }

    std::int64_t Cost(QSize drawn, bool turned) const override {
        // Reading the whole picture once, the decoded result and its turned copy.
        const QSize decoded = DecodeSize(m_size, drawn, turned);
        return Bytes(m_size) + Bytes(decoded) * (turned ? 2 : 1);
    }

    std::shared_ptr<const Picture> Prepare(QSize drawn, bool turned) override {
        QImageReader reader(m_path, m_format);
        reader.setDecideFormatFromContent(false);
        const QSize decoded = DecodeSize(m_size, drawn, turned);
        if (decoded != m_size) {
            reader.setScaledSize(decoded);
        }
        QImage image;
        if (!reader.read(&image) || image.isNull() || !WithinLimits(image.size())) {
            return nullptr;
        }
        if (turned) {
            image = TurnCounterClockwise(image);
            if (image.isNull()) {
                return nullptr;
            }
        }
        return std::make_shared<RasterPicture>(std::move(image), m_path);
    }

private:
    QString m_path;
    QByteArray m_format;
    QSize m_size;
};

// ---- vector pictures ------------------------------------------------------------------------

// Bytes the playback of a metafile may hold besides its file: the device context's object
// table, its saved states and the path being built, and one embedded bitmap at a time.
constexpr std::int64_t kMetafilePlaybackBytes = std::int64_t{4} * 1024 * 1024;
// Bytes a parsed drawing holds per element (its node, attributes and style).
constexpr std::int64_t kSvgBytesPerElement = 1024;

// The whole file, when it is a regular file no larger than the vector limit.
std::optional<QByteArray> ReadVectorFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const qint64 size = file.size();
    if (size <= 0 || size > kMaxFooterVectorFileBytes) {
        return std::nullopt;
    }
    // Exactly the size found (no buffer of the limit's size); a file that changed size
    // meanwhile is refused, not cut.
    QByteArray bytes = file.read(size);
    char more = 0;
    if (bytes.size() != size || file.read(&more, 1) != 0) {
        return std::nullopt;
    }
    return bytes;
}

// What the drawing's reader found, before the drawing is handed to Qt Svg.
struct SvgCheck {
    std::int64_t Elements = 0;
    std::int64_t ImageBytes = 0; // the embedded images, decoded
};

// One element as the check sees it: where it sits and what a <use> names.
struct SvgNode {
    std::vector<int> Children;
    QString UseTarget; // the id a <use> refers to, without the "#"
};

// Whether an embedded image (a data: URI) decodes within the picture limits; adds its
// decoded bytes.
bool EmbeddedImageFits(QStringView href, SvgCheck& check) {
    const qsizetype comma = href.indexOf(u',');
    if (comma < 0 || !href.left(comma).contains(u"base64")) {
        return false;
    }
    QByteArray data = QByteArray::fromBase64(href.mid(comma + 1).toLatin1());
    QBuffer buffer(&data);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (!WithinLimits(size)) {
        return false;
    }
    check.ImageBytes += Bytes(size);
    return true;
}

// The elements drawn once every <use> is followed, stopping past `limit`; nullopt when a
// <use> leads back to itself. Walked with a stack of its own: the nesting comes from the file.
std::optional<std::int64_t> DrawnElements(const std::vector<SvgNode>& nodes,
                                          const QHash<QString, int>& ids, std::int64_t limit) {
    enum : char { kNew, kOpen, kDone };
    std::vector<char> state(nodes.size(), kNew);
    std::vector<std::int64_t> drawn(nodes.size(), 0);
    const auto targetOf = [&](int node) {
        const auto it = ids.find(nodes[static_cast<std::size_t>(node)].UseTarget);
        return it == ids.end() ? -1 : it.value();
    };
    // Each entry: a node and the next of its successors (children, then a <use>'s target).
    std::vector<std::pair<int, std::size_t>> stack{{0, 0}};
    state[0] = kOpen;
    while (!stack.empty()) {
        auto& [node, next] = stack.back();
        const SvgNode& n = nodes[static_cast<std::size_t>(node)];
        const std::size_t successors = n.Children.size() + (n.UseTarget.isEmpty() ? 0 : 1);
        if (next < successors) {
            const int successor = next < n.Children.size() ? n.Children[next] : targetOf(node);
            ++next;
            if (successor < 0) {
                continue;
            }
            const auto s = static_cast<std::size_t>(successor);
            if (state[s] == kOpen) {
                return std::nullopt;
            }
            if (state[s] == kNew) {
                state[s] = kOpen;
                stack.emplace_back(successor, 0);
            }
            continue;
        }
        std::int64_t total = 1;
        for (const int child : n.Children) {
            total = std::min(limit + 1, total + drawn[static_cast<std::size_t>(child)]);
        }
        if (const int target = n.UseTarget.isEmpty() ? -1 : targetOf(node); target >= 0) {
            total = std::min(limit + 1, total + drawn[static_cast<std::size_t>(target)]);
        }
        drawn[static_cast<std::size_t>(node)] = total;
        state[static_cast<std::size_t>(node)] = kDone;
        stack.pop_back();
    }
    return drawn[0];
}

// Reads the drawing once as plain XML and refuses what Qt Svg should not be given: anything
// but well-formed XML (a compressed drawing among it), too many elements or too deep a
// nesting, a <use> that leads back to itself or multiplies the drawing past the limit, and an
// image that is not embedded (a file named by the drawing could be a pipe or a device) or
// that is larger than the picture limits.
std::optional<SvgCheck> CheckSvg(const QByteArray& bytes) {
    SvgCheck check;
    std::vector<SvgNode> nodes;
    QHash<QString, int> ids;
    std::vector<int> open;
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            open.pop_back();
            continue;
        }
        if (token != QXmlStreamReader::StartElement) {
            continue;
        }
        if (++check.Elements > kMaxFooterSvgElements ||
            open.size() >= static_cast<std::size_t>(kMaxFooterSvgDepth)) {
            return std::nullopt;
        }
        const int index = static_cast<int>(nodes.size());
        if (!open.empty()) {
            nodes[static_cast<std::size_t>(open.back())].Children.push_back(index);
        } else if (index != 0) {
            return std::nullopt;
        }
        nodes.emplace_back();
        open.push_back(index);
        const QXmlStreamAttributes attributes = xml.attributes();
        if (const QStringView id = attributes.value(QStringLiteral("id")); !id.isEmpty()) {
            ids.insert(id.toString(), index);
        }
        QStringView href = attributes.value(QStringLiteral("http://www.w3.org/1999/xlink"),
                                            QStringLiteral("href"));
        if (href.isEmpty()) {
            href = attributes.value(QStringLiteral("href"));
        }
        const QStringView name = xml.name();
        if (name == u"image") {
            if (!href.trimmed().startsWith(u"data:") || !EmbeddedImageFits(href.trimmed(), check)) {
                return std::nullopt;
            }
        } else if (name == u"use" && href.startsWith(u'#')) {
            nodes.back().UseTarget = href.mid(1).toString();
        }
    }
    if (xml.hasError() || nodes.empty()) {
        return std::nullopt;
    }
    const std::optional<std::int64_t> drawn = DrawnElements(nodes, ids, kMaxFooterSvgDrawnElements);
    if (!drawn || *drawn > kMaxFooterSvgDrawnElements) {
        return std::nullopt;
    }
    return check;
}

// Vector art read from one file, drawn stretched over a rectangle.
class VectorArt {
public:
    virtual ~VectorArt() = default;
    // False when the playback stopped before the end (what was drawn until then stays).
    virtual bool Play(QPainter& painter, const QRectF& target) const = 0;
};

class MetafileArt final : public VectorArt {
public:
    explicit MetafileArt(QByteArray bytes)
        : m_bytes(std::move(bytes)) {}
    bool Play(QPainter& painter, const QRectF& target) const override {
        return PaintMetafile(QByteArrayView(m_bytes), painter, target);
    }

private:
    QByteArray m_bytes;
};

class SvgArt final : public VectorArt {
public:
    explicit SvgArt(std::unique_ptr<QSvgRenderer> renderer)
        : m_renderer(std::move(renderer)) {}
    bool Play(QPainter& painter, const QRectF& target) const override {
        m_renderer->render(&painter, target);
        return true;
    }

private:
    std::unique_ptr<QSvgRenderer> m_renderer;
};

// The footer's vector picture: the art stretched over the rectangle it is given, played with
// the painter turned a quarter turn counter-clockwise when the picture stands turned on the
// page, exactly as a bitmap is turned there.
class FooterVectorPicture final : public VectorPicture {
public:
    FooterVectorPicture(std::shared_ptr<const VectorArt> art, bool turned, QSize nominal,
                        QString name, std::int64_t bytes)
        : VectorPicture(nominal, std::move(name))
        , m_art(std::move(art))
        , m_turned(turned)
        , m_bytes(bytes) {}

    void Paint(QPainter& painter, const QRectF& target) const override {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, true);
        // Nothing a file draws reaches past its frame.
        painter.setClipRect(target, Qt::IntersectClip);
        bool whole = true;
        if (!m_turned) {
            whole = m_art->Play(painter, target);
        } else {
            // The upright picture's point (u, v) lands on (left + v, bottom - u): its top
            // edge along the target's left side, its left edge along the bottom.
            painter.translate(target.left(), target.bottom());
            painter.rotate(-90);
            whole = m_art->Play(painter, QRectF(0, 0, target.height(), target.width()));
        }
        painter.restore();
        m_stoppedEarly = !whole;
    }
    bool StoppedEarly() const { return m_stoppedEarly; }
    std::int64_t HeldBytes() const override { return m_bytes; }

private:
    std::shared_ptr<const VectorArt> m_art;
    bool m_turned;
    std::int64_t m_bytes;
    mutable bool m_stoppedEarly = false; // the last painting's outcome
};

class VectorSource final : public FooterPictureSource {
public:
    // `renderer`: the drawing as parsed when it was opened, handed to the first preparation.
    VectorSource(QString path, VectorFormat format, QByteArray bytes, QSize size,
                 std::int64_t prepared, std::unique_ptr<QSvgRenderer> renderer)
        : m_path(std::move(path))
        , m_format(format)
        , m_bytes(std::move(bytes))
        , m_size(size)
        , m_prepared(prepared)
        , m_renderer(std::move(renderer)) {}

    QSize Size() const override { return m_size; }
    bool Scalable() const override { return true; }

    std::int64_t Cost(QSize, bool) const override {
        // The file held once, and what drawing it holds: the same at any size.
        return m_bytes.size() + m_prepared;
    }

    std::shared_ptr<const Picture> Prepare(QSize drawn, bool turned) override {
        std::shared_ptr<const VectorArt> art;
        if (m_format == VectorFormat::Svg) {
            std::unique_ptr<QSvgRenderer> renderer = std::move(m_renderer);
            if (!renderer) {
                renderer = std::make_unique<QSvgRenderer>();
                if (!renderer->load(m_bytes) || !renderer->isValid()) {
                    return nullptr;
                }
            }
            art = std::make_shared<SvgArt>(std::move(renderer));
        } else {
            art = std::make_shared<MetafileArt>(m_bytes);
        }
        // Named by its size as drawn, never larger than its own: the art itself is drawn at
        // the surface's resolution whatever this says.
        QSize nominal = DecodeSize(m_size, drawn, turned);
        if (turned) {
            nominal.transpose();
        }
        return std::make_shared<FooterVectorPicture>(std::move(art), turned, nominal, m_path,
                                                     Cost(drawn, turned));
    }

private:
    QString m_path;
    VectorFormat m_format;
    QByteArray m_bytes;
    QSize m_size;
    std::int64_t m_prepared;
    std::unique_ptr<QSvgRenderer> m_renderer;
};

std::unique_ptr<FooterPictureSource> OpenVectorPicture(const QString& path, VectorFormat format) {
    std::optional<QByteArray> bytes = ReadVectorFile(path);
    if (!bytes) {
        return nullptr;
    }
    if (format == VectorFormat::Svg) {
        const std::optional<SvgCheck> check = CheckSvg(*bytes);
        if (!check) {
            return nullptr;
        }
        auto renderer = std::make_unique<QSvgRenderer>();
        if (!renderer->load(*bytes) || !renderer->isValid()) {
            return nullptr;
        }
        QSize size = renderer->defaultSize();
        if (!WithinLimits(size)) {
            size = renderer->viewBoxF().size().toSize();
        }
        if (!WithinLimits(size)) {
            return nullptr;
        }
        const std::int64_t held = check->Elements * kSvgBytesPerElement + check->ImageBytes;
        return std::make_unique<VectorSource>(path, format, std::move(*bytes), size, held,
                                              std::move(renderer));
    }
    const std::optional<MetafileHeader> header = ReadMetafileHeader(QByteArrayView(*bytes));
    const MetafileKind wanted = format == VectorFormat::Emf ? MetafileKind::Emf : MetafileKind::Wmf;
    if (!header || header->Kind != wanted || !WithinLimits(header->Pixels)) {
        return nullptr;
    }
    const std::int64_t held = bytes->size() + kMetafilePlaybackBytes;
    return std::make_unique<VectorSource>(path, format, std::move(*bytes), header->Pixels, held,
                                          nullptr);
}

} // namespace

bool FooterPictureBudget::Take(std::int64_t bytes) {
    if (bytes < 0 || bytes > m_left) {
        return false;
    }
    m_left -= bytes;
    return true;
}

std::unique_ptr<FooterPictureSource> OpenFooterPicture(const QString& path) {
    // Only a regular file: reading a FIFO or a device would wait for data that may never come.
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        return nullptr;
    }
    if (const std::optional<VectorFormat> vector = VectorFormatOf(path)) {
        return OpenVectorPicture(path, *vector);
    }
    const QByteArray format = RasterFormat(path);
    if (format.isEmpty()) {
        return nullptr;
    }
    QImageReader reader(path, format);
    reader.setDecideFormatFromContent(false);
    const QSize size = reader.size();
    if (!WithinLimits(size)) {
        return nullptr;
    }
    return std::make_unique<RasterSource>(path, format, size);
}

QImage LoadFooterPicture(const QString& path) {
    const std::unique_ptr<FooterPictureSource> source = OpenFooterPicture(path);
    if (!source) {
        return {};
    }
    const std::shared_ptr<const Picture> picture = source->Prepare(source->Size(), false);
    if (picture == nullptr) {
        return {};
    }
    if (const auto* raster = dynamic_cast<const RasterPicture*>(picture.get())) {
        return raster->Image();
    }
    QImage image(source->Size(), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) {
        return {};
    }
    image.fill(Qt::white);
    QPainter painter(&image);
    picture->Paint(painter, QRectF(image.rect()));
    painter.end();
    return image;
}

QImage FooterPicturePreview(const QString& path, int side) {
    const std::unique_ptr<FooterPictureSource> source = OpenFooterPicture(path);
    if (!source || side < 1) {
        return {};
    }
    const QSize own = source->Size();
    // A bitmap is never enlarged; a vector picture is drawn as large as the square allows.
    const QSize fitted = own.width() <= side && own.height() <= side && !source->Scalable()
                             ? own
                             : own.scaled(side, side, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    FooterPictureBudget budget;
    if (!budget.Take(source->Cost(fitted, false))) {
        return {};
    }
    const std::shared_ptr<const Picture> picture = source->Prepare(fitted, false);
    if (!picture) {
        return {};
    }
    // Painted, whatever kind of picture it is, as the footer would paint it.
    QImage preview(fitted, QImage::Format_ARGB32_Premultiplied);
    if (preview.isNull()) {
        return {};
    }
    preview.fill(Qt::transparent);
    QPainter painter(&preview);
    picture->Paint(painter, QRectF(QPointF(0, 0), QSizeF(fitted)));
    painter.end();
    // A metafile that stops early prints with the load message: no preview either.
    return PaintStoppedEarly(*picture) ? QImage() : preview;
}

bool PaintStoppedEarly(const Picture& picture) {
    const auto* vector = dynamic_cast<const FooterVectorPicture*>(&picture);
    return vector != nullptr && vector->StoppedEarly();
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
