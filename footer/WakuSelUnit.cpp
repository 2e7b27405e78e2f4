#include "footer/WakuSelUnit.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace ulvan {

TWakuSelForm::TWakuSelForm(QWidget* parent)
    : CentredDialog(parent) {
    setObjectName(QStringLiteral("WakuSelForm"));
    MakeFixedDialog(this, QStringLiteral("挿入枠の選択"), 296, 168);

    QLabel* label = PlaceLabel(this, QStringLiteral("この枠に書き込みたいものを指定して下さい。"),
                               16, 12, QColor(Qt::blue), 17);
    label->setObjectName(QStringLiteral("Label1"));
    label->setWordWrap(true);
    label->setGeometry(16, 12, 264, 44);

    RadioGroup1 = new QGroupBox(this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioGroup1->setGeometry(16, 60, 264, 49);
    RadioGroup1Buttons = new QButtonGroup(this);
    const QStringList items{QStringLiteral("文字列"), QStringLiteral("ｸﾞﾗﾌｨｯｸﾌｧｲﾙ")};
    for (int i = 0; i < items.size(); ++i) {
        auto* radio = new QRadioButton(items[i], RadioGroup1);
        radio->setObjectName(QStringLiteral("RadioGroup1Item%1").arg(i));
        radio->setGeometry(12 + 128 * i, 16, 118, 21);
        RadioGroup1Buttons->addButton(radio, i);
    }
    RadioGroup1Buttons->button(0)->setChecked(true);

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(56, 124, 89, 25);
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(160, 124, 89, 25);
    Button2->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<FrameContentChoice> TWakuSelForm::Choose() {
    if (exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return RadioGroup1Buttons->checkedId() == 1 ? FrameContentChoice::Picture
                                                : FrameContentChoice::Text;
}

} // namespace ulvan
