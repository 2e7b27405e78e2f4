#include "records/DueUnit.h"

#include "calendar/TextUtil.h"
#include "case/AtomicFile.h"
#include "case/CaseHost.h"
#include "case/StoredCase.h"
#include "records/RecordFileIo.h"
#include "records/RecordLine.h"
#include "sheet/PrintSheet.h"
#include "sheet/QtText.h"
#include "ui/Interaction.h"
#include "ui/UpDown.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>

#include <climits>

namespace ulvan {
namespace {

const QColor kWarning(192, 0, 0);
constexpr int kWidth = 820;
constexpr int kHeight = 560;
constexpr char16_t kUtf8Bom = u'\uFEFF';

QPushButton* PlaceButton(QWidget* parent, const char* name, const QString& text, int left, int top,
                         int width) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(left, top, width, 25);
    button->setAutoDefault(false);
    return button;
}

QTableWidget* PlaceTable(QWidget* parent, const char* name, int top, int height) {
    auto* table = new QTableWidget(parent);
    table->setObjectName(QString::fromLatin1(name));
    table->setGeometry(16, top, kWidth - 32, height);
    table->setColumnCount(int(kDueColumnCount));
    QStringList captions;
    for (const std::u16string& caption : DueHeader())
        captions << ToQ(caption);
    table->setHorizontalHeaderLabels(captions);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->verticalHeader()->setVisible(false);
    table->verticalHeader()->setDefaultSectionSize(20);
    table->horizontalHeader()->setStretchLastSection(true);
    const std::array<int, kDueColumnCount> widths{72, 60, 100, 140, 120, 100, 110, 100, 40};
    for (std::size_t i = 0; i < widths.size(); ++i)
        table->setColumnWidth(int(i), widths[i]);
    return table;
}

} // namespace

TDueForm::TDueForm(CaseHost& host, Interaction& interaction, QWidget* parent)
    : CentredDialog(parent)
    , m_host(host)
    , m_interaction(interaction) {
    setObjectName(QStringLiteral("DueForm"));
    MakeFixedDialog(this, QStringLiteral("今年の年回該当者"), kWidth, kHeight);

    YearLabel = PlaceLabel(this, QStringLiteral("法要の年"), 16, 16);
    YearLabel->setObjectName(QStringLiteral("YearLabel"));
    YearEdit = new QLineEdit(this);
    YearEdit->setObjectName(QStringLiteral("YearEdit"));
    YearEdit->setGeometry(76, 12, 56, 21);
    YearEdit->setToolTip(QStringLiteral("西暦の年（上下の矢印で1年ずつ）"));
    YearUpDown = new UpDown(this);
    YearUpDown->setObjectName(QStringLiteral("YearUpDown"));
    YearUpDown->setGeometry(133, 12, 16, 21);
    EraLabel = PlaceLabel(this, QString(), 156, 16);
    EraLabel->setObjectName(QStringLiteral("EraLabel"));
    EraLabel->setGeometry(156, 16, 140, 16);
    NextCheck = new QCheckBox(QStringLiteral("翌年も含める"), this);
    NextCheck->setObjectName(QStringLiteral("NextCheck"));
    NextCheck->setGeometry(300, 13, 120, 20);

    FileLabel = PlaceLabel(this, QStringLiteral("記録ファイル"), 16, 46);
    FileLabel->setObjectName(QStringLiteral("FileLabel"));
    FileEdit = new QLineEdit(this);
    FileEdit->setObjectName(QStringLiteral("FileEdit"));
    FileEdit->setGeometry(96, 42, 480, 21);
    BrowseButton = PlaceButton(this, "BrowseButton", QStringLiteral("参照"), 584, 40, 75);
    BrowseButton->setToolTip(QStringLiteral("ファイル参照のダイアログボックスを表示します"));
    ReloadButton = PlaceButton(this, "ReloadButton", QStringLiteral("再読込"), 664, 40, 75);
    ReloadButton->setToolTip(QStringLiteral("ファイルから再度読み込む"));
    ProblemLabel = PlaceLabel(this, QString(), 16, 70, kWarning);
    ProblemLabel->setObjectName(QStringLiteral("ProblemLabel"));
    ProblemLabel->setGeometry(16, 68, kWidth - 32, 16);

    DueTable = PlaceTable(this, "DueTable", 88, 300);
    UndatedLabel = PlaceLabel(this, ToQ(kUndatedLabel), 16, 394);
    UndatedLabel->setObjectName(QStringLiteral("UndatedLabel"));
    UndatedTable = PlaceTable(this, "UndatedTable", 412, 80);
    CountLabel = PlaceLabel(this, QString(), 16, 500);
    CountLabel->setObjectName(QStringLiteral("CountLabel"));
    CountLabel->setGeometry(16, 500, 400, 16);

    EncodingLabel = PlaceLabel(this, QStringLiteral("CSVの文字コード"), 16, 530);
    EncodingLabel->setObjectName(QStringLiteral("EncodingLabel"));
    EncodingCombo = new QComboBox(this);
    EncodingCombo->setObjectName(QStringLiteral("EncodingCombo"));
    EncodingCombo->addItems(
        {QStringLiteral("UTF-8（BOM付き）"), QStringLiteral("シフトJIS（CP932）")});
    EncodingCombo->setGeometry(116, 526, 150, 22);
    PrintButton = PlaceButton(this, "PrintButton", QStringLiteral("印刷..."), 480, 524, 100);
    SaveButton = PlaceButton(this, "SaveButton", QStringLiteral("CSVで保存..."), 588, 524, 100);
    CloseButton = PlaceButton(this, "CloseButton", QStringLiteral("閉じる"), 700, 524, 100);

    // This year until the user chooses another (Run sets it again at every showing).
    YearEdit->setText(QString::number(m_host.CurrentDate().year()));
    connect(YearEdit, &QLineEdit::textChanged, this, &TDueForm::Relist);
    connect(YearUpDown, &UpDown::Stepped, this, &TDueForm::Step);
    connect(NextCheck, &QCheckBox::toggled, this, &TDueForm::Relist);
    connect(BrowseButton, &QPushButton::clicked, this, &TDueForm::Browse);
    connect(ReloadButton, &QPushButton::clicked, this, &TDueForm::Reload);
    connect(FileEdit, &QLineEdit::returnPressed, this, &TDueForm::Reload);
    connect(PrintButton, &QPushButton::clicked, this, &TDueForm::PrintList);
    connect(SaveButton, &QPushButton::clicked, this, &TDueForm::SaveCsv);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(DueTable, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { LoadRow(row, false); });
    connect(UndatedTable, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { LoadRow(row, true); });
    DueTable->installEventFilter(this);
    UndatedTable->installEventFilter(this);
}

bool TDueForm::Run() {
    YearEdit->setText(QString::number(m_host.CurrentDate().year()));
    FileEdit->setText(ToQ(ReadDataFileName(m_host.SettingsFile())));
    Reload();
    return exec() == QDialog::Accepted;
}

void TDueForm::done(int result) {
    m_lines.clear();
    m_list = {};
    // As the import window: the name is a convenience shared with it.
    WriteDataFileName(m_host.SettingsFile(), ToU16(FileEdit->text()));
    CentredDialog::done(result);
}

bool TDueForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        auto* table = qobject_cast<QTableWidget*>(watched);
        if (table != nullptr && (key == Qt::Key_Return || key == Qt::Key_Enter) &&
            table->currentRow() >= 0) {
            LoadRow(table->currentRow(), table == UndatedTable);
            return true;
        }
    }
    return CentredDialog::eventFilter(watched, event);
}

void TDueForm::Browse() {
    const QString path = m_interaction.OpenFileName(
        this, QStringLiteral("ﾌｧｲﾙ名の参照"), FileEdit->text(),
        QStringLiteral("テキストファイル (*.txt *.csv);;すべてのファイル (*)"));
    if (path.isEmpty())
        return;
    FileEdit->setText(path);
    Reload();
}

void TDueForm::Step(int delta) {
    const std::optional<std::int32_t> year = ParseInt(ToU16(YearEdit->text()));
    const std::int64_t base = year ? *year : m_host.CurrentDate().year();
    const std::int64_t stepped = std::clamp<std::int64_t>(base + delta, INT32_MIN, INT32_MAX);
    YearEdit->setText(QString::number(stepped));
}

void TDueForm::Reload() {
    m_lines.clear();
    RecordFileLoad load = LoadRecordFile(FileEdit->text());
    m_loaded = load.Result == RecordFileLoad::Status::Read;
    if (load.Result == RecordFileLoad::Status::Missing && !FileEdit->text().isEmpty())
        ProblemLabel->setText(QStringLiteral("記録ファイルがありません: ") + FileEdit->text());
    else
        ProblemLabel->setText(LoadProblemText(load));
    if (m_loaded)
        m_lines = std::move(load.Text.Lines);
    Relist();
}

void TDueForm::Fill(QTableWidget* table, const std::vector<DueRow>& rows) {
    table->clearContents();
    table->setRowCount(int(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < kDueColumnCount; ++c) {
            auto* item = new QTableWidgetItem(ToQ(rows[r][c]));
            item->setToolTip(item->text());
            table->setItem(int(r), int(c), item);
        }
    }
}

void TDueForm::Relist() {
    const std::optional<std::int32_t> year = ParseInt(ToU16(YearEdit->text()));
    m_list = {};
    if (year) {
        m_list = BuildDueList(m_lines, *year, NextCheck->isChecked());
        EraLabel->setText(ToQ(EraYearText(*year, 0, 0)));
    } else {
        EraLabel->setText(QStringLiteral("年を数字で入れて下さい"));
    }
    std::vector<DueRow> due;
    due.reserve(m_list.Due.size());
    for (const DueEntry& entry : m_list.Due)
        due.push_back(DueRowOf(entry));
    std::vector<DueRow> undated;
    for (const UndatedEntry& entry : m_list.Undated)
        undated.push_back(UndatedRowOf(entry));
    Fill(DueTable, due);
    Fill(UndatedTable, undated);
    CountLabel->setText(ToQ(DueCountText(m_list)));
    const bool any = !due.empty() || !undated.empty();
    PrintButton->setEnabled(any);
    SaveButton->setEnabled(any);
}

void TDueForm::LoadRow(int row, bool undated) {
    if (row < 0)
        return;
    const auto index = static_cast<std::size_t>(row);
    if (undated ? index >= m_list.Undated.size() : index >= m_list.Due.size())
        return;
    m_host.ApplyRecord(undated ? m_list.Undated[index].Record : m_list.Due[index].Record);
    accept();
}

QString TDueForm::Heading() const {
    QString heading = QStringLiteral("年回該当者　%1年").arg(YearEdit->text());
    const QString era = EraLabel->text();
    if (!era.isEmpty() && ParseInt(ToU16(YearEdit->text())))
        heading += QStringLiteral("（%1）").arg(era);
    if (NextCheck->isChecked())
        heading += QStringLiteral("・翌年");
    heading += QStringLiteral("　記録ファイル: ") + QFileInfo(FileEdit->text()).fileName();
    return heading;
}

DuePrintResult TDueForm::PaintTo(QPagedPaintDevice& device) const {
    return PaintDueList(device, Heading(), m_list);
}

void TDueForm::PrintList() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(QStringLiteral("年回該当者"));
    if (!m_interaction.PrintDialog(this, printer))
        return;
    PdfFileGuard pdfFile(printer);
    if (!pdfFile.StartProblem().isEmpty()) {
        m_interaction.ShowMessage(ToU16(pdfFile.StartProblem()));
        return;
    }
    if (!PaintTo(printer).Ok) {
        m_interaction.ShowMessage(u"印刷できませんでした。プリンターの状態を確認して下さい。");
        return;
    }
    if (const QString problem = pdfFile.Finish(); !problem.isEmpty())
        m_interaction.ShowMessage(ToU16(problem));
}

bool TDueForm::SaveCsv() {
    const QString path =
        m_interaction.SaveFileName(this, QStringLiteral("CSVで保存"), QString(),
                                   QStringLiteral("CSVファイル (*.csv);;すべてのファイル (*)"));
    if (path.isEmpty())
        return false;
    const std::u16string text = DueCsvText(m_list);
    std::string bytes;
    if (EncodingCombo->currentIndex() == 1) {
        const EncodedText encoded = EncodeRecordText(text, RecordEncoding::Cp932);
        if (!encoded.Lost.empty() &&
            !m_interaction.Confirm(
                Interaction::ConfirmKind::Warning, QStringLiteral("確認"),
                LostCharsQuestion(RecordEncoding::Cp932, encoded.Lost, LostCharsUse::Save)))
            return false;
        bytes = encoded.Bytes;
    } else {
        // The byte-order mark tells a spreadsheet that the file is UTF-8.
        bytes = EncodeRecordText(std::u16string(1, kUtf8Bom) + text, RecordEncoding::Utf8).Bytes;
    }
    if (const FileWriteResult written = WriteFileAtomically(path, bytes); !written) {
        m_interaction.ShowMessage(ToU16(written.Message));
        return false;
    }
    m_host.ShowStatusMessage(QStringLiteral("年回該当者の一覧を保存しました: ") + path);
    return true;
}

} // namespace ulvan
