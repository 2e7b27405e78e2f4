// The era transition dialog, on its own and as the question WarekiOf asks.
#include "ModalDriver.h"
#include "calendar/Era.h"
#include "calendar/NengoUnit.h"
#include "sheet/QtText.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace ulvan;

namespace {

// Which toggle buttons a test presses in the open dialog before OK: 'L' the ending era,
// 'R' the new era.
void PressAndClose(TNengoForm& form, const QString& presses) {
    for (const QChar press : presses) {
        QTest::mouseClick(press == u'L' ? form.SpeedButton1 : form.SpeedButton2, Qt::LeftButton);
    }
    QTest::mouseClick(form.Button1, Qt::LeftButton);
}

std::size_t IndexOf(std::u16string_view name) {
    const auto list = NengoList();
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i].substr(8) == name) {
            return i;
        }
    }
    return list.size();
}

} // namespace

class TestNengoForm : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void Texts_data();
    void Texts();
    void WindowShape();
    void NoTransitionAsksNothing_data();
    void NoTransitionAsksNothing();
    void ChoiceThroughWarekiOf_data();
    void ChoiceThroughWarekiOf();
    void ChoicePersistsAcrossTransitions();
    void DownButtonStaysDown();
    void RealExecIsDriven();
};

void TestNengoForm::Texts_data() {
    QTest::addColumn<QString>("era");
    QTest::addColumn<QString>("label1");
    QTest::addColumn<QString>("previous");
    QTest::newRow("令和") << QStringLiteral("令和")
                          << QStringLiteral("西暦2019年は、05月01日をもって")
                          << QStringLiteral("平成");
    QTest::newRow("明治") << QStringLiteral("明治")
                          << QStringLiteral("西暦1868年は、09月08日をもって")
                          << QStringLiteral("慶應");
    QTest::newRow("應永, from no era")
        << QStringLiteral("應永") << QStringLiteral("西暦1394年は、07月05日をもって")
        << QStringLiteral("－－");
    QTest::newRow("寛永, stored February 30")
        << QStringLiteral("寛永") << QStringLiteral("西暦1624年は、02月30日をもって")
        << QStringLiteral("元和");
}

void TestNengoForm::Texts() {
    QFETCH(QString, era);
    QFETCH(QString, label1);
    QFETCH(QString, previous);
    TNengoForm form;
    QVERIFY(form.Prepare(IndexOf(ToU16(era))));
    QCOMPARE(form.Label1->text(), label1);
    QCOMPARE(form.Label2->text(), previous);
    QCOMPARE(form.Label3->text(), QStringLiteral("から"));
    QCOMPARE(form.Label4->text(), era);
    QCOMPARE(form.Label5->text(), QStringLiteral("に改元されています"));
    QCOMPARE(form.SpeedButton1->text(), previous);
    QCOMPARE(form.SpeedButton2->text(), era);
    QCOMPARE(form.GroupBox1->title(), QStringLiteral("採用したい年号をチェックして下さい"));
    QCOMPARE(form.Button1->text(), QStringLiteral("OK"));
    // The sentence runs left to right without overlaps.
    QVERIFY(form.Label2->geometry().right() < form.Label3->geometry().left());
    QVERIFY(form.Label3->geometry().right() < form.Label4->geometry().left());
    QVERIFY(form.Label4->geometry().right() < form.Label5->geometry().left());
    QVERIFY(form.Label5->geometry().right() < form.width());
}

void TestNengoForm::WindowShape() {
    TNengoForm form;
    QCOMPARE(form.windowTitle(), QStringLiteral("年号確認"));
    QCOMPARE(form.minimumSize(), form.maximumSize());
    QVERIFY(!(form.windowFlags() & Qt::WindowCloseButtonHint));
    QCOMPARE(form.Label2->font().pixelSize(), 21);
    QCOMPARE(form.Label4->font().pixelSize(), 21);
    QCOMPARE(form.Label1->font().pixelSize(), 16);
    QCOMPARE(form.Label2->palette().color(QPalette::WindowText), QColor(Qt::red));
    QCOMPARE(form.Label5->palette().color(QPalette::WindowText), QColor(Qt::blue));
    for (const char* name : {"Label1", "Label2", "Label3", "Label4", "Label5", "GroupBox1",
                             "SpeedButton1", "SpeedButton2", "Button1"}) {
        QVERIFY2(form.findChild<QWidget*>(QString::fromLatin1(name)) != nullptr, name);
    }
}

void TestNengoForm::NoTransitionAsksNothing_data() {
    QTest::addColumn<qulonglong>("index");
    QTest::newRow("no-era entry") << qulonglong{0};
    QTest::newRow("past the end") << qulonglong{NengoList().size()};
    QTest::newRow("far past the end") << qulonglong{~0ULL};
}

void TestNengoForm::NoTransitionAsksNothing() {
    QFETCH(qulonglong, index);
    TNengoForm form;
    int runs = 0;
    form.SetRunner([&runs](TNengoForm&) { ++runs; });
    QCOMPARE(form.Ask(static_cast<std::size_t>(index)), EraChoice::None);
    QCOMPARE(runs, 0);
}

void TestNengoForm::ChoiceThroughWarekiOf_data() {
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<QString>("presses");
    QTest::addColumn<QString>("expected");
    QTest::newRow("first use, OK at once") << 2019 << 0 << QString() << QString();
    QTest::newRow("left 2019") << 2019 << 0 << QStringLiteral("L") << QStringLiteral("平成31");
    QTest::newRow("right 2019") << 2019 << 0 << QStringLiteral("R") << QStringLiteral("令和 1");
    QTest::newRow("left then right")
        << 2019 << 0 << QStringLiteral("LR") << QStringLiteral("令和 1");
    QTest::newRow("right twice stays down")
        << 2019 << 0 << QStringLiteral("RR") << QStringLiteral("令和 1");
    QTest::newRow("left 1989 January")
        << 1989 << 1 << QStringLiteral("L") << QStringLiteral("昭和64");
    QTest::newRow("right 1868") << 1868 << 0 << QStringLiteral("R") << QStringLiteral("明治 1");
    QTest::newRow("left 1394, era year over 99")
        << 1394 << 0 << QStringLiteral("L") << QStringLiteral("－－  ");
}

void TestNengoForm::ChoiceThroughWarekiOf() {
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(QString, presses);
    QFETCH(QString, expected);
    TNengoForm form;
    int runs = 0;
    form.SetRunner([&runs, &presses](TNengoForm& f) {
        ++runs;
        PressAndClose(f, presses);
    });
    const AskEraTransition ask = form.Asker();
    const std::u16string result = WarekiOf(year, month, 0, &ask);
    QCOMPARE(ToQ(result), expected);
    QCOMPARE(runs, 1);
}

void TestNengoForm::ChoicePersistsAcrossTransitions() {
    TNengoForm form;
    QString presses = QStringLiteral("R");
    form.SetRunner([&presses](TNengoForm& f) { PressAndClose(f, presses); });
    const AskEraTransition ask = form.Asker();
    QCOMPARE(ToQ(WarekiOf(2019, 0, 0, &ask)), QStringLiteral("令和 1"));
    presses.clear(); // OK at once repeats the last side, also for another transition
    QCOMPARE(ToQ(WarekiOf(1926, 12, 0, &ask)), QStringLiteral("昭和 1"));
    QCOMPARE(ToQ(WarekiOf(2019, 0, 0, &ask)), QStringLiteral("令和 1"));
    presses = QStringLiteral("L");
    QCOMPARE(ToQ(WarekiOf(1912, 7, 0, &ask)), QStringLiteral("明治45"));
    presses.clear();
    QCOMPARE(ToQ(WarekiOf(2019, 0, 0, &ask)), QStringLiteral("平成31"));
    // A decided date asks nothing and leaves the toggle alone.
    QCOMPARE(ToQ(WarekiOf(2019, 5, 1, &ask)), QStringLiteral("令和 1"));
    QCOMPARE(form.Choice(), EraChoice::Ending);
}

void TestNengoForm::DownButtonStaysDown() {
    TNengoForm form;
    QVERIFY(form.Prepare(IndexOf(u"令和")));
    QCOMPARE(form.Choice(), EraChoice::None);
    QTest::mouseClick(form.SpeedButton1, Qt::LeftButton);
    QCOMPARE(form.Choice(), EraChoice::Ending);
    QTest::mouseClick(form.SpeedButton1, Qt::LeftButton);
    QCOMPARE(form.Choice(), EraChoice::Ending);
    QTest::mouseClick(form.SpeedButton2, Qt::LeftButton);
    QVERIFY(!form.SpeedButton1->isChecked());
    QCOMPARE(form.Choice(), EraChoice::New);
}

void TestNengoForm::RealExecIsDriven() {
    TNengoForm form;
    WhenModalOf<TNengoForm>([](TNengoForm* f) {
        QVERIFY(f->isVisible());
        PressAndClose(*f, QStringLiteral("L"));
    });
    QCOMPARE(form.Ask(IndexOf(u"平成")), EraChoice::Ending);
    QVERIFY(!form.isVisible());
    QCOMPARE(form.SpeedButton1->text(), QStringLiteral("昭和"));
}

QTEST_MAIN(TestNengoForm)
#include "tst_nengoform.moc"
