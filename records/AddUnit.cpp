#include "records/AddUnit.h"

#include "case/CaseHost.h"
#include "case/StoredCase.h"
#include "records/RecordFileIo.h"
#include "records/RecordLine.h"
#include "ui/Interaction.h"

#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace ulvan {

TAddForm::TAddForm(CaseHost& host, Interaction& interaction, QWidget* parent)
    : CentredDialog(parent)
    , m_host(host)
    , m_interaction(interaction) {
    setObjectName(QStringLiteral("AddForm"));
    constexpr int kWidth = 320;
    MakeFixedDialog(this, QStringLiteral("ファイルへデータを追記"), kWidth, 234);

    Label1 = PlaceLabel(this, QStringLiteral("ファイル名"), 16, 16);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(16, 36, 209, 21);
    Button1 = new QPushButton(QStringLiteral("参照"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(232, 34, 73, 25);
    Button1->setAutoDefault(false);
    Button1->setToolTip(QStringLiteral("ファイル参照のダイアログボックスを表示します"));

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::HLine);
    Panel1->setFrameShadow(QFrame::Sunken);
    Panel1->setGeometry(8, 74, kWidth - 16, 2);

    Label2 = PlaceLabel(this, QStringLiteral("このファイルの末尾行にデータを追記します"), 16, 92,
                        QColor(0, 0, 128), 19);
    Label2->setObjectName(QStringLiteral("Label2"));
    QFont bold = Label2->font();
    bold.setBold(true);
    Label2->setFont(bold);
    Label2->setWordWrap(true);
    Label2->setGeometry(16, 92, kWidth - 32, 60);

    Button2 = new QPushButton(QStringLiteral("OK"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(64, 184, 75, 25);
    Button2->setDefault(true);
    Button3 = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setGeometry(180, 184, 75, 25);
    Button3->setAutoDefault(false);

    connect(Button1, &QPushButton::clicked, this, &TAddForm::Browse);
    connect(Button2, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button3, &QPushButton::clicked, this, &QDialog::reject);
}

void TAddForm::Run() {
    Edit1->setText(ToQ(ReadDataFileName(m_host.SettingsFile())));
    if (exec() == QDialog::Accepted)
        AppendRecord();
}

void TAddForm::done(int result) {
    // The name is a convenience; a store that cannot be written costs only the default.
    WriteDataFileName(m_host.SettingsFile(), ToU16(Edit1->text()));
    CentredDialog::done(result);
}

void TAddForm::Browse() {
    // The record is added to the chosen file, never written over it: nothing to confirm.
    const QString path = m_interaction.AppendFileName(
        this, QStringLiteral("ﾌｧｲﾙ名の参照"), Edit1->text(),
        QStringLiteral("テキストファイル (*.txt);;すべてのファイル (*)"));
    if (!path.isEmpty())
        Edit1->setText(path);
}

bool TAddForm::AppendRecord() {
    const QString path = Edit1->text();
    if (path.trimmed().isEmpty()) {
        m_interaction.ShowMessage(
            u"追記するファイルの名前がありません。\nファイルには何も追記していません。");
        return false;
    }
    const std::u16string line = WriteRecordLine(m_host.Deceased());
    const AppendResult result = AppendRecordLine(
        path, line, [&](RecordEncoding encoding, const std::vector<char32_t>& lost) {
            m_interaction.Beep(BeepKind::Exclamation);
            return m_interaction.Confirm(Interaction::ConfirmKind::Warning, windowTitle(),
                                         LostCharsQuestion(encoding, lost));
        });
    switch (result.Result) {
    case AppendResult::Status::Appended:
        m_host.ShowStatusMessage(AppendedStatusText(QDir::toNativeSeparators(path)));
        return true;
    case AppendResult::Status::Declined:
        return false;
    case AppendResult::Status::Refused:
        m_interaction.ShowMessage(
            ToU16(AppendRefusalText(QDir::toNativeSeparators(path), result.Check)));
        return false;
    case AppendResult::Status::Failed:
        break;
    }
    m_interaction.ShowMessage(ToU16(AppendFailureText(QDir::toNativeSeparators(path), result)));
    return false;
}

} // namespace ulvan
