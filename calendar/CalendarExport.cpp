#include "calendar/CalendarExport.h"

#include "calendar/ICalendar.h"
#include "case/AtomicFile.h"
#include "case/CaseHost.h"
#include "sheet/QtText.h"
#include "ui/Interaction.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace ulvan {
namespace {

// An earlier calendar file larger than this is not one of ours: its sequences are not read.
constexpr qint64 kMaxEarlierCalendarBytes = 16 * 1024 * 1024;

UtcStamp NowStamp() {
    const QDateTime now = QDateTime::currentDateTimeUtc();
    return {now.date().year(), now.date().month(),  now.date().day(),
            now.time().hour(), now.time().minute(), now.time().second()};
}

// A file name from the secular name, without characters a file name cannot hold.
QString SuggestedName(const std::u16string& zokumyo) {
    QString name = ToQ(zokumyo).simplified();
    for (QChar& c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 0x20)
            c = QLatin1Char('_');
    }
    if (name.isEmpty())
        name = QStringLiteral("忌日");
    return name + QStringLiteral(".ics");
}

} // namespace

bool ExportMemorialCalendar(CaseHost& host, Interaction& interaction, QWidget* parent) {
    const DeceasedData deceased = host.Deceased();
    CalendarRequest request;
    request.Year = deceased.KiNen;
    request.Month = deceased.KiGatsu;
    request.Day = deceased.KiNichi;
    request.Zokumyo = deceased.Zokumyo;
    request.Schedule = host.Schedule();
    request.Stamp = NowStamp();
    // A first look, so that a date that is no date is said before any question.
    if (BuildMemorialCalendar(request).Result != CalendarResult::Status::Written) {
        interaction.ShowMessage(u"命日の年・月・日が正しい日付ではないため、カレンダーに書き出せ"
                                u"ません（西暦1〜9999年の実在する日を入れて下さい）。");
        return false;
    }
    request.Annual =
        interaction.Confirm(Interaction::ConfirmKind::Question,
                            QStringLiteral("カレンダーに書き出す"), ToQ(kAnnualQuestion));
    const QString path = interaction.SaveFileName(
        parent, QStringLiteral("カレンダーに書き出す"),
        QDir::home().filePath(SuggestedName(deceased.Zokumyo)),
        QStringLiteral("iCalendar ファイル (*.ics);;すべてのファイル (*)"));
    if (path.isEmpty())
        return false;
    QFile earlier(path);
    if (QFileInfo(path).isFile() && earlier.size() <= kMaxEarlierCalendarBytes &&
        earlier.open(QIODevice::ReadOnly)) {
        request.EarlierEvents = ReadEarlierEvents(earlier.readAll().toStdString());
    }
    const CalendarResult result = BuildMemorialCalendar(request);
    if (const FileWriteResult written =
            WriteFileAtomically(path, QByteArray::fromStdString(result.Text));
        !written) {
        interaction.ShowMessage(ToU16(written.Message));
        return false;
    }
    if (!result.Skipped.empty()) {
        std::u16string text = u"次の忌日は日付にならないため、書き出していません。\n";
        for (const std::u16string& line : result.Skipped)
            text += u"\n" + line;
        interaction.ShowMessage(text);
    }
    host.ShowStatusMessage(QStringLiteral("カレンダーに %1 件の予定を書き出しました: %2")
                               .arg(result.Events.size())
                               .arg(path));
    return true;
}

} // namespace ulvan
