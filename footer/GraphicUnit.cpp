#include "footer/GraphicUnit.h"

#include "ui/DialogSupport.h"
#include "ui/Interaction.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace ulvan {

namespace {

// Where the dialog stands on the screen: its designed place, not the middle.
constexpr int kDesignedLeft = 192;
constexpr int kDesignedTop = 160;

void SetHint(QWidget* widget, const QString& hint) {
    widget->setToolTip(hint);
    widget->setStatusTip(hint);
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text,
                        const QRect& geometry) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

} // namespace

QString PictureFileFilter() {
    // Metafiles and drawings print as vectors; TIFF, PNG and JPEG are the kinds a temple's
    // logo comes in today.
    return QStringLiteral(
        "すべてのﾌｧｲﾙ (*.bmp *.ico *.emf *.wmf *.svg *.tif *.tiff *.png *.jpg *.jpeg);;"
        "ﾋﾞｯﾄﾏｯﾌﾟ (*.bmp);;"
        "ｱｲｺﾝ (*.ico);;"
        "ｴﾝﾊﾝｽ ﾒﾀﾌｧｲﾙ (*.emf);;"
        "ﾒﾀﾌｧｲﾙ (*.wmf);;"
        "SVG (*.svg);;"
        "TIFF (*.tif *.tiff);;"
        "PNG (*.png);;"
        "JPEG (*.jpg *.jpeg)");
}

TGraphicForm::TGraphicForm(Interaction& interaction, QWidget* parent)
    : QDialog(parent)
    , m_interaction(interaction) {
    setObjectName(QStringLiteral("GraphicForm"));
    MakeFixedDialog(this, QStringLiteral("ｸﾞﾗﾌｨｯｸ枠の設定"), 424, 144);
    move(kDesignedLeft, kDesignedTop);

    PlaceLabel(this, QStringLiteral("ｸﾞﾗﾌｨｯｸﾌｧｲﾙ名"), 16, 12)
        ->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(16, 30, 305, 21);
    SetHint(Edit1, QStringLiteral("枠に書き込みたいグラフィックファイル名をフルパスで入力します"));
    Edit1->setAttribute(Qt::WA_InputMethodEnabled, false);

    Button1 = MakeButton(this, "Button1", QStringLiteral("参照"), QRect(328, 28, 81, 25));
    SetHint(Button1, QStringLiteral("グラフィックファイル名の参照ダイアログボックスを表示します"));
    connect(Button1, &QPushButton::clicked, this, &TGraphicForm::BrowseForPicture);

    CheckBox1 = new QCheckBox(QStringLiteral("縦横比を固定して表示"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(16, 64, 193, 17);
    CheckBox1->setChecked(true);
    SetHint(CheckBox1, QStringLiteral("ここをチェックすると縦横比を元の比のままに固定して表示"
                                      "・印刷を行ないます"));

    Button2 = MakeButton(this, "Button2", QStringLiteral("OK"), QRect(120, 104, 89, 25));
    Button3 = MakeButton(this, "Button3", QStringLiteral("ｷｬﾝｾﾙ"), QRect(224, 104, 89, 25));
    connect(Button2, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button3, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<PictureFrameValues> TGraphicForm::Edit(const PictureFrameValues& values) {
    SetValues(values);
    if (exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return Values();
}

void TGraphicForm::SetValues(const PictureFrameValues& values) {
    Edit1->setText(values.File);
    CheckBox1->setChecked(values.KeepAspect);
}

PictureFrameValues TGraphicForm::Values() const {
    return PictureFrameValues{Edit1->text(), CheckBox1->isChecked()};
}

void TGraphicForm::BrowseForPicture() {
    const QFileInfo current(Edit1->text());
    const QString dir = Edit1->text().isEmpty() ? QString() : current.absolutePath();
    const QString chosen = m_interaction.OpenPictureFileName(
        this, QStringLiteral("ｸﾞﾗﾌｨｯｸﾌｧｲﾙ名の参照"), dir, PictureFileFilter());
    if (!chosen.isEmpty()) {
        Edit1->setText(QFileInfo(chosen).absoluteFilePath());
    }
}

} // namespace ulvan
