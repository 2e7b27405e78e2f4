#include "resources/OpenUnit.h"

#include "sheet/Fonts.h"
#include "ui/DialogSupport.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace ulvan {

namespace {

const QColor kWashi(0xf7, 0xf2, 0xe6);
const QColor kWashiDeep(0xec, 0xe3, 0xcf);
const QColor kGold(0xa8, 0x84, 0x3c);
const QColor kInk(0x3a, 0x22, 0x48);
const QColor kPetal(0xf3, 0xc6, 0xd3);
const QColor kPetalDeep(0xd9, 0x8a, 0xa6);
const QColor kLeaf(0x5e, 0x7d, 0x5a);

// One petal: a pointed leaf shape from the flower's base upwards, `length` long.
QPainterPath Petal(qreal length, qreal width) {
    QPainterPath path(QPointF(0.0, 0.0));
    path.cubicTo(QPointF(width, -length * 0.25), QPointF(width * 0.7, -length * 0.8),
                 QPointF(0.0, -length));
    path.cubicTo(QPointF(-width * 0.7, -length * 0.8), QPointF(-width, -length * 0.25),
                 QPointF(0.0, 0.0));
    return path;
}

} // namespace

void DrawLotusEmblem(QPainter& painter, const QRectF& box) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    // Designed in a 100 x 70 box with the flower's base at (50, 58).
    const qreal scale = std::min(box.width() / 100.0, box.height() / 70.0);
    painter.translate(box.center().x() - 50.0 * scale, box.center().y() - 35.0 * scale);
    painter.scale(scale, scale);
    painter.translate(50.0, 58.0);

    // The leaf the flower rests on.
    QPainterPath leaf;
    leaf.moveTo(-46.0, 2.0);
    leaf.quadTo(0.0, 16.0, 46.0, 2.0);
    leaf.quadTo(0.0, 8.0, -46.0, 2.0);
    painter.setPen(QPen(kLeaf.darker(130), 0.8));
    painter.setBrush(kLeaf);
    painter.drawPath(leaf);

    // Outer petals first, so that the middle ones lie on top.
    struct PetalSpec {
        qreal angle;
        qreal length;
        qreal width;
    };
    const PetalSpec petals[] = {{-72.0, 34.0, 10.0}, {72.0, 34.0, 10.0},  {-46.0, 44.0, 12.0},
                                {46.0, 44.0, 12.0},  {-22.0, 52.0, 13.0}, {22.0, 52.0, 13.0},
                                {0.0, 56.0, 14.0}};
    for (const PetalSpec& petal : petals) {
        painter.save();
        painter.rotate(petal.angle);
        QLinearGradient fill(QPointF(0.0, 0.0), QPointF(0.0, -petal.length));
        fill.setColorAt(0.0, kPetalDeep);
        fill.setColorAt(1.0, kPetal.lighter(106));
        painter.setPen(QPen(kPetalDeep.darker(135), 0.9));
        painter.setBrush(fill);
        painter.drawPath(Petal(petal.length, petal.width));
        painter.restore();
    }
    painter.restore();
}

QImage OpenPicture() {
    QImage image(kOpenPictureWidth, kOpenPictureHeight, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    QLinearGradient ground(QPointF(0.0, 0.0), QPointF(0.0, kOpenPictureHeight));
    ground.setColorAt(0.0, kWashi);
    ground.setColorAt(1.0, kWashiDeep);
    painter.fillRect(image.rect(), ground);

    // A double rule all round, as on a memorial sheet.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kGold, 2.0));
    painter.drawRect(QRectF(7.0, 7.0, kOpenPictureWidth - 14.0, kOpenPictureHeight - 14.0));
    painter.setPen(QPen(kGold, 0.8));
    painter.drawRect(QRectF(12.5, 12.5, kOpenPictureWidth - 25.0, kOpenPictureHeight - 25.0));

    DrawLotusEmblem(painter, QRectF(80.0, 28.0, 140.0, 98.0));

    QFont title(ResolveFace(QStringLiteral("ＭＳ Ｐ明朝")));
    title.setPixelSize(44);
    title.setWeight(QFont::DemiBold);
    painter.setFont(title);
    painter.setPen(kInk);
    painter.drawText(QRectF(0.0, 132.0, kOpenPictureWidth, 56.0), Qt::AlignCenter,
                     QStringLiteral("Ulvan表"));

    painter.setPen(QPen(kGold, 1.0));
    painter.drawLine(QPointF(90.0, 194.5), QPointF(210.0, 194.5));

    QFont version(ResolveFace(QStringLiteral("ＭＳ Ｐ明朝")));
    version.setPixelSize(14);
    painter.setFont(version);
    painter.setPen(kInk);
    painter.drawText(QRectF(0.0, 202.0, kOpenPictureWidth, 22.0), Qt::AlignCenter,
                     QStringLiteral("Version 3.1"));
    painter.end();
    return image;
}

QIcon ApplicationIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64}) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(QPen(kGold, size >= 32 ? 1.5 : 1.0));
        painter.setBrush(kWashi);
        painter.drawRoundedRect(QRectF(0.5, 0.5, size - 1.0, size - 1.0), size / 6.0, size / 6.0);
        const qreal inset = size / 10.0;
        DrawLotusEmblem(painter, QRectF(inset, inset, size - 2 * inset, size - 2 * inset));
        painter.end();
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

TOpenForm::TOpenForm(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_picture(OpenPicture()) {
    setObjectName(QStringLiteral("OpenForm"));
    setFixedSize(kOpenPictureWidth, kOpenPictureHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TOpenForm::ShowNow() {
    show();
    CentreOnScreen(this);
    repaint();
}

void TOpenForm::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.drawImage(0, 0, m_picture);
}

} // namespace ulvan
