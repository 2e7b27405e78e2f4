#include "calendar/NengoUnit.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace ulvan {

namespace {

constexpr int kWidth = 300;
constexpr int kHeight = 196;
constexpr int kEraLineTop = 40;

} // namespace

TNengoForm::TNengoForm(QWidget* parent)
    : CentredDialog(parent) {
    setObjectName(QStringLiteral("NengoForm"));
    MakeFixedDialog(this, QStringLiteral("年号確認"), kWidth, kHeight);

    const QColor blue(Qt::blue);
    const QColor red(Qt::red);
    Label1 = PlaceLabel(this, QString(), 24, 12, blue, 16);
    Label2 = PlaceLabel(this, QString(), 0, kEraLineTop, red, 21);
    Label3 = PlaceLabel(this, QStringLiteral("から"), 0, kEraLineTop, blue, 16);
    Label4 = PlaceLabel(this, QString(), 0, kEraLineTop, red, 21);
    Label5 = PlaceLabel(this, QStringLiteral("に改元されています"), 0, kEraLineTop, blue, 16);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3->setObjectName(QStringLiteral("Label3"));
    Label4->setObjectName(QStringLiteral("Label4"));
    Label5->setObjectName(QStringLiteral("Label5"));

    GroupBox1 = new QGroupBox(QStringLiteral("採用したい年号をチェックして下さい"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(16, 76, kWidth - 32, 68);

    m_sides = new QButtonGroup(this);
    m_sides->setExclusive(true);
    const QFont eraFont = UiFont(font().family(), 16);
    auto makeSide = [this, &eraFont](const char* name, int left) {
        auto* button = new QToolButton(GroupBox1);
        button->setObjectName(QString::fromLatin1(name));
        button->setCheckable(true);
        button->setFont(eraFont);
        button->setGeometry(left, 24, 96, 32);
        // The side that is down must be plain at a glance: it decides the era.
        button->setStyleSheet(QStringLiteral(
            "QToolButton { border: 1px solid #808080; border-radius: 2px; background: #f4f4f4; }"
            "QToolButton:checked { border: 2px solid #1f3f9f; background: #c8d8ff; }"));
        return button;
    };
    SpeedButton1 = makeSide("SpeedButton1", 24);
    SpeedButton2 = makeSide("SpeedButton2", kWidth - 32 - 24 - 96);
    m_sides->addButton(SpeedButton1);
    m_sides->addButton(SpeedButton2);

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry((kWidth - 75) / 2, 156, 75, 25);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
}

bool TNengoForm::Prepare(std::size_t newEraIndex) {
    const auto list = NengoList();
    if (newEraIndex == 0 || newEraIndex >= list.size()) {
        return false;
    }
    const QString entry = ToQ(list[newEraIndex]);
    const QString previous = ToQ(list[newEraIndex - 1]).mid(8, 2);
    const QString next = entry.mid(8, 2);
    Label1->setText(QStringLiteral("西暦") + entry.mid(0, 4) + QStringLiteral("年は、") +
                    entry.mid(4, 2) + QStringLiteral("月") + entry.mid(6, 2) +
                    QStringLiteral("日をもって"));
    Label1->adjustSize();
    Label2->setText(previous);
    Label4->setText(next);
    SpeedButton1->setText(previous);
    SpeedButton2->setText(next);
    PlaceEraLine();
    return true;
}

// The second line reads as one sentence: old era, "から", new era, "に改元されています".
void TNengoForm::PlaceEraLine() {
    int left = 24;
    for (QLabel* label : {Label2, Label3, Label4, Label5}) {
        label->adjustSize();
        // Align the smaller blue texts on the baseline of the larger red era names.
        const int top = kEraLineTop + (label == Label2 || label == Label4 ? 0 : 4);
        label->move(left, top);
        left += label->width() + 2;
    }
}

EraChoice TNengoForm::Choice() const {
    if (SpeedButton1->isChecked()) {
        return EraChoice::Ending;
    }
    if (SpeedButton2->isChecked()) {
        return EraChoice::New;
    }
    return EraChoice::None;
}

EraChoice TNengoForm::Ask(std::size_t newEraIndex) {
    if (!Prepare(newEraIndex)) {
        return EraChoice::None;
    }
    if (m_runner) {
        m_runner(*this);
    } else {
        exec();
    }
    // The dialog has no cancel: however it was left, the side that is down is the answer.
    return Choice();
}

AskEraTransition TNengoForm::Asker() {
    return [this](std::size_t newEraIndex) { return Ask(newEraIndex); };
}

} // namespace ulvan
