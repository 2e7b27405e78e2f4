// Footer pictures are files the user names: any bytes under any of the footer's extensions
// must give a picture within the limits or a refusal, never more memory than the budget
// allows, and never a picture larger than the size asked for.
#include "footer/FooterPicture.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr std::array<const char*, 10> kNames = {"p.bmp", "p.ico",  "p.png", "p.tif", "p.tiff",
                                                "p.jpg", "p.jpeg", "p.emf", "p.wmf", "p.svg"};

QTemporaryDir& Folder() {
    static int argc = 1;
    static char name[] = "fuzz_picture";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
    static QTemporaryDir dir;
    return dir;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 5) {
        return 0;
    }
    const QString path = Folder().filePath(QString::fromLatin1(kNames[data[0] % kNames.size()]));
    // The size the picture is drawn at (up to 1023 x 1023, possibly empty) and the turn.
    const QSize drawn((data[1] | (data[2] << 8)) & 0x3FF, (data[3] | (data[4] << 8)) & 0x3FF);
    const bool turned = (data[2] & 0x80) != 0;
    {
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            std::abort();
        }
        out.write(reinterpret_cast<const char*>(data + 5), static_cast<qint64>(size - 5));
    }
    const auto source = ulvan::OpenFooterPicture(path);
    QFile::remove(path);
    if (!source) {
        return 0;
    }
    const QSize own = source->Size();
    if (own.width() <= 0 || own.height() <= 0 || own.width() > ulvan::kMaxFooterPictureSide ||
        own.height() > ulvan::kMaxFooterPictureSide ||
        std::int64_t{own.width()} * own.height() > ulvan::kMaxFooterPicturePixels) {
        std::abort();
    }
    // A small budget, as the last pictures of a crowded drawing meet it.
    ulvan::FooterPictureBudget budget(std::int64_t{64} * 1024 * 1024);
    if (!budget.Take(source->Cost(drawn, turned))) {
        return 0;
    }
    const auto picture = source->Prepare(drawn, turned);
    if (picture) {
        const QSize got = picture->Size();
        const QSize limit = turned ? QSize(std::max(1, std::min(own.height(), drawn.width())),
                                           std::max(1, std::min(own.width(), drawn.height())))
                                   : QSize(std::max(1, std::min(own.width(), drawn.width())),
                                           std::max(1, std::min(own.height(), drawn.height())));
        if (got.width() > limit.width() || got.height() > limit.height() || got.isEmpty()) {
            std::abort();
        }
    }
    return 0;
}
