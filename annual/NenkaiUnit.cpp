#include "annual/NenkaiUnit.h"

#include "annual/NenkaiSheet.h"
#include "calendar/TextUtil.h"
#include "case/CaseHost.h"
#include "case/StoredCase.h"
#include "sheet/PrintSheet.h"
#include "sheet/QtText.h"
#include "ui/Interaction.h"
#include "ui/UpDown.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace ulvan {

namespace {

constexpr int kFieldHeight = 20;
constexpr int kRowsInLeftColumn = 11;
const QString kNoEraName = QStringLiteral("－－");

QString ObjectName(const char* stem, int number) {
    return QString::fromLatin1(stem) + QString::number(number);
}

void SetHint(QWidget* widget, const QString& hint) {
    widget->setToolTip(hint);
    widget->setStatusTip(hint);
}

// Assigning the text a field already holds fires no change: the results recompute only when
// the year really changes.
void SetText(QLineEdit* edit, const QString& text) {
    if (edit->text() != text) {
        edit->setText(text);
    }
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption,
                        const QString& hint, const QRect& geometry) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    button->setCursor(Qt::PointingHandCursor);
    button->setAutoDefault(false);
    SetHint(button, hint);
    return button;
}

// The row label: the item's name padded with hyphens to fourteen columns (a kanji takes two).
QString RowCaption(std::u16string_view name) {
    const qsizetype columns = 2 * CharCount(ToQ(name));
    return ToQ(name) + QString(std::max<qsizetype>(0, 14 - columns), QLatin1Char('-'));
}

// Number of the "年(" label of item i (0-based): Label48 and Label58 are the window's notices.
int OpenParenLabel(int i) {
    if (i < 2) {
        return 46 + i;
    }
    if (i < kRowsInLeftColumn) {
        return 47 + i;
    }
    return 48 + i;
}

} // namespace

void PrintNenkaiSheet(bool blank, NenkaiSheetInputs& inputs, QPrinter& printer,
                      Interaction& interaction, QWidget* parent) {
    SheetPrintJob job;
    job.Options = inputs.Options;
    job.TitleMissing = inputs.Chart.Title.empty();
    job.TitleMissingMessage = kNenkaiTitleMissingMessage;
    job.DrawPage = [&inputs, blank](Canvas& canvas, const PageMetrics& page,
                                    FooterDrawRequest& request) {
        DrawNenkaiPaper(canvas, page, inputs, blank, request);
    };
    PrintSheetPage(job, printer, interaction, parent);
}

SheetPdfJob NenkaiPdfJob(bool blank, NenkaiSheetInputs& inputs) {
    SheetPdfJob job;
    job.Options = inputs.Options;
    job.TitleMissing = inputs.Chart.Title.empty();
    job.TitleMissingMessage = kNenkaiTitleMissingMessage;
    job.Title = ToQ(NenkaiTitle(inputs.Chart.Title));
    job.ProposedName = ProposedPdfName(inputs.Deceased, QStringLiteral("年回表"));
    job.Draw = [&inputs, blank](QPainter& painter, int width, int height,
                                FooterDrawRequest& request) {
        DrawNenkaiReadingPage(painter, width, height, inputs, blank, request);
    };
    return job;
}

TNenkaiForm::TNenkaiForm(CaseHost& host, Interaction& interaction, QPrinter& printer,
                         QWidget* parent)
    : CentredDialog(parent)
    , m_host(host)
    , m_interaction(interaction)
    , m_printer(printer) {
    setObjectName(QStringLiteral("NenkaiForm"));
    setWindowTitle(QStringLiteral("年回表(没年からもとめた)"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(665, 471);
    setFont(DefaultUiFont());
    setModal(true);

    GroupBox1 = new QGroupBox(QStringLiteral("没年（この没年の人の年回を算出）"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(16, 16, 233, 65);
    PlaceLabel(GroupBox1, QStringLiteral("西暦"), 16, 32)->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(GroupBox1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(48, 24, 33, kFieldHeight);
    Edit1->setAttribute(Qt::WA_InputMethodEnabled, false);
    LimitUserInput(Edit1, 4);
    UpDown1 = new UpDown(GroupBox1);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    UpDown1->setGeometry(80, 24, 16, 24);
    UpDown1->setCursor(Qt::PointingHandCursor);
    PlaceLabel(GroupBox1, QStringLiteral("年"), 96, 32)->setObjectName(QStringLiteral("Label2"));
    ComboBox1 = new QComboBox(GroupBox1);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setGeometry(120, 24, 49, kFieldHeight);
    ComboBox1->setCursor(Qt::PointingHandCursor);
    Edit2 = new QLineEdit(GroupBox1);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setGeometry(168, 24, 25, kFieldHeight);
    Edit2->setAttribute(Qt::WA_InputMethodEnabled, false);
    LimitUserInput(Edit2, 2);
    PlaceLabel(GroupBox1, QStringLiteral("年没"), 196, 32)->setObjectName(QStringLiteral("Label3"));

    PlaceLabel(this, QStringLiteral("表　題"), 24, 104)->setObjectName(QStringLiteral("Label90"));
    ComboBox2 = new QComboBox(this);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox2->setEditable(true);
    ComboBox2->setInsertPolicy(QComboBox::NoInsert);
    ComboBox2->setGeometry(64, 96, 113, kFieldHeight);
    ComboBox2->setCursor(Qt::PointingHandCursor);
    SetHint(ComboBox2, QStringLiteral("年回表の表題を選択したり、自分で変更設定したりできます。"
                                      "最大７文字まで。"));
    PlaceLabel(this, QStringLiteral("（最大７文字）"), 184, 104)
        ->setObjectName(QStringLiteral("Label91"));

    Label48 = new QLabel(
        QStringLiteral("その他のデータはUlvan表メインフォームのデータに準拠して印刷します。"),
        this);
    Label48->setObjectName(QStringLiteral("Label48"));
    Label48->setGeometry(24, 128, 528, 15);
    Label48->setWordWrap(true);
    Label48->setFont(UiFont(ToQ(kGothic), 15));
    SetTextColour(Label48, QColor(Qt::blue));

    GroupBox2 = new QGroupBox(QStringLiteral("計算結果"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setGeometry(16, 152, 633, 297);
    Label58 =
        PlaceLabel(GroupBox2, QStringLiteral("印刷されるのは、チェックされた最初の１１項目です。"),
                   336, 272, QColor(Qt::red), 13);
    Label58->setObjectName(QStringLiteral("Label58"));
    Panel1 = new QFrame(GroupBox2);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(314, 8, 2, 289);
    Panel1->setFrameShape(QFrame::VLine);
    Panel1->setFrameShadow(QFrame::Sunken);
    BuildRows();

    Button2 = MakeButton(this, "Button2", QStringLiteral("年回表印刷"),
                         QStringLiteral("年回表を印刷します（入力データも印刷）"),
                         QRect(296, 24, 81, 25));
    Button1 = MakeButton(this, "Button1", QStringLiteral("印刷ﾌﾟﾚﾋﾞｭｰ"),
                         QStringLiteral("印刷プレビュー画面を表示"), QRect(408, 24, 81, 25));
    Button4 = MakeButton(this, "Button4", QStringLiteral("空白用紙印刷"),
                         QStringLiteral("空白の年回表用紙を印刷します（入力データは印刷しない）"),
                         QRect(296, 72, 81, 25));
    Button5 = MakeButton(this, "Button5", QStringLiteral("PDFに保存…"),
                         QStringLiteral("年回表をPDFファイルに保存します（プリンタは不要）"),
                         QRect(408, 72, 81, 25));
    Button3 = MakeButton(this, "Button3", QStringLiteral("閉じる"),
                         QStringLiteral("年回表フォームを閉じます"), QRect(568, 72, 81, 25));

    // Tab order: the year group, the results, the buttons, the title, the blank form.
    QWidget* previous = Edit1;
    const auto chain = [this, &previous](QWidget* next) {
        setTabOrder(previous, next);
        previous = next;
    };
    chain(ComboBox1);
    chain(Edit2);
    for (QCheckBox* box : CheckBoxes) {
        chain(box);
    }
    chain(Button1);
    chain(Button2);
    chain(Button5);
    chain(Button3);
    chain(ComboBox2);
    chain(Button4);

    // Creation: the era names of the main window's list, newest first, "－－" last.
    for (const std::u16string& era : m_host.EraItems()) {
        ComboBox1->addItem(ToQ(era));
    }
    ComboBox1->setCurrentIndex(-1);
    ComboBox1->setEditText(QString());
    // The stored title stays as the combo's text after the list is filled.
    const QString title = ToQ(ReadNenkaiTitle(m_host.SettingsFile()));
    ComboBox2->addItems(
        {QStringLiteral("年回表"), QStringLiteral("年忌表"), QStringLiteral("回忌表")});
    ComboBox2->setCurrentIndex(-1);
    ComboBox2->setEditText(title);

    // Events: a change of the year recomputes (typed or set by the program); a key released
    // in a field, the up-down's release and a chosen era bring the other side in step.
    connect(Edit1, &QLineEdit::textChanged, this, &TNenkaiForm::ComputeNenkai);
    Edit1->installEventFilter(this);
    Edit2->installEventFilter(this);
    connect(UpDown1, &UpDown::Stepped, this, &TNenkaiForm::StepYear);
    connect(UpDown1, &UpDown::Released, this, &TNenkaiForm::SyncDeathEra);
    // activated: a list item chosen by the user; selecting in code fires nothing.
    connect(ComboBox1, &QComboBox::activated, this, &TNenkaiForm::DeathYearFromEra);
    connect(Button2, &QPushButton::clicked, this, [this] { PrintNenkaiSheet(false); });
    connect(Button4, &QPushButton::clicked, this, [this] { PrintNenkaiSheet(true); });
    connect(Button5, &QPushButton::clicked, this, [this] { SaveNenkaiSheetPdf(false); });
    connect(Button1, &QPushButton::clicked, this, &TNenkaiForm::ShowPreview);
    connect(Button3, &QPushButton::clicked, this, &QDialog::reject);
}

TNenkaiForm::~TNenkaiForm() = default;

void TNenkaiForm::BuildRows() {
    const auto items = NenkaiItems();
    const QFont nameFont = UiFont(ToQ(kGothic), 12);
    for (int i = 0; i < 21; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const bool left = i < kRowsInLeftColumn;
        const int x = left ? 0 : 312;
        const int row = left ? i : i - kRowsInLeftColumn;
        const int fieldTop = 24 + 24 * row;
        const int labelTop = 32 + 24 * row;

        QLabel* name = PlaceLabel(GroupBox2, RowCaption(items[k].Name), 8 + x, labelTop);
        name->setFont(nameFont);
        name->adjustSize();
        name->setObjectName(ObjectName("Label", 4 + i));
        NameLabels[k] = name;
        PlaceLabel(GroupBox2, QStringLiteral("西暦"), 92 + x, labelTop)
            ->setObjectName(ObjectName("Label", 25 + i));
        const auto field = [this](int number, int fieldLeft, int top, int width) {
            auto* edit = new QLineEdit(GroupBox2);
            edit->setObjectName(ObjectName("Edit", number));
            edit->setGeometry(fieldLeft, top, width, kFieldHeight);
            edit->setReadOnly(true);
            edit->setFocusPolicy(Qt::ClickFocus);
            return edit;
        };
        WesternEdits[k] = field(45 + i, 120 + x, fieldTop, 33);
        PlaceLabel(GroupBox2, QStringLiteral("年("), 156 + x, labelTop)
            ->setObjectName(ObjectName("Label", OpenParenLabel(i)));
        EraNameEdits[k] = field(3 + i, 176 + x, fieldTop, 33);
        EraYearEdits[k] = field(24 + i, 208 + x, fieldTop, 25);
        PlaceLabel(GroupBox2, QStringLiteral("年)"), 236 + x, labelTop)
            ->setObjectName(ObjectName("Label", 69 + i));
        auto* box = new QCheckBox(QStringLiteral("採用"), GroupBox2);
        box->setObjectName(ObjectName("CheckBox", 1 + i));
        box->setGeometry(264 + x, fieldTop, 49, 17);
        box->setChecked(true);
        SetHint(box, QStringLiteral("チェックしたものが印刷されます"));
        CheckBoxes[k] = box;
    }
}

void TNenkaiForm::Open() {
    PrepareShowing();
    if (m_runner) {
        m_runner(*this);
    } else {
        exec();
    }
}

void TNenkaiForm::PrepareShowing() {
    SetText(Edit1, ToQ(m_host.Deceased().KiNen));
    const NenkaiSelection selection = ReadNenkaiSelection(m_host.SettingsFile(), Selection());
    for (std::size_t i = 0; i < CheckBoxes.size(); ++i) {
        CheckBoxes[i]->setChecked(selection[i]);
    }
    SyncDeathEra();
}

std::array<bool, 21> TNenkaiForm::Selection() const {
    std::array<bool, 21> selection{};
    for (std::size_t i = 0; i < CheckBoxes.size(); ++i) {
        selection[i] = CheckBoxes[i]->isChecked();
    }
    return selection;
}

void TNenkaiForm::done(int result) {
    SaveSettings();
    CentredDialog::done(result);
}

void TNenkaiForm::SaveSettings() {
    const QString file = m_host.SettingsFile();
    const bool selectionKept = WriteNenkaiSelection(file, Selection());
    const bool titleKept = WriteNenkaiTitle(file, ToU16(ComboBox2->currentText()));
    if (!selectionKept || !titleKept) {
        m_interaction.ShowMessage(
            u"年回表の設定を保存できませんでした。前回の設定はそのまま残っています。");
    }
}

bool TNenkaiForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Edit1 || watched == Edit2) {
        QSet<int>& down = watched == Edit1 ? m_keysDown1 : m_keysDown2;
        if (event->type() == QEvent::KeyPress) {
            down.insert(static_cast<QKeyEvent*>(event)->key());
        } else if (event->type() == QEvent::KeyRelease) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (!key->isAutoRepeat() && down.remove(key->key())) {
                if (watched == Edit1) {
                    SyncDeathEra();
                } else {
                    DeathYearFromEra();
                }
            }
        } else if (event->type() == QEvent::FocusOut) {
            down.clear();
        }
    }
    return CentredDialog::eventFilter(watched, event);
}

void TNenkaiForm::ComputeNenkai() {
    const DeceasedData main = m_host.Deceased();
    const auto results = ulvan::ComputeNenkai(ToU16(Edit1->text()), main.KiGatsu, main.KiNichi);
    if (!results) {
        ClearNenkai();
        return;
    }
    for (std::size_t i = 0; i < results->size(); ++i) {
        SetText(WesternEdits[i], ToQ((*results)[i].WesternYear));
        SetText(EraNameEdits[i], ToQ((*results)[i].EraName));
        SetText(EraYearEdits[i], ToQ((*results)[i].EraYear));
    }
}

void TNenkaiForm::ClearNenkai() {
    for (std::size_t i = 0; i < WesternEdits.size(); ++i) {
        SetText(WesternEdits[i], QString());
        SetText(EraNameEdits[i], QString());
        SetText(EraYearEdits[i], QString());
    }
}

void TNenkaiForm::SyncDeathEra() {
    QString wareki = QStringLiteral("－－--");
    if (const std::optional<std::int32_t> year = ParseInt(ToU16(Edit1->text()))) {
        const DeceasedData main = m_host.Deceased();
        const std::int32_t month = ParseIntOr(main.KiGatsu, 0);
        const std::int32_t day = ParseIntOr(main.KiNichi, 0);
        wareki =
            ToQ(m_askEra ? WarekiOf(*year, month, day, &m_askEra) : WarekiOf(*year, month, day));
    }
    const EraFields fields = EraFieldsOf(ToU16(wareki));
    const int index = ComboBox1->findText(ToQ(fields.EraName), Qt::MatchExactly);
    ComboBox1->setCurrentIndex(index);
    if (index < 0) {
        ComboBox1->setEditText(QString());
    }
    SetText(Edit2, ToQ(fields.EraYear));
}

void TNenkaiForm::DeathYearFromEra() {
    if (const std::optional<QString> year = WesternYearFromEra(*ComboBox1, Edit2->text())) {
        SetText(Edit1, *year);
    }
}

void TNenkaiForm::StepYear(int delta) {
    const std::optional<std::int32_t> year = ParseInt(ToU16(Edit1->text()));
    if (!year) {
        m_interaction.Beep(BeepKind::Default);
        return;
    }
    SetText(Edit1, ToQ(DecimalText(std::int64_t{*year} + delta)));
}

NenkaiSheetInputs TNenkaiForm::ReadInputs() const {
    NenkaiSheetInputs inputs;
    inputs.Deceased = m_host.Deceased();
    inputs.Options = m_host.Options();
    inputs.Footer = m_host.Footer();
    inputs.Chart.Title = ToU16(ComboBox2->currentText());
    inputs.Chart.Year = ToU16(Edit1->text());
    inputs.Chart.Era = ToU16(ComboBox1->currentText());
    inputs.Chart.EraYear = ToU16(Edit2->text());
    std::array<NenkaiResult, 21> results;
    for (std::size_t i = 0; i < results.size(); ++i) {
        results[i] = NenkaiResult{ToU16(WesternEdits[i]->text()), ToU16(EraNameEdits[i]->text()),
                                  ToU16(EraYearEdits[i]->text())};
    }
    inputs.Chart.Rows = NenkaiPrintedRows(results, Selection());
    return inputs;
}

void TNenkaiForm::PrintNenkaiSheet(bool blank) {
    NenkaiSheetInputs inputs = ReadInputs();
    const FooterLayout before = inputs.Footer;
    ulvan::PrintNenkaiSheet(blank, inputs, m_printer, m_interaction, this);
    if (!(inputs.Footer == before)) {
        m_host.SetFooter(inputs.Footer);
    }
}

bool TNenkaiForm::SaveNenkaiSheetPdf(bool blank) {
    NenkaiSheetInputs inputs = ReadInputs();
    const FooterLayout before = inputs.Footer;
    const bool written = SaveSheetPdf(NenkaiPdfJob(blank, inputs), m_interaction, this);
    if (!(inputs.Footer == before)) {
        m_host.SetFooter(inputs.Footer);
    }
    return written;
}

void TNenkaiForm::ShowPreview() {
    m_host.ShowPreview(PreviewKind::Annual);
}

void TNenkaiForm::PaintPreview(Canvas& canvas, int previewWidth, int previewHeight,
                               FooterDrawRequest& request) {
    NenkaiSheetInputs inputs = ReadInputs();
    const FooterLayout before = inputs.Footer;
    DrawNenkaiPreview(canvas, previewWidth, previewHeight, inputs, request);
    if (!(inputs.Footer == before)) {
        m_host.SetFooter(inputs.Footer);
    }
}

} // namespace ulvan
