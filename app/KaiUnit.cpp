#include "app/KaiUnit.h"

#include "sheet/QtText.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace ulvan {

namespace {

// Captions row by row, as they stand in the group.
const std::array<std::array<const char16_t*, 6>, 5> kRows = {{
    {u"院", u"庵", u"軒", u"釋", u"尼", u"譽"},
    {u"居士", u"信士", u"禪定門", nullptr, nullptr, nullptr},
    {u"大姉", u"信女", u"禪定尼", nullptr, nullptr, nullptr},
    {u"童", u"孩", u"嬰", u"水", u"子", u"女"},
    {u"児", u"清", nullptr, nullptr, nullptr, nullptr},
}};

constexpr int kCell = 25;
constexpr int kWordWidth = 57;
constexpr int kGap = 6;

// The first `count` characters (code points) of a text.
QString LeadingChars(const QString& text, qsizetype count) {
    qsizetype units = 0;
    for (qsizetype taken = 0; taken < count && units < text.size(); ++taken) {
        units += (text.at(units).isHighSurrogate() && units + 1 < text.size()) ? 2 : 1;
    }
    return text.left(units);
}

} // namespace

TKaiForm::TKaiForm(QWidget* parent)
    : CentredDialog(parent) {
    setObjectName(QStringLiteral("KaiForm"));
    MakeFixedDialog(this, QStringLiteral("戒名・法名入力"), 297, 348);

    Label1 = PlaceLabel(this, QStringLiteral("戒名・法名"), 16, 12);
    Label1->setObjectName(QStringLiteral("Label1"));
    Kaimyo = new QLineEdit(this);
    Kaimyo->setObjectName(QStringLiteral("Kaimyo"));
    Kaimyo->setGeometry(16, 32, 201, 21);
    LimitUserInput(Kaimyo, kMaxChars);
    ClrBttn = new QPushButton(QStringLiteral("ｸﾘｱ"), this);
    ClrBttn->setObjectName(QStringLiteral("ClrBttn"));
    ClrBttn->setGeometry(224, 30, 57, 25);
    ClrBttn->setAutoDefault(false);
    connect(ClrBttn, &QPushButton::clicked, Kaimyo, &QLineEdit::clear);
    Label2 = PlaceLabel(this, QStringLiteral("最大１６文字まで入力できます"), 16, 60);
    Label2->setObjectName(QStringLiteral("Label2"));

    GroupBox1 = new QGroupBox(QStringLiteral("常用文字"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(16, 84, 265, 200);
    std::size_t index = 0;
    for (std::size_t row = 0; row < kRows.size(); ++row) {
        int left = 16;
        const int top = 22 + (kCell + 10) * static_cast<int>(row);
        for (const char16_t* caption : kRows[row]) {
            if (caption == nullptr) {
                break;
            }
            const QString text = ToQ(caption);
            const int width = text.size() == 1 ? kCell : kWordWidth;
            auto* button = new QToolButton(GroupBox1);
            button->setObjectName(QStringLiteral("SpeedButton%1").arg(index + 1));
            button->setText(text);
            button->setAutoRaise(true);
            button->setFocusPolicy(Qt::NoFocus); // the caret stays in the name field
            button->setGeometry(left, top, width, kCell);
            connect(button, &QToolButton::clicked, this, [this, text] { InsertCaption(text); });
            SpeedButtons[index++] = button;
            left += width + (width == kCell ? kGap : kGap + 16);
        }
    }

    OkBttn = new QPushButton(QStringLiteral("OK"), this);
    OkBttn->setObjectName(QStringLiteral("OkBttn"));
    OkBttn->setGeometry(56, 304, 75, 25);
    OkBttn->setDefault(true);
    CanBttn = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    CanBttn->setObjectName(QStringLiteral("CanBttn"));
    CanBttn->setGeometry(168, 304, 75, 25);
    CanBttn->setAutoDefault(false);
    connect(OkBttn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CanBttn, &QPushButton::clicked, this, &QDialog::reject);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setVisible(false);
}

std::optional<QString> TKaiForm::Edit(const QString& kaimyo) {
    Kaimyo->setText(kaimyo);
    if (exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return Kaimyo->text();
}

void TKaiForm::showEvent(QShowEvent* event) {
    CentredDialog::showEvent(event);
    // Entering the field would select the whole name, and the first insert button would then
    // replace it; the caret goes to the end instead, once focus has settled.
    Kaimyo->setFocus();
    QMetaObject::invokeMethod(
        this, [this] { Kaimyo->end(false); }, Qt::QueuedConnection);
}

void TKaiForm::InsertCaption(const QString& caption) {
    // Through the clipboard, as the user would: the scratch field's text is cut out to it.
    Edit1->setText(caption);
    Edit1->selectAll();
    Edit1->cut();
    // The clipboard is not read back: on some platforms its content arrives late, and the
    // caption is what it now holds anyway.
    InsertText(caption);
}

void TKaiForm::InsertText(const QString& text) {
    const QString selected = Kaimyo->selectedText();
    const qsizetype room = kMaxChars - (CharCount(Kaimyo->text()) - CharCount(selected));
    if (room <= 0) {
        return;
    }
    Kaimyo->insert(LeadingChars(text, room));
}

} // namespace ulvan
