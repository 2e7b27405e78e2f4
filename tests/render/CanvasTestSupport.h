// Shared by the canvas and footer tests: the GUI application that fonts and images need,
// and small pixel helpers.
#pragma once

#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QRect>

namespace ulvan::test {

// Creates the application once, on first use (the tests run offscreen).
inline void EnsureGuiApplication() {
    if (QCoreApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "render_tests";
        static char* argv[] = {name, nullptr};
        static QGuiApplication app(argc, argv);
    }
}

inline bool IsInk(QRgb pixel) {
    return qGray(pixel) < 128 && qAlpha(pixel) > 128;
}

// The smallest rectangle holding every dark pixel of `area`; null when there is none.
inline QRect InkBounds(const QImage& image, const QRect& area) {
    QRect bounds;
    const QRect clipped = area.intersected(image.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            if (IsInk(image.pixel(x, y))) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

inline QImage WhiteImage(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(255, 255, 255));
    return image;
}

} // namespace ulvan::test
