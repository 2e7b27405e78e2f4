#include "records/TakeUnit.h"

#include "case/CaseHost.h"
#include "case/StoredCase.h"
#include "records/RecordFileIo.h"
#include "records/RecordLine.h"
#include "ui/Interaction.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

#include <algorithm>

namespace ulvan {
namespace {

const QColor kNavy(0, 0, 128);
const QColor kWarning(192, 0, 0);
constexpr int kHeadingPixels = 19;

QLineEdit* PlaceEdit(QWidget* parent, const char* name, int left, int top, int width,
                     bool readOnly = true) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(left, top, width, 21);
    edit->setReadOnly(readOnly);
    return edit;
}

QLabel* Named(QLabel* label, const char* name) {
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QFrame* PlaceSeparator(QWidget* parent, const char* name, int top, int width) {
    auto* line = new QFrame(parent);
    line->setObjectName(QString::fromLatin1(name));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(8, top, width - 16, 2);
    return line;
}

} // namespace

TTakeForm::TTakeForm(CaseHost& host, Interaction& interaction, QWidget* parent)
    : CentredDialog(parent)
    , m_host(host)
    , m_interaction(interaction) {
    setObjectName(QStringLiteral("TakeForm"));
    constexpr int kWidth = 432;
    MakeFixedDialog(this, QStringLiteral("ファイルからデータの取り込み"), kWidth, 433);

    Label1 = Named(PlaceLabel(this, QStringLiteral("ファイル名"), 16, 12), "Label1");
    Edit1 = PlaceEdit(this, "Edit1", 16, 30, 313, false);
    Button1 = new QPushButton(QStringLiteral("参照"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(340, 28, 75, 25);
    Button1->setAutoDefault(false);
    Button1->setToolTip(QStringLiteral("ファイル参照のダイアログボックスを表示します"));
    SpeedButton5 = new QToolButton(this);
    SpeedButton5->setObjectName(QStringLiteral("SpeedButton5"));
    SpeedButton5->setText(QStringLiteral("ﾌｧｲﾙからの再読込"));
    SpeedButton5->setToolTip(QStringLiteral("ファイルから再度読み込む"));
    SpeedButton5->setGeometry(295, 60, 120, 25);
    Label16 = Named(PlaceLabel(this, QString(), 16, 62, kWarning), "Label16");
    Label16->setGeometry(16, 58, 272, 30);
    Label16->setWordWrap(true);

    Panel1 = PlaceSeparator(this, "Panel1", 96, kWidth);
    Label13 =
        Named(PlaceLabel(this, QStringLiteral("レコードを選択"), 16, 106, kNavy, kHeadingPixels),
              "Label13");
    QFont bold = Label13->font();
    bold.setBold(true);
    Label13->setFont(bold);
    Label13->adjustSize();

    const std::array<QStyle::StandardPixmap, 4> icons{
        QStyle::SP_MediaSkipBackward, QStyle::SP_MediaSeekBackward, QStyle::SP_MediaSeekForward,
        QStyle::SP_MediaSkipForward};
    const std::array<const char16_t*, 4> hints{u"先頭のレコードへジャンプする",
                                               u"一つ前のレコードへ戻る", u"一つ後のレコードへ進む",
                                               u"末尾のレコードへジャンプする"};
    for (int i = 0; i < 4; ++i) {
        const auto index = static_cast<std::size_t>(i);
        auto* button = new QToolButton(this);
        button->setObjectName(QStringLiteral("SpeedButton%1").arg(i + 1));
        button->setIcon(style()->standardIcon(icons[index]));
        button->setToolTip(ToQ(hints[index]));
        button->setProperty("tag", i + 1);
        button->setGeometry(16 + 34 * i, 134, 32, 25);
        button->setAutoRepeat(i == 1 || i == 2); // holding previous / next keeps paging
        connect(button, &QToolButton::clicked, this, [this, i] { RecordButtonClick(i + 1); });
        RecordButtons[index] = button;
    }
    Label12 = Named(PlaceLabel(this, QStringLiteral("ｲﾝﾃﾞｯｸｽ"), 176, 138), "Label12");
    Edit10 = PlaceEdit(this, "Edit10", 232, 134, 80);

    Label2 = Named(PlaceLabel(this, QStringLiteral("戒名"), 16, 174), "Label2");
    Label14 = Named(PlaceLabel(this, QStringLiteral("法名"), 16, 190), "Label14");
    Edit2 = PlaceEdit(this, "Edit2", 64, 180, 352);
    Label15 = Named(PlaceLabel(this, QStringLiteral("読み"), 16, 216), "Label15");
    Edit11 = PlaceEdit(this, "Edit11", 64, 212, 352);
    Label3 = Named(PlaceLabel(this, QStringLiteral("俗名"), 16, 248), "Label3");
    Edit3 = PlaceEdit(this, "Edit3", 64, 244, 352);

    Label4 = Named(PlaceLabel(this, QStringLiteral("忌日"), 16, 280), "Label4");
    Label5 = Named(PlaceLabel(this, QStringLiteral("西暦"), 64, 280), "Label5");
    Edit4 = PlaceEdit(this, "Edit4", 96, 276, 48);
    Label6 = Named(PlaceLabel(this, QStringLiteral("年"), 148, 280), "Label6");
    Edit5 = PlaceEdit(this, "Edit5", 172, 276, 56);
    Edit6 = PlaceEdit(this, "Edit6", 232, 276, 32);
    Label7 = Named(PlaceLabel(this, QStringLiteral("年"), 268, 280), "Label7");
    Edit7 = PlaceEdit(this, "Edit7", 96, 308, 32);
    Label8 = Named(PlaceLabel(this, QStringLiteral("月"), 132, 312), "Label8");
    Edit8 = PlaceEdit(this, "Edit8", 152, 308, 32);
    Label9 = Named(PlaceLabel(this, QStringLiteral("日寂"), 188, 312), "Label9");
    Label10 = Named(PlaceLabel(this, QStringLiteral("行年"), 16, 344), "Label10");
    Edit9 = PlaceEdit(this, "Edit9", 64, 340, 48);
    Label11 = Named(PlaceLabel(this, QStringLiteral("歳"), 116, 344), "Label11");

    Panel2 = PlaceSeparator(this, "Panel2", 378, kWidth);
    Button2 = new QPushButton(QStringLiteral("OK"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(112, 394, 75, 25);
    Button2->setDefault(true);
    Button3 = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setGeometry(244, 394, 75, 25);
    Button3->setAutoDefault(false);

    connect(Button1, &QPushButton::clicked, this, &TTakeForm::Browse);
    connect(SpeedButton5, &QToolButton::clicked, this, &TTakeForm::LoadRecordFile);
    connect(Button2, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button3, &QPushButton::clicked, this, &QDialog::reject);
}

bool TTakeForm::Run() {
    Edit1->setText(ToQ(ReadDataFileName(m_host.SettingsFile())));
    LoadRecordFile();
    if (exec() != QDialog::Accepted)
        return false;
    // The fields as shown, in the order the main window takes them.
    DeceasedData record;
    record.KiNen = ToU16(Edit4->text());
    record.KiNengo = ToU16(Edit5->text());
    record.KiWanen = ToU16(Edit6->text());
    record.KiGatsu = ToU16(Edit7->text());
    record.KiNichi = ToU16(Edit8->text());
    record.Kaimyo = ToU16(Edit2->text());
    record.Yomi = ToU16(Edit11->text());
    record.Zokumyo = ToU16(Edit3->text());
    record.GyoNen = ToU16(Edit9->text());
    m_host.ApplyRecord(record);
    return true;
}

void TTakeForm::done(int result) {
    DataList.clear();
    DataList.shrink_to_fit();
    RecordList.clear();
    // The name is a convenience; a store that cannot be written costs only the default.
    WriteDataFileName(m_host.SettingsFile(), ToU16(Edit1->text()));
    CentredDialog::done(result);
}

void TTakeForm::Browse() {
    const QString path = m_interaction.OpenFileName(
        this, QStringLiteral("ﾌｧｲﾙ名の参照"), Edit1->text(),
        QStringLiteral("テキストファイル (*.txt);;すべてのファイル (*)"));
    if (path.isEmpty())
        return;
    Edit1->setText(path);
    LoadRecordFile();
}

void TTakeForm::ClearRecord() {
    RecInd = 0;
    RecordList.clear();
    DataList.clear();
    for (QLineEdit* edit : {Edit10, Edit2, Edit11, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, Edit9})
        edit->clear();
    for (QToolButton* button : RecordButtons)
        button->setEnabled(false);
}

void TTakeForm::LoadRecordFile() {
    DataList.clear();
    RecordFileLoad load = ulvan::LoadRecordFile(Edit1->text());
    Label16->setText(LoadProblemText(load));
    if (load.Result != RecordFileLoad::Status::Read || load.Text.Lines.empty()) {
        ClearRecord();
        return;
    }
    DataList = std::move(load.Text.Lines);
    RecInd = RecordCount() - 1;
    ShowRecord();
    for (QToolButton* button : RecordButtons)
        button->setEnabled(true);
}

void TTakeForm::ShowRecord() {
    if (RecInd < 0 || RecInd >= RecordCount())
        return;
    const std::u16string& line = DataList[static_cast<std::size_t>(RecInd)];
    RecordList = SplitCommaText(line);
    const DeceasedRecord record = ReadRecordLine(line);
    Edit10->setText(QString::number(RecInd + 1));
    Edit2->setText(ToQ(record.Kaimyo));
    Edit11->setText(ToQ(record.Yomi));
    Edit3->setText(ToQ(record.Zokumyo));
    Edit4->setText(ToQ(record.KiNen));
    Edit5->setText(ToQ(record.KiNengo));
    Edit6->setText(ToQ(record.KiWanen));
    Edit7->setText(ToQ(record.KiGatsu));
    Edit8->setText(ToQ(record.KiNichi));
    Edit9->setText(ToQ(record.GyoNen));
    // A long field shows from its start.
    for (QLineEdit* edit : {Edit2, Edit11, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, Edit9})
        edit->setCursorPosition(0);
}

void TTakeForm::RecordButtonClick(int tag) {
    const int count = RecordCount();
    if (count == 0)
        return;
    switch (tag) {
    case 1:
        RecInd = 0;
        break;
    case 2:
        RecInd = std::max(RecInd - 1, 0);
        break;
    case 3:
        RecInd = std::min(RecInd + 1, count - 1);
        break;
    case 4:
        RecInd = count - 1;
        break;
    default:
        return;
    }
    ShowRecord();
}

} // namespace ulvan
