#include "app/AgeCalUnit.h"

#include "calendar/Messages.h"
#include "calendar/TextUtil.h"
#include "sheet/QtText.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <array>

namespace ulvan {

namespace {

struct AgeEra {
    const char16_t* Name;
    std::int32_t Base;  // western year = era year + Base
    std::int32_t First; // first western year given to this era when syncing from a year
};

// Fixed in this dialog, not taken from the era table: a year in which the era changed
// belongs to the later era.
constexpr std::array<AgeEra, 5> kEras = {{
    {u"令和", 2018, 2019},
    {u"平成", 1988, 1989},
    {u"昭和", 1925, 1926},
    {u"大正", 1911, 1912},
    {u"明治", 1867, 1868},
}};
constexpr const char16_t* kNoEra = u"－－";

QLineEdit* MakeEdit(QWidget* parent, const char* name, const QRect& geometry) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(geometry);
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    return edit;
}

} // namespace

TAgeCalForm::TAgeCalForm(QWidget* parent)
    : CentredDialog(parent) {
    setObjectName(QStringLiteral("AgeCalForm"));
    MakeFixedDialog(this, QStringLiteral("行年計算"), 292, 332);

    GroupBox1 = new QGroupBox(QStringLiteral("生年入力"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(8, 8, 276, 92);
    ComboBox1 = new QComboBox(GroupBox1);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setGeometry(24, 24, 65, 22);
    for (const AgeEra& era : kEras) {
        ComboBox1->addItem(ToQ(era.Name));
    }
    ComboBox1->addItem(ToQ(kNoEra));
    Edit1 = MakeEdit(GroupBox1, "Edit1", QRect(96, 24, 25, 21));
    LimitUserInput(Edit1, 2);
    PlaceLabel(GroupBox1, QStringLiteral("年"), 124, 28);
    PlaceLabel(GroupBox1, QStringLiteral("（西暦"), 24, 62);
    Edit2 = MakeEdit(GroupBox1, "Edit2", QRect(64, 58, 41, 21));
    LimitUserInput(Edit2, 4);
    PlaceLabel(GroupBox1, QStringLiteral("年）生まれ"), 108, 62);

    GroupBox2 = new QGroupBox(QStringLiteral("計算結果（没年での年齢）"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setGeometry(8, 108, 276, 124);
    m_conventions = new QButtonGroup(this);
    const std::array<QString, 3> captions = {QStringLiteral("数え歳-----------------"),
                                             QStringLiteral("満年齢（誕生日前）-------"),
                                             QStringLiteral("満年齢（誕生日後）-------")};
    std::array<QRadioButton*, 3> radios{};
    std::array<QLineEdit*, 3> ages{};
    for (std::size_t i = 0; i < 3; ++i) {
        const int top = 24 + 32 * static_cast<int>(i);
        radios[i] = new QRadioButton(captions[i], GroupBox2);
        radios[i]->setObjectName(QStringLiteral("RadioButton%1").arg(i + 1));
        radios[i]->setGeometry(16, top, 180, 21);
        m_conventions->addButton(radios[i], static_cast<int>(i));
        const QByteArray name = "Edit" + QByteArray::number(static_cast<int>(i) + 3);
        ages[i] = MakeEdit(GroupBox2, name.constData(), QRect(200, top, 33, 21));
        // Display only, but as readable as any text: read-only rather than disabled (a
        // disabled field greys its text), and out of the tab order as before.
        ages[i]->setReadOnly(true);
        ages[i]->setFocusPolicy(Qt::NoFocus);
        PlaceLabel(GroupBox2, QStringLiteral("歳"), 238, top + 4);
    }
    RadioButton1 = radios[0];
    RadioButton2 = radios[1];
    RadioButton3 = radios[2];
    Edit3 = ages[0];
    Edit4 = ages[1];
    Edit5 = ages[2];

    Label4 = PlaceLabel(this, QStringLiteral("計算結果から選択してOKボタンをクリックして下さい"), 8,
                        248);
    Label4->setObjectName(QStringLiteral("Label4"));

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(48, 288, 75, 25);
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(168, 288, 75, 25);
    Button2->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    // Only the user's choice or typing in the era box counts as a change of it: selecting
    // an item in code (the western side's sync) must not start the era side again.
    connect(ComboBox1, &QComboBox::activated, this, &TAgeCalForm::EraSideChanged);
    connect(ComboBox1->lineEdit(), &QLineEdit::textEdited, this, &TAgeCalForm::EraSideChanged);
    // QLineEdit reports no change when the text written equals the text held: that is what
    // lets the two sides come to rest.
    connect(Edit1, &QLineEdit::textChanged, this, &TAgeCalForm::EraSideChanged);
    connect(Edit2, &QLineEdit::textChanged, this, &TAgeCalForm::WesternSideChanged);

    Reset();
}

void TAgeCalForm::Reset() {
    ComboBox1->setCurrentIndex(ComboBox1->findText(ToQ(kNoEra)));
    for (QLineEdit* edit : {Edit1, Edit2, Edit3, Edit4, Edit5}) {
        edit->clear();
    }
    m_conventions->setExclusive(false);
    for (QAbstractButton* button : m_conventions->buttons()) {
        button->setChecked(false);
    }
    m_conventions->setExclusive(true);
}

void TAgeCalForm::EraSideChanged() {
    const QString eraName = ComboBox1->currentText();
    const AgeEra* era = nullptr;
    for (const AgeEra& candidate : kEras) {
        if (eraName == ToQ(candidate.Name)) {
            era = &candidate;
        }
    }
    if (era == nullptr) {
        return;
    }
    const auto eraYear = ParseInt(ToU16(Edit1->text()));
    if (!eraYear) {
        Edit2->clear();
        return;
    }
    Edit2->setText(ToQ(DecimalText(std::int64_t{*eraYear} + era->Base)));
}

void TAgeCalForm::WesternSideChanged() {
    const auto birth = ParseInt(ToU16(Edit2->text()));
    if (!birth) {
        return;
    }
    const std::int64_t b = *birth;
    Edit3->setText(ToQ(DecimalText(m_keisanNen - b + 1)));
    Edit4->setText(ToQ(DecimalText(m_keisanNen - b - 1)));
    Edit5->setText(ToQ(DecimalText(m_keisanNen - b)));

    for (const AgeEra& era : kEras) {
        if (b >= era.First) {
            // Select first: the era year written next must be read against this era.
            ComboBox1->setCurrentIndex(ComboBox1->findText(ToQ(era.Name)));
            Edit1->setText(ToQ(DecimalText(b - era.Base)));
            return;
        }
    }
    ComboBox1->setCurrentIndex(ComboBox1->findText(ToQ(kNoEra)));
    Edit1->clear();
}

std::optional<QString> TAgeCalForm::ChosenAge() const {
    switch (m_conventions->checkedId()) {
    case 0:
        return Edit3->text();
    case 1:
        return Edit4->text();
    case 2:
        return Edit5->text();
    default:
        return std::nullopt;
    }
}

std::optional<QString> TAgeCalForm::Calc(std::int32_t keisanNen) {
    Reset();
    SetKeisanNen(keisanNen);
    if (exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return ChosenAge();
}

std::int32_t AgeReferenceYear(const QString& westernYearOfDeath, std::int32_t currentYear,
                              MessageSink& messages) {
    if (const auto year = ParseInt(ToU16(westernYearOfDeath))) {
        return *year;
    }
    messages.ShowMessage(u"忌日が入力されていませんので\n今年の年齢として計算します。");
    return currentYear;
}

} // namespace ulvan
