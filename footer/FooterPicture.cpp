#include "footer/FooterPicture.h"

#include <QByteArray>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

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
    const QByteArray format = RasterFormat(path);
    if (format.isEmpty()) {
        return nullptr; // metafiles and unknown kinds cannot be drawn here
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
    const auto* raster = dynamic_cast<const RasterPicture*>(picture.get());
    return raster != nullptr ? raster->Image() : QImage();
}

QImage FooterPicturePreview(const QString& path, int side) {
    const std::unique_ptr<FooterPictureSource> source = OpenFooterPicture(path);
    if (!source || side < 1) {
        return {};
    }
    const QSize own = source->Size();
    const QSize fitted = own.width() <= side && own.height() <= side
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
    return preview;
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
