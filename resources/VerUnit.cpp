#include "resources/VerUnit.h"

#include "resources/OpenUnit.h"
#include "sheet/Fonts.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

#ifndef ULVAN_BUILD_VERSION
#define ULVAN_BUILD_VERSION "unknown"
#endif

namespace ulvan {

QString BuildVersionText() {
    return QStringLiteral("ビルド ") + QString::fromUtf8(ULVAN_BUILD_VERSION);
}

TVerForm::TVerForm(QWidget* parent)
    : CentredDialog(parent) {
    setObjectName(QStringLiteral("VerForm"));
    MakeFixedDialog(this, QStringLiteral("バージョン情報"), 300, 196);

    auto* panel = new QFrame(this);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setGeometry(8, 8, 284, 140);

    QPixmap emblem(96, 68);
    emblem.fill(Qt::transparent);
    {
        QPainter painter(&emblem);
        DrawLotusEmblem(painter, QRectF(0.0, 0.0, 96.0, 68.0));
    }
    Image1 = new QLabel(panel);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(emblem);
    Image1->setGeometry(12, 16, 96, 68);

    ProductName = new QLabel(QStringLiteral("Ulvan表"), panel);
    ProductName->setObjectName(QStringLiteral("ProductName"));
    ProductName->setFont(UiFont(QStringLiteral("ＭＳ Ｐ明朝"), 24));
    ProductName->setGeometry(120, 24, 156, 32);

    Version = new QLabel(QStringLiteral("Version 3.1"), panel);
    Version->setObjectName(QStringLiteral("Version"));
    Version->setGeometry(122, 64, 156, 18);

    BuildVersion = new QLabel(BuildVersionText(), panel);
    BuildVersion->setObjectName(QStringLiteral("BuildVersion"));
    BuildVersion->setGeometry(122, 82, 156, 16);
    BuildVersion->setFont(UiFont(ToQ(kGothicP), 11));

    auto* purpose = new QLabel(QStringLiteral("忌日・年回の日付計算と印刷"), panel);
    purpose->setGeometry(12, 104, 264, 18);
    purpose->setAlignment(Qt::AlignCenter);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry((300 - 75) / 2, 160, 75, 25);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    LicenseButton = new QPushButton(QStringLiteral("ライセンス"), this);
    LicenseButton->setObjectName(QStringLiteral("LicenseButton"));
    LicenseButton->setGeometry(8, 160, 90, 25);
    LicenseButton->setAutoDefault(false);
    connect(LicenseButton, &QPushButton::clicked, this, [this] {
        if (OnHelp) {
            OnHelp(QString::fromLatin1(kAboutHelpAnchor));
        }
    });
}

} // namespace ulvan
