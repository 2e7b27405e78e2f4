#include "app/ShosaiUnit.h"

#include "calendar/TextUtil.h"
#include "ui/Interaction.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace ulvan {

namespace {

constexpr int kRowTop = 48;
constexpr int kRowStep = 24;
constexpr int kRowHeight = 21;
constexpr int kNameLeft = 24;
constexpr int kFormulaLeft = 168;
constexpr int kOffsetLeft = 216;
constexpr int kEveLeft = 384;
constexpr int kPrintLeft = 472;

const QString kEveHint = QStringLiteral("ここがチェックされていると日付が逮夜（前日）となります");

int RowTop(std::size_t row) {
    return kRowTop + kRowStep * static_cast<int>(row);
}

QFrame* Separator(QWidget* parent, QFrame::Shape shape, const QRect& geometry) {
    auto* line = new QFrame(parent);
    line->setFrameShape(shape);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(geometry);
    return line;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text,
                        const QRect& geometry) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TShosaiForm::TShosaiForm(Interaction& interaction, QWidget* parent)
    : CentredDialog(parent)
    , m_interaction(interaction) {
    setObjectName(QStringLiteral("ShosaiForm"));
    MakeFixedDialog(this, QStringLiteral("忌の名称・日付計算式の詳細設定"), 568, 400);

    const QColor purple(0x80, 0x00, 0x80);
    const QColor teal(0x00, 0x80, 0x80);
    const QColor navy(0x00, 0x00, 0x80);
    const QColor blue(Qt::blue);
    PlaceLabel(this, QStringLiteral("忌の名称"), kNameLeft, 16, purple, 16);
    PlaceLabel(this, QStringLiteral("日付計算式"), kFormulaLeft, 16, teal, 16);
    PlaceLabel(this, QStringLiteral("逮夜選択"), kEveLeft, 16, navy, 16);
    PlaceLabel(this, QStringLiteral("印刷選択"), kPrintLeft, 16, navy, 16);

    for (std::size_t row = 0; row < NameEdits.size(); ++row) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("Edit%1").arg(row + 1));
        edit->setGeometry(kNameLeft, RowTop(row), 121, kRowHeight);
        NameEdits[row] = edit;
    }

    std::size_t offsetIndex = 0;
    for (std::size_t row = 0; row < NameEdits.size(); ++row) {
        // Static texts sit on the fields' text line.
        const int textTop = RowTop(row) + 4;
        if (row == kFirstMonthlyRow) {
            PlaceLabel(this, QStringLiteral("翌月同日"), kFormulaLeft, textTop);
        } else {
            PlaceLabel(this, QStringLiteral("命日＋"), kFormulaLeft, textTop);
            auto* edit = new QLineEdit(this);
            edit->setObjectName(QStringLiteral("Edit%1").arg(offsetIndex + 10));
            edit->setGeometry(kOffsetLeft, RowTop(row), 25, kRowHeight);
            edit->setAttribute(Qt::WA_InputMethodEnabled, false);
            OffsetEdits[offsetIndex++] = edit;
            PlaceLabel(this, QStringLiteral("日"), kOffsetLeft + 28, textTop);
        }
        PlaceLabel(this, QStringLiteral("（逮夜はその前日）"), kOffsetLeft + 44, textTop);
    }

    for (std::size_t row = 0; row < EveBoxes.size(); ++row) {
        auto* box = new QCheckBox(QStringLiteral("逮夜日付"), this);
        box->setObjectName(QStringLiteral("CheckBox%1").arg(row + 1));
        box->setGeometry(kEveLeft, RowTop(row), 80, kRowHeight);
        box->setToolTip(kEveHint);
        EveBoxes[row] = box;
    }
    CheckBox10 = new QCheckBox(QStringLiteral("印刷する"), this);
    CheckBox10->setObjectName(QStringLiteral("CheckBox10"));
    CheckBox10->setGeometry(kPrintLeft, RowTop(kFirstMonthlyRow), 80, kRowHeight);
    CheckBox10->setToolTip(QStringLiteral("ここがチェックされていると初月忌も含めて印刷されます"));
    CheckBox11 = new QCheckBox(QStringLiteral("印刷する"), this);
    CheckBox11->setObjectName(QStringLiteral("CheckBox11"));
    CheckBox11->setGeometry(kPrintLeft, RowTop(8), 80, kRowHeight);
    CheckBox11->setToolTip(QStringLiteral("ここがチェックされていると百箇日も含めて印刷されます"));

    const int noteTop = RowTop(9) + 4;
    PlaceLabel(this, QStringLiteral("９文字くらいまで可能"), kNameLeft, noteTop, blue);
    PlaceLabel(this, QStringLiteral("初月忌で同日が無いときは繰り上げ"), kFormulaLeft, noteTop,
               blue);
    PlaceLabel(this, QStringLiteral("メインフォームでも設定できます"), kEveLeft, noteTop, blue);

    const int restoreTop = noteTop + 24;
    const QString restore = QStringLiteral("標準に戻す");
    Button1 = MakeButton(this, "Button1", restore, QRect(kNameLeft + 12, restoreTop, 97, 25));
    Button1->setToolTip(QStringLiteral("忌名称を標準の設定にもどします"));
    Button2 = MakeButton(this, "Button2", restore, QRect(kFormulaLeft + 24, restoreTop, 97, 25));
    Button2->setToolTip(QStringLiteral("日付の計算式を標準の設定にもどします"));
    Button3 = MakeButton(this, "Button3", restore, QRect(kEveLeft + 40, restoreTop, 97, 25));
    Button3->setToolTip(QStringLiteral("逮夜選択を標準の設定にもどします"));
    connect(Button1, &QPushButton::clicked, this, &TShosaiForm::RestoreNames);
    connect(Button2, &QPushButton::clicked, this, &TShosaiForm::RestoreOffsets);
    connect(Button3, &QPushButton::clicked, this, &TShosaiForm::RestoreChecks);

    Separator(this, QFrame::VLine, QRect(156, 12, 2, restoreTop + 20));
    Separator(this, QFrame::VLine, QRect(372, 12, 2, restoreTop + 20));
    Separator(this, QFrame::HLine, QRect(8, 348, 552, 2));

    Button4 = MakeButton(this, "Button4", QStringLiteral("OK"), QRect(384, 360, 75, 25));
    Button4->setDefault(true);
    Button5 = MakeButton(this, "Button5", QStringLiteral("ｷｬﾝｾﾙ"), QRect(472, 360, 75, 25));
    connect(Button4, &QPushButton::clicked, this, &TShosaiForm::TryAccept);
    connect(Button5, &QPushButton::clicked, this, &QDialog::reject);

    SetValues(DetailSettings{DefaultSchedule(), true, true});
}

QLineEdit* TShosaiForm::OffsetEditOfRow(std::size_t row) const {
    if (row == kFirstMonthlyRow || row >= NameEdits.size()) {
        return nullptr;
    }
    return OffsetEdits[row < kFirstMonthlyRow ? row : row - 1];
}

void TShosaiForm::SetValues(const DetailSettings& values) {
    m_given = values;
    for (std::size_t row = 0; row < NameEdits.size(); ++row) {
        NameEdits[row]->setText(ToQ(values.Schedule[row].Name));
        EveBoxes[row]->setChecked(values.Schedule[row].Eve);
    }
    for (std::size_t k = 0; k < OffsetEdits.size(); ++k) {
        OffsetEdits[k]->setText(ToQ(DecimalText(values.Schedule[OffsetRow(k)].Offset)));
    }
    CheckBox10->setChecked(values.HatsuGatsuPrint);
    CheckBox11->setChecked(values.HyakkaNichiPrint);
}

DetailSettings TShosaiForm::Values() const {
    DetailSettings values = m_given;
    for (std::size_t row = 0; row < NameEdits.size(); ++row) {
        values.Schedule[row].Name = ToU16(NameEdits[row]->text());
        values.Schedule[row].Eve = EveBoxes[row]->isChecked();
    }
    for (std::size_t k = 0; k < OffsetEdits.size(); ++k) {
        if (const auto offset = ParseInt(ToU16(OffsetEdits[k]->text()))) {
            values.Schedule[OffsetRow(k)].Offset = *offset;
        }
    }
    values.HatsuGatsuPrint = CheckBox10->isChecked();
    values.HyakkaNichiPrint = CheckBox11->isChecked();
    return values;
}

std::optional<DetailSettings> TShosaiForm::Edit(const DetailSettings& values) {
    SetValues(values);
    if (exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return Values();
}

void TShosaiForm::RestoreNames() {
    const MemorialSchedule defaults = DefaultSchedule();
    for (std::size_t row = 0; row < NameEdits.size(); ++row) {
        NameEdits[row]->setText(ToQ(defaults[row].Name));
    }
}

void TShosaiForm::RestoreOffsets() {
    const MemorialSchedule defaults = DefaultSchedule();
    for (std::size_t k = 0; k < OffsetEdits.size(); ++k) {
        OffsetEdits[k]->setText(ToQ(DecimalText(defaults[OffsetRow(k)].Offset)));
    }
}

void TShosaiForm::RestoreChecks() {
    const MemorialSchedule defaults = DefaultSchedule();
    for (std::size_t row = 0; row < EveBoxes.size(); ++row) {
        EveBoxes[row]->setChecked(defaults[row].Eve);
    }
    CheckBox10->setChecked(true);
    CheckBox11->setChecked(true);
}

void TShosaiForm::TryAccept() {
    for (QLineEdit* edit : OffsetEdits) {
        if (!ParseInt(ToU16(edit->text()))) {
            m_interaction.ShowMessage(u"日付計算式の日数は整数で入力してください。");
            edit->setFocus();
            edit->selectAll();
            return;
        }
    }
    accept();
}

} // namespace ulvan
