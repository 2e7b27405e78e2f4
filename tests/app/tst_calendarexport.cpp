// "カレンダーに書き出す…": the case's memorial days written as an iCalendar file through the
// question and the save dialog.
#include "FakeHost.h"
#include "ScriptedInteraction.h"
#include "calendar/CalendarExport.h"
#include "calendar/ICalendar.h"
#include "calendar/Schedule.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace ulvan;

namespace {

std::vector<std::string> Starts(const QString& path) {
    QFile file(path);
    std::vector<std::string> starts;
    if (!file.open(QIODevice::ReadOnly))
        return starts;
    for (const std::string& line : UnfoldCalendarLines(file.readAll().toStdString())) {
        if (line.starts_with("DTSTART;VALUE=DATE:"))
            starts.push_back(line.substr(19));
    }
    return starts;
}

} // namespace

class TestCalendarExport : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    FakeHost m_host;
    ScriptedInteraction m_interaction;

    void SetDeath(std::u16string y, std::u16string m, std::u16string d) {
        m_host.DeceasedValue.KiNen = y;
        m_host.DeceasedValue.KiGatsu = m;
        m_host.DeceasedValue.KiNichi = d;
        m_host.DeceasedValue.Zokumyo = u"青木一郎";
        m_host.ScheduleValue = DefaultSchedule();
        ComputeSchedule(y, m, d, m_host.ScheduleValue);
    }

private Q_SLOTS:
    void init() {
        m_host = FakeHost();
        m_interaction.ClearRecords();
    }
    void cleanup() { QCOMPARE(m_interaction.PendingAnswers(), std::size_t(0)); }

    void writesTheNineDaysOrMore_data() {
        QTest::addColumn<bool>("annual");
        QTest::newRow("nine days") << false;
        QTest::newRow("with the annual memorials") << true;
    }
    void writesTheNineDaysOrMore() {
        QFETCH(bool, annual);
        SetDeath(u"2024", u"12", u"20");
        const QString path = m_dir.filePath(QStringLiteral("a%1.ics").arg(annual));
        m_interaction.AnswerConfirm(annual);
        m_interaction.AnswerSaveFile(path);
        QVERIFY(ExportMemorialCalendar(m_host, m_interaction, nullptr));
        const std::vector<std::string> starts = Starts(path);
        QCOMPARE(starts.size(), std::size_t(annual ? 20 : 9));
        QCOMPARE(starts[0], std::string("20241225"));
        QCOMPARE(starts[8], std::string("20250328"));
        QCOMPARE(m_interaction.Questions.size(), std::size_t(1));
        QCOMPARE(m_interaction.Questions[0].Text, QString::fromUtf16(kAnnualQuestion));
        QCOMPARE(m_host.StatusMessages.size(), 1);
        QVERIFY(m_host.StatusMessages[0].contains(path));
    }

    void handEditedRowGoesAsShown() {
        SetDeath(u"2024", u"12", u"20");
        m_host.ScheduleValue[1].Month = u"1";
        m_host.ScheduleValue[1].Day = u"2";
        m_host.ScheduleValue[2].Day = u"40"; // no such day: left out and said
        const QString path = m_dir.filePath(QStringLiteral("edited.ics"));
        m_interaction.AnswerConfirm(false);
        m_interaction.AnswerSaveFile(path);
        QVERIFY(ExportMemorialCalendar(m_host, m_interaction, nullptr));
        const std::vector<std::string> starts = Starts(path);
        QCOMPARE(starts.size(), std::size_t(8));
        QCOMPARE(starts[1], std::string("20250102"));
        QCOMPARE(m_interaction.Messages.size(), 1);
        QVERIFY(m_interaction.Messages[0].contains(
            QString::fromStdU16String(m_host.ScheduleValue[2].Name)));
    }

    void noDateSaysSoAndAsksNothing() {
        SetDeath(u"2025", u"2", u"29");
        QVERIFY(!ExportMemorialCalendar(m_host, m_interaction, nullptr));
        QCOMPARE(m_interaction.Messages.size(), 1);
        QVERIFY(m_interaction.Dialogs.empty());
    }

    void cancelWritesNothing() {
        SetDeath(u"2025", u"4", u"1");
        m_interaction.AnswerConfirm(true);
        m_interaction.AnswerSaveFile(QString());
        QVERIFY(!ExportMemorialCalendar(m_host, m_interaction, nullptr));
        QVERIFY(m_host.StatusMessages.isEmpty());
    }

    void failedWriteIsReportedAndTheOldFileKept() {
        SetDeath(u"2025", u"4", u"1");
        m_interaction.AnswerConfirm(false);
        m_interaction.AnswerSaveFile(m_dir.filePath(QStringLiteral("no/such/dir/a.ics")));
        QVERIFY(!ExportMemorialCalendar(m_host, m_interaction, nullptr));
        QCOMPARE(m_interaction.Messages.size(), 1);
        QVERIFY(m_interaction.Messages[0].contains(QStringLiteral("書き込めません")));
    }

    void writtenAgainAfterACorrectionRaisesTheSequence() {
        SetDeath(u"2025", u"4", u"1");
        const QString path = m_dir.filePath(QStringLiteral("again.ics"));
        m_interaction.AnswerConfirm(false);
        m_interaction.AnswerSaveFile(path);
        QVERIFY(ExportMemorialCalendar(m_host, m_interaction, nullptr));
        m_host.ScheduleValue[0].Day = u"9";
        m_interaction.AnswerConfirm(false);
        m_interaction.AnswerSaveFile(path);
        QVERIFY(ExportMemorialCalendar(m_host, m_interaction, nullptr));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const auto events = ReadEarlierEvents(file.readAll().toStdString());
        QCOMPARE(events.size(), std::size_t(9));
        int raised = 0;
        for (const auto& [uid, event] : events)
            raised += event.Sequence == 1 ? 1 : 0;
        QCOMPARE(raised, 1);
    }
};

QTEST_MAIN(TestCalendarExport)
#include "tst_calendarexport.moc"
