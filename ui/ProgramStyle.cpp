#include "ui/ProgramStyle.h"

#include <QIcon>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QPolygonF>
#include <QTransform>
#include <QWidget>

namespace ulvan {

namespace {

// Two chevrons pointing right (or down, for a vertical bar), in the text colour.
QIcon ExtensionIcon(bool vertical, const QColor& colour) {
    constexpr int kSize = 16;
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing, true);
    if (vertical) {
        painter.setTransform(QTransform().translate(kSize, 0).rotate(90));
    }
    painter.setPen(QPen(colour, 1.5));
    for (const qreal left : {4.0, 9.0}) {
        painter.drawPolyline(
            QPolygonF({QPointF(left, 4.5), QPointF(left + 3.5, 8.0), QPointF(left, 11.5)}));
    }
    painter.end();
    return QIcon(pixmap);
}

} // namespace

ProgramStyle::ProgramStyle() = default;

QIcon ProgramStyle::standardIcon(StandardPixmap icon, const QStyleOption* option,
                                 const QWidget* widget) const {
    if (icon == SP_ToolBarHorizontalExtensionButton || icon == SP_ToolBarVerticalExtensionButton) {
        const QPalette palette = widget != nullptr ? widget->palette() : standardPalette();
        return ExtensionIcon(icon == SP_ToolBarVerticalExtensionButton,
                             palette.color(QPalette::WindowText));
    }
    return QProxyStyle::standardIcon(icon, option, widget);
}

} // namespace ulvan
