#include "quicktable/HayamiUnit.h"

#include "calendar/Era.h"
#include "calendar/TextUtil.h"
#include "case/AtomicFile.h"
#include "case/CaseHost.h"
#include "quicktable/QuickTable.h"
#include "quicktable/TextPrint.h"
#include "resources/ToolIcons.h"
#include "sheet/QtText.h"
#include "ui/DialogSupport.h"
#include "ui/Interaction.h"
#include "ui/UpDown.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPdfWriter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace ulvan {

namespace {

constexpr int kClientWidth = 583;
constexpr int kClientHeight = 376;
constexpr int kTextPixelSize = 15;
constexpr const char16_t* kMincho = u"ＭＳ 明朝";
const QString kFilter = QStringLiteral("テキストファイル (*.txt);;すべてのファイル (*)");
const QString kWarningCaption = QStringLiteral("警告");
const QString kPrintCaption = QStringLiteral("印刷");
const QString kNoPrinterQuestion =
    QStringLiteral("印刷できるプリンタが設定されていません。\nPDF ファイルとして保存しますか？");
const QString kPdfCaption = QStringLiteral("PDF ファイルとして保存");
constexpr qreal kPdfMarginMm = 10.0;
const QString kPdfFilter = QStringLiteral("PDF ファイル (*.pdf)");
const QString kPrintNotStarted =
    QStringLiteral("プリンタに印刷を始められませんでした。\n印刷は行われていません。");
const QString kPrintBroken =
    QStringLiteral("印刷を正しく終えられませんでした。\nプリンタを確かめてください。");
// Larger files are not opened: no quick table comes near it, and the text area would keep
// the window busy laying such a file out.
constexpr qint64 kMaxTextFileBytes = 64LL * 1024 * 1024;
// How many of the characters code page 932 cannot hold the question names.
constexpr std::size_t kNamedCharacters = 5;

// "「é」(U+00E9)"; a lone surrogate, which cannot be shown, by its number alone.
QString CharacterText(std::uint32_t value) {
    const QString number =
        QStringLiteral("U+") + QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0')).toUpper();
    if (value >= 0xD800 && value <= 0xDFFF)
        return number;
    const char32_t c = value;
    return QStringLiteral("「%1」(%2)").arg(QString::fromUcs4(&c, 1), number);
}

} // namespace

THayamiForm::THayamiForm(CaseHost& host, Interaction& interaction, QPrinter& printer,
                         QWidget* parent)
    : QDialog(parent)
    , m_host(host)
    , m_interaction(interaction)
    , m_printer(printer) {
    BuildWindow();
}

void THayamiForm::BuildWindow() {
    setObjectName(QStringLiteral("HayamiForm"));
    setFont(DefaultUiFont());
    setSizeGripEnabled(true);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    const auto makeAction = [this](const char* name, const QString& caption, const QString& hint) {
        auto* action = new QAction(caption, this);
        action->setObjectName(QString::fromLatin1(name));
        action->setStatusTip(hint);
        return action;
    };
    const QString hintOpen = QStringLiteral("テキストファイルを開きます");
    const QString hintPrint = QStringLiteral("テキストを印刷します");
    const QString hintCut = QStringLiteral("選択範囲を切り取ります");
    const QString hintCopy = QStringLiteral("クリップポードにコピーします");
    const QString hintPaste = QStringLiteral("クリップボードからテキストを貼り付けます");
    const QString hintDelete = QStringLiteral("選択範囲を削除します");
    const QString hintSelectAll = QStringLiteral("テキストの全てを選択します");

    Open1 = makeAction("Open1", QStringLiteral("開く(&O)"), hintOpen);
    SaveAs1 = makeAction("SaveAs1", QStringLiteral("名前を付けて保存(&A)"),
                         QStringLiteral("テキストファイルとして保存します"));
    Print1 = makeAction("Print1", QStringLiteral("印刷(&P)"), hintPrint);
    Exit1 = makeAction("Exit1", QStringLiteral("年回早見表の終了(&X)"),
                       QStringLiteral("年回早見表を終了します"));
    Cut1 = makeAction("Cut1", QStringLiteral("切り取り(&T)"), hintCut);
    Copy1 = makeAction("Copy1", QStringLiteral("ｺﾋﾟｰ(&C)"), hintCopy);
    Paste1 = makeAction("Paste1", QStringLiteral("貼り付け(&P)"), hintPaste);
    Delete1 = makeAction("Delete1", QStringLiteral("削除(&D)"), hintDelete);
    SelectAll1 = makeAction("SelectAll1", QStringLiteral("すべて選択(&A)"), hintSelectAll);
    SearchforHelpOn1 = makeAction("SearchforHelpOn1", QStringLiteral("ﾄﾋﾟｯｸの検索(&S)..."),
                                  QStringLiteral("ヘルプトピックの検索ダイアログを表示します"));
    Cut2 = makeAction("Cut2", QStringLiteral("切り取り(&T)"), hintCut);
    C1 = makeAction("C1", QStringLiteral("コピー(&C)"), hintCopy);
    Paste2 = makeAction("Paste2", QStringLiteral("貼り付け(&P)"), hintPaste);
    Delete2 = makeAction("Delete2", QStringLiteral("削除(&D)"), hintDelete);
    rw1 = makeAction("rw1", QStringLiteral("すべて選択(&A)"), hintSelectAll);

    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    QMenu* file = MainMenu1->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    file->setObjectName(QStringLiteral("File1"));
    file->addActions({Open1, SaveAs1, Print1});
    file->addSeparator();
    file->addAction(Exit1);
    QMenu* edit = MainMenu1->addMenu(QStringLiteral("編集(&E)"));
    edit->setObjectName(QStringLiteral("Edit1"));
    edit->addActions({Cut1, Copy1, Paste1, Delete1});
    edit->addSeparator();
    edit->addAction(SelectAll1);
    QMenu* help = MainMenu1->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    help->setObjectName(QStringLiteral("Help1"));
    help->addAction(SearchforHelpOn1);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopupMenu1->addActions({Cut2, C1, Paste2, Delete2});
    PopupMenu1->addSeparator();
    PopupMenu1->addAction(rw1);

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setIconSize(QSize(16, 16));
    const auto makeButton = [this](const char* name, ToolIconId icon, const QString& text,
                                   const QString& hint) {
        auto* button = new QToolButton(ToolBar1);
        button->setObjectName(QString::fromLatin1(name));
        button->setIcon(ToolIcon(icon));
        button->setText(text);
        button->setToolTip(hint);
        button->setStatusTip(hint);
        button->setAutoRaise(true);
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        ToolBar1->addWidget(button);
        return button;
    };
    ToolBar1->addSeparator();
    ToolButton2 = makeButton("ToolButton2", ToolIconId::OpenText, QStringLiteral("開く"), hintOpen);
    ToolButton3 = makeButton("ToolButton3", ToolIconId::SaveText, QStringLiteral("保存"),
                             QStringLiteral("テキストファイルとして名前をつけて保存します"));
    ToolButton4 = makeButton("ToolButton4", ToolIconId::Print, QStringLiteral("印刷"), hintPrint);
    ToolBar1->addSeparator();
    ToolButton6 = makeButton("ToolButton6", ToolIconId::Cut, QStringLiteral("切取"), hintCut);
    ToolButton7 = makeButton("ToolButton7", ToolIconId::Copy, QStringLiteral("ｺﾋﾟｰ"), hintCopy);
    ToolButton8 = makeButton("ToolButton8", ToolIconId::Paste, QStringLiteral("貼付"), hintPaste);
    ToolButton9 = makeButton("ToolButton9", ToolIconId::Delete, QStringLiteral("削除"), hintDelete);
    ToolBar1->addSeparator();

    auto* yearBox = new QWidget(ToolBar1);
    auto* yearRow = new QHBoxLayout(yearBox);
    yearRow->setContentsMargins(4, 0, 4, 0);
    yearRow->setSpacing(3);
    auto* label1 = new QLabel(QStringLiteral("西暦"), yearBox);
    label1->setObjectName(QStringLiteral("Label1"));
    Edit2 = new QLineEdit(yearBox);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setFixedWidth(40);
    LimitUserInput(Edit2, 4);
    UpDown1 = new UpDown(yearBox);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    UpDown1->setFixedSize(15, 21);
    auto* label2 = new QLabel(QStringLiteral("年"), yearBox);
    label2->setObjectName(QStringLiteral("Label2"));
    ComboBox1 = new QComboBox(yearBox);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setFixedWidth(60);
    for (const std::u16string& era : m_host.EraItems())
        ComboBox1->addItem(ToQ(era));
    Edit3 = new QLineEdit(yearBox);
    Edit3->setObjectName(QStringLiteral("Edit3"));
    Edit3->setFixedWidth(28);
    LimitUserInput(Edit3, 2);
    auto* label4 = new QLabel(QStringLiteral("年度年回早見表"), yearBox);
    label4->setObjectName(QStringLiteral("Label4"));
    Button1 = new QPushButton(QStringLiteral("再計算"), yearBox);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);
    for (QWidget* widget : std::initializer_list<QWidget*>{label1, Edit2, UpDown1, label2,
                                                           ComboBox1, Edit3, label4, Button1})
        yearRow->addWidget(widget);
    ToolBar1->addWidget(yearBox);

    RichEdit1 = new QPlainTextEdit(this);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setFont(UiFont(ToQ(kMincho), kTextPixelSize));
    RichEdit1->setLineWrapMode(QPlainTextEdit::NoWrap);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setContextMenuPolicy(Qt::CustomContextMenu);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(MainMenu1);
    layout->addWidget(ToolBar1);
    layout->addWidget(RichEdit1, 1);
    layout->addWidget(StatusBar1);
    resize(kClientWidth, kClientHeight);

    // Events.
    Edit2->installEventFilter(this);
    Edit3->installEventFilter(this);
    connect(UpDown1, &UpDown::Stepped, this, &THayamiForm::StepYear);
    connect(UpDown1, &UpDown::Released, this, [this] {
        // A refused step (a year that is not an integer) changed nothing.
        if (Edit2->text() == m_tableYear)
            return;
        SyncFiscalEra();
        BuildQuickTable();
    });
    connect(ComboBox1, &QComboBox::activated, this, [this] {
        FiscalYearFromEra();
        BuildQuickTable();
    });
    connect(Button1, &QPushButton::clicked, this, &THayamiForm::BuildQuickTable);
    connect(RichEdit1, &QPlainTextEdit::textChanged, this, &THayamiForm::UpdateCommandStates);
    connect(RichEdit1, &QPlainTextEdit::selectionChanged, this, &THayamiForm::UpdateCommandStates);
    connect(RichEdit1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        PopupMenu1->popup(RichEdit1->viewport()->mapToGlobal(at));
    });
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this,
            &THayamiForm::UpdateCommandStates);

    const auto cut = [this] {
        RichEdit1->cut();
        UpdateCommandStates();
    };
    const auto copy = [this] {
        RichEdit1->copy();
        UpdateCommandStates();
    };
    const auto paste = [this] { RichEdit1->paste(); };
    const auto erase = [this] { RichEdit1->textCursor().removeSelectedText(); };
    const auto selectAll = [this] { RichEdit1->selectAll(); };
    for (QAction* action : {Cut1, Cut2})
        connect(action, &QAction::triggered, this, cut);
    for (QAction* action : {Copy1, C1})
        connect(action, &QAction::triggered, this, copy);
    for (QAction* action : {Paste1, Paste2})
        connect(action, &QAction::triggered, this, paste);
    for (QAction* action : {Delete1, Delete2})
        connect(action, &QAction::triggered, this, erase);
    for (QAction* action : {SelectAll1, rw1})
        connect(action, &QAction::triggered, this, selectAll);
    connect(ToolButton6, &QToolButton::clicked, this, cut);
    connect(ToolButton7, &QToolButton::clicked, this, copy);
    connect(ToolButton8, &QToolButton::clicked, this, paste);
    connect(ToolButton9, &QToolButton::clicked, this, erase);
    connect(Open1, &QAction::triggered, this, &THayamiForm::OpenFile);
    connect(ToolButton2, &QToolButton::clicked, this, &THayamiForm::OpenFile);
    connect(SaveAs1, &QAction::triggered, this, &THayamiForm::SaveAs);
    connect(ToolButton3, &QToolButton::clicked, this, &THayamiForm::SaveAs);
    connect(Print1, &QAction::triggered, this, &THayamiForm::PrintText);
    connect(ToolButton4, &QToolButton::clicked, this, &THayamiForm::PrintText);
    connect(Exit1, &QAction::triggered, this, &QWidget::close);
    connect(SearchforHelpOn1, &QAction::triggered, this, [this] {
        if (OnHelp)
            OnHelp(QString::fromLatin1(kQuickTableHelpAnchor));
    });
}

void THayamiForm::Execute() {
    const int year = m_host.CurrentDate().year();
    Edit2->setText(QStringLiteral("%1").arg(year, 4, 10, QLatin1Char('0')));
    CentreOnScreen(this);
    exec();
}

void THayamiForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        SyncFiscalEra();
        BuildQuickTable();
    }
}

bool THayamiForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyRelease) {
        // A key that left the field's text as the table was made from (Tab into the
        // field, an arrow key, Shift) does not throw the user's edits away.
        if (watched == Edit2 && Edit2->text() != m_tableYear) {
            SyncFiscalEra();
            BuildQuickTable();
        } else if (watched == Edit3 && Edit3->text() != m_tableEraYear) {
            FiscalYearFromEra();
            BuildQuickTable();
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool THayamiForm::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        StatusBar1->showMessage(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QDialog::event(event);
}

void THayamiForm::reject() {
    if (AskToSave())
        QDialog::reject();
}

void THayamiForm::SetCaption(const QString& caption) {
    m_caption = caption;
    // A "[*]" in a file name is text here, not Qt's modified mark.
    QString shown = caption;
    shown.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    setWindowTitle(shown);
}

void THayamiForm::BuildQuickTable() {
    const auto table = ulvan::BuildQuickTable(ToU16(Edit2->text()), ToU16(ComboBox1->currentText()),
                                              ToU16(Edit3->text()));
    if (!table) {
        RichEdit1->clear();
    } else {
        RichEdit1->setPlainText(ToQ(table->Text));
        m_openedPath.clear();
        SetCaption(ToQ(table->Caption));
    }
    RichEdit1->document()->setModified(false);
    m_tableYear = Edit2->text();
    m_tableEraYear = Edit3->text();
    UpdateCommandStates();
}

void THayamiForm::SyncFiscalEra() {
    const EraFields era = ulvan::SyncFiscalEra(ToU16(Edit2->text()));
    const int index = ComboBox1->findText(ToQ(era.EraName), Qt::MatchExactly);
    ComboBox1->setCurrentIndex(index);
    if (index < 0)
        ComboBox1->setEditText(QString());
    Edit3->setText(ToQ(era.EraYear));
}

void THayamiForm::FiscalYearFromEra() {
    // The combo's text typed to something that is no era leaves the year as it is.
    if (const std::optional<QString> year = WesternYearFromEra(*ComboBox1, Edit3->text()))
        Edit2->setText(*year);
}

void THayamiForm::StepYear(int delta) {
    const std::optional<std::int32_t> year = ParseInt(ToU16(Edit2->text()));
    if (!year) {
        m_interaction.Beep(BeepKind::Default);
        return;
    }
    Edit2->setText(ToQ(DecimalText(std::int64_t{*year} + delta)));
}

void THayamiForm::UpdateCommandStates() {
    const bool pasteable = !QApplication::clipboard()->text().isEmpty();
    for (QAction* action : {Paste1, Paste2})
        action->setEnabled(pasteable);
    ToolButton8->setEnabled(pasteable);
    const bool selected = RichEdit1->textCursor().hasSelection();
    for (QAction* action : {Cut1, Cut2, Copy1, C1, Delete1, Delete2})
        action->setEnabled(selected);
    for (QToolButton* button : {ToolButton6, ToolButton7, ToolButton9})
        button->setEnabled(selected);
}

bool THayamiForm::AskToSave() {
    if (!RichEdit1->document()->isModified())
        return true;
    m_interaction.Beep(BeepKind::Exclamation);
    const QString text = QStringLiteral("ﾌｧｲﾙ") + m_caption +
                         QStringLiteral("の内容が変更されています。\n変更を保存しますか？");
    switch (m_interaction.AskYesNoCancel(kWarningCaption, text)) {
    case Interaction::Choice::Yes:
        // A save dialog left without saving keeps the edits and abandons the operation.
        return SaveAs();
    case Interaction::Choice::No:
        return true;
    case Interaction::Choice::Cancel:
        break;
    }
    return false;
}

void THayamiForm::OpenFile() {
    if (!AskToSave())
        return;
    const QString path =
        m_interaction.OpenFileName(this, QStringLiteral("開く"), m_folder, kFilter);
    if (path.isEmpty())
        return;
    const auto refuse = [this, &path](const QString& reason) {
        m_interaction.ShowMessage(
            ToU16(QStringLiteral("ファイル「%1」を開けませんでした。\n理由: %2")
                      .arg(QDir::toNativeSeparators(path), reason)));
    };
    // A folder, a pipe or a device is not read (a pipe would block the window).
    if (const QFileInfo info(path); info.exists() && !info.isFile()) {
        refuse(QStringLiteral("通常のファイルではありません"));
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        refuse(file.errorString());
        return;
    }
    const QByteArray bytes = file.read(kMaxTextFileBytes + 1);
    if (bytes.size() > kMaxTextFileBytes) {
        refuse(QStringLiteral("ファイルが大きすぎます（64 MB まで）"));
        return;
    }
    if (file.error() != QFileDevice::NoError) {
        m_interaction.ShowMessage(
            ToU16(QStringLiteral("ファイル「%1」を読み込めませんでした。\n理由: %2")
                      .arg(QDir::toNativeSeparators(path), file.errorString())));
        return;
    }
    const TextFileContent content = DecodeTextFile(bytes);
    const QString fullPath = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    SetCaption(fullPath);
    m_openedPath = fullPath;
    m_folder = QFileInfo(path).absolutePath();
    m_encoding = content.Encoding;
    RichEdit1->setPlainText(content.Text);
    RichEdit1->document()->setModified(false);
    UpdateCommandStates();
    if (content.Unreadable > 0) {
        m_interaction.ShowMessage(
            ToU16(QStringLiteral("ファイル「%1」には%2として読み取れない部分が %3 箇所あります。\n"
                                 "その部分は「\uFFFD」で表示しています。")
                      .arg(fullPath, EncodingName(content.Encoding))
                      .arg(content.Unreadable)));
    }
}

bool THayamiForm::SaveAs() {
    // A file opened earlier is proposed under its own name, not with ".txt" added again.
    const QString proposed = (!m_openedPath.isEmpty() && m_caption == m_openedPath)
                                 ? m_openedPath
                                 : InFolder(m_caption + QStringLiteral(".txt"));
    const QString path =
        m_interaction.SaveFileName(this, QStringLiteral("名前を付けて保存"), proposed, kFilter);
    if (path.isEmpty())
        return false;
    return WriteTo(path);
}

bool THayamiForm::WriteTo(const QString& path) {
    const QString text = RichEdit1->toPlainText();
    TextEncoding encoding = m_encoding;
    std::vector<CodecProblem> problems;
    QByteArray bytes = EncodeTextFile(text, encoding, &problems);
    if (!problems.empty()) {
        QStringList named;
        for (std::size_t i = 0; i < problems.size() && i < kNamedCharacters; ++i)
            named.append(CharacterText(problems[i].Value));
        QString list = named.join(QStringLiteral("、"));
        if (problems.size() > kNamedCharacters)
            list += QStringLiteral(" ほか");
        m_interaction.Beep(BeepKind::Exclamation);
        const QString question =
            QStringLiteral("次の文字は Shift-JIS で保存できません（全部で %1 文字）:\n%2\n\n"
                           "UTF-8（BOM付き）で保存しますか？\n"
                           "「いいえ」を選ぶと保存を中止します。")
                .arg(problems.size())
                .arg(list);
        if (!m_interaction.Confirm(Interaction::ConfirmKind::Warning, kWarningCaption, question))
            return false;
        encoding = TextEncoding::Utf8Bom;
        bytes = EncodeTextFile(text, encoding, nullptr);
    }
    const bool existed = QFileInfo::exists(path);
    if (const FileWriteResult written = WriteFileAtomically(path, bytes); !written) {
        QString message = QStringLiteral("保存できませんでした。\n") + written.Message;
        if (existed)
            message += QStringLiteral("\n元のファイルは変更されていません。");
        m_interaction.ShowMessage(ToU16(message));
        return false;
    }
    // Once accepted, UTF-8 with its mark stays the encoding for the run.
    m_encoding = encoding;
    m_folder = QFileInfo(path).absolutePath();
    RichEdit1->document()->setModified(false);
    return true;
}

QString THayamiForm::AskPdfFile() {
    m_interaction.Beep(BeepKind::Exclamation);
    if (!m_interaction.Confirm(Interaction::ConfirmKind::Question, kPrintCaption,
                               kNoPrinterQuestion))
        return {};
    return m_interaction.SaveFileName(this, kPdfCaption,
                                      InFolder(m_caption + QStringLiteral(".pdf")), kPdfFilter);
}

QString THayamiForm::InFolder(const QString& name) const {
    // A caption that is a full path stays as it is.
    if (m_folder.isEmpty() || QFileInfo(name).isAbsolute())
        return name;
    return QDir(m_folder).filePath(name);
}

void THayamiForm::PrintText() {
    const bool available = PrinterAvailable ? PrinterAvailable()
                                            : m_printer.outputFormat() == QPrinter::NativeFormat &&
                                                  !m_printer.printerName().isEmpty();
    QFont font = RichEdit1->font();
    // The text area's face at its size on the screen (15 pixels at 96 dots per inch).
    font.setPointSizeF(kTextPixelSize * 72.0 / 96.0);
    if (available) {
        m_printer.setDocName(m_caption);
        const TextPrintResult result = PrintPlainText(RichEdit1->toPlainText(), font, m_printer);
        if (result != TextPrintResult::Printed)
            m_interaction.ShowMessage(
                ToU16(result == TextPrintResult::NotStarted ? kPrintNotStarted : kPrintBroken));
        return;
    }
    const QString path = AskPdfFile();
    if (path.isEmpty())
        return;
    // The pages are made in memory and the file replaced whole, as every file is written.
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    TextPrintResult result = TextPrintResult::NotStarted;
    {
        QPdfWriter writer(&pdf);
        writer.setTitle(m_caption);
        writer.setCreator(QApplication::applicationName());
        writer.setResolution(m_printer.resolution());
        // A PDF has no unprintable edge of its own; it keeps the margin a printer needs when
        // the file is printed later at its size.
        QPageLayout layout = m_printer.pageLayout();
        layout.setUnits(QPageLayout::Millimeter);
        const QMarginsF margins = layout.margins();
        layout.setMargins(QMarginsF(
            std::max(margins.left(), kPdfMarginMm), std::max(margins.top(), kPdfMarginMm),
            std::max(margins.right(), kPdfMarginMm), std::max(margins.bottom(), kPdfMarginMm)));
        writer.setPageLayout(layout);
        result = PrintPlainText(RichEdit1->toPlainText(), font, writer);
    }
    if (result != TextPrintResult::Printed) {
        m_interaction.ShowMessage(ToU16(kPrintBroken));
        return;
    }
    if (const FileWriteResult written = WriteFileAtomically(path, pdf.data()); !written)
        m_interaction.ShowMessage(ToU16(written.Message));
}

} // namespace ulvan
