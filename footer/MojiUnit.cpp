#include "footer/MojiUnit.h"

#include "calendar/Messages.h"
#include "sheet/Fonts.h"
#include "ui/Interaction.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

namespace ulvan {

namespace {

void SetHint(QWidget* widget, const QString& hint) {
    widget->setToolTip(hint);
    widget->setStatusTip(hint);
}

} // namespace

TMojiForm::TMojiForm(Interaction& interaction, QWidget* parent)
    : CentredDialog(parent)
    , m_interaction(interaction) {
    setObjectName(QStringLiteral("MojiForm"));
    MakeFixedDialog(this, QStringLiteral("文字枠の編集"), 416, 216);

    PlaceLabel(this, QStringLiteral("文字枠に書き込む文字列"), 16, 12)
        ->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(16, 30, 336, 21);
    SetHint(Edit1, QStringLiteral("文字枠に書き込む文字列を一行分書き込みます"));
    // Japanese text: the input method stays on for this box.
    Edit1->setAttribute(Qt::WA_InputMethodEnabled, true);

    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(QStringLiteral("ｸﾘｱ"));
    SpeedButton1->setGeometry(360, 28, 41, 25);
    SetHint(SpeedButton1, QStringLiteral("文字列を消去します"));
    connect(SpeedButton1, &QToolButton::clicked, this, &TMojiForm::ClearText);

    RadioGroup1 = new QGroupBox(QStringLiteral("文字組み"), this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioGroup1->setGeometry(16, 64, 185, 45);
    RadioGroup1Buttons = new QButtonGroup(this);
    const QStringList items{QStringLiteral("縦組み"), QStringLiteral("横組み")};
    for (int i = 0; i < items.size(); ++i) {
        auto* radio = new QRadioButton(items[i], RadioGroup1);
        radio->setObjectName(QStringLiteral("RadioGroup1Item%1").arg(i));
        radio->setGeometry(12 + 88 * i, 18, 80, 19);
        RadioGroup1Buttons->addButton(radio, i);
    }
    RadioGroup1Buttons->button(0)->setChecked(true);

    PlaceLabel(this, QStringLiteral(" 文字枠に使用するフォント"), 216, 64)
        ->setObjectName(QStringLiteral("Label2"));
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setGeometry(216, 82, 185, 21);
    SetHint(ComboBox1, QStringLiteral("文字枠ごとにフォントを指定できます"));
    ComboBox1->setAttribute(Qt::WA_InputMethodEnabled, false);
    ComboBox1->addItems(FontBoxFamilies());
    ComboBox1->setEditText(QString());

    CheckBox1 = new QCheckBox(QStringLiteral("太字"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(24, 124, 97, 17);
    SetHint(CheckBox1, QStringLiteral("ここをチェックすると文字が太字になります"));

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(112, 168, 89, 25);
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(216, 168, 89, 25);
    Button2->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<TextFrameValues> TMojiForm::Edit(const TextFrameValues& values) {
    SetValues(values);
    if (exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return Values();
}

void TMojiForm::SetValues(const TextFrameValues& values) {
    Edit1->setText(values.Text);
    RadioGroup1Buttons->button(values.Vertical ? 0 : 1)->setChecked(true);
    ComboBox1->setEditText(values.Face);
    CheckBox1->setChecked(values.Bold);
}

TextFrameValues TMojiForm::Values() const {
    TextFrameValues values;
    values.Text = Edit1->text();
    values.Vertical = RadioGroup1Buttons->checkedId() != 1;
    values.Face = ComboBox1->currentText();
    values.Bold = CheckBox1->isChecked();
    return values;
}

void TMojiForm::ClearText() {
    m_interaction.Beep(BeepKind::Exclamation);
    if (m_interaction.Confirm(Interaction::ConfirmKind::Question, QStringLiteral("確認"),
                              QStringLiteral("文字列を削除しますか？"))) {
        Edit1->clear();
    }
}

void TMojiForm::showEvent(QShowEvent* event) {
    CentredDialog::showEvent(event);
    Edit1->setFocus(Qt::OtherFocusReason);
}

} // namespace ulvan
