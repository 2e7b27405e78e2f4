// Every caption of the program's windows shows its whole text: each label, check box, radio
// button, group box title and push button is at least as wide as its text measured in its own
// font on the screen it is shown on, and lies inside its parent. The test runs once per
// scale factor (QT_SCALE_FACTOR 1, 1.5 and 2, set by the test registration), since glyph
// widths are measured at the screen's resolution.
#include "ScriptedInteraction.h"
#include "app/AgeCalUnit.h"
#include "app/KaiUnit.h"
#include "app/ShosaiUnit.h"
#include "app/UlvanMain.h"
#include "calendar/NengoUnit.h"
#include "calendar/Schedule.h"
#include "resources/VerUnit.h"
#include "sheet/QtText.h"
#include "ui/DialogSupport.h"

#include <QCheckBox>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <QStyleOptionGroupBox>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <fontconfig/fontconfig.h>
#include <memory>

using namespace ulvan;

namespace {

// A visible control whose text does not fit, described for the failure message.
QString Describe(const QWidget* widget, const QString& text, double needed) {
    return QStringLiteral("%1 \"%2\" in %3: %4 wide, needs %5")
        .arg(widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                            : widget->objectName(),
             text, widget->window()->objectName())
        .arg(widget->width())
        .arg(needed, 0, 'f', 1);
}

// The width a control needs to show its whole text, in the control's own coordinates.
double NeededWidth(QWidget* widget, QString* text) {
    const QFontMetricsF metrics(widget->font(), widget);
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        *text = label->text();
        if (label->wordWrap() || label->pixmap().isNull() == false || text->isEmpty()) {
            return 0;
        }
        double widest = 0;
        for (const QString& line : text->split(QLatin1Char('\n'))) {
            widest = std::max(widest, metrics.horizontalAdvance(line));
        }
        return widest + 2 * label->margin() + label->contentsMargins().left() +
               label->contentsMargins().right();
    }
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        *text = edit->text();
        // The text, the frame and margins on both sides, and room for the caret after it.
        QStyleOptionFrame option;
        option.initFrom(edit);
        const int frame = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit);
        const QMargins margins = edit->textMargins();
        return metrics.horizontalAdvance(*text) + 2 * frame + 2 * 2 + margins.left() +
               margins.right() + 1;
    }
    if (auto* box = qobject_cast<QCheckBox*>(widget)) {
        *text = box->text();
        return box->sizeHint().width();
    }
    if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
        *text = radio->text();
        return radio->sizeHint().width();
    }
    if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        *text = group->title();
        QStyleOptionGroupBox option;
        option.initFrom(group);
        option.text = group->title();
        option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        const QRect label = group->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                           QStyle::SC_GroupBoxLabel, group);
        return label.left() + metrics.horizontalAdvance(group->title());
    }
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
        *text = button->text();
        QString shown = *text;
        shown.remove(QLatin1Char('&'));
        QStyleOptionButton option;
        option.initFrom(button);
        const QRect contents =
            button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        return metrics.horizontalAdvance(shown) + (button->width() - contents.width());
    }
    return 0;
}

// Every control of `window` with a text: it fits, and it lies inside its parent.
QStringList Clipped(QWidget& window) {
    window.show();
    QStringList clipped;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(&window)) {
            continue;
        }
        QString text;
        const double needed = NeededWidth(widget, &text);
        if (text.isEmpty()) {
            continue;
        }
        if (needed > widget->width()) {
            clipped << Describe(widget, text, needed);
        }
        const QWidget* parent = widget->parentWidget();
        if (parent != nullptr && widget->geometry().right() >= parent->width()) {
            clipped << Describe(widget, text, needed) + QStringLiteral(", beyond its parent");
        }
    }
    window.hide();
    return clipped;
}

// The longest memorial name the detail dialog offers room for, nine characters.
const QString kNineCharacterName = QStringLiteral("七七日忌満中陰法要");

} // namespace

class TestLabelWidths : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void MainWindow();
    void MainWindowWithLongNames();
    void Dialogs();

private:
    QTemporaryDir m_dir;
};

void TestLabelWidths::initTestCase() {
    qInfo() << "scale factor" << qgetenv("QT_SCALE_FACTOR") << "LANG" << qgetenv("LANG");
    // The run under a Japanese desktop's setting must meet fontconfig's Japanese rules, which
    // turn unknown faces into the fixed-width Gothic; without the locale it would not.
    if (qgetenv("LANG").startsWith("ja_JP")) {
        FcStrSet* langs = FcGetDefaultLangs();
        const bool japanese =
            langs != nullptr && FcStrSetMember(langs, reinterpret_cast<const FcChar8*>("ja"));
        if (langs != nullptr)
            FcStrSetDestroy(langs);
        QVERIFY2(japanese, "fontconfig's default language is not Japanese: is the ja_JP.UTF-8 "
                           "locale generated?");
        QCOMPARE(QLocale::system().language(), QLocale::Japanese);
    }
}

void TestLabelWidths::MainWindow() {
    ScriptedInteraction ui;
    TUlvanForm form(ui, m_dir.filePath(QStringLiteral("Dorim.conf")));
    // The widest values each field holds: four-digit year, two-digit era year, month and day,
    // an age of 100, and a date of death that does not exist (its label is the longest).
    form.Edit1->setText(QStringLiteral("2026"));
    form.Edit2->setText(QStringLiteral("31"));
    form.Edit3->setText(QStringLiteral("12"));
    form.Edit4->setText(QStringLiteral("31"));
    form.gyonen->setText(QStringLiteral("100"));
    form.Edit3->setText(QStringLiteral("11")); // 11月31日: no such date
    const QStringList clipped = Clipped(form);
    QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QLatin1Char('\n'))));
}

void TestLabelWidths::MainWindowWithLongNames() {
    ScriptedInteraction ui;
    TUlvanForm form(ui, m_dir.filePath(QStringLiteral("Dorim.conf")));
    StoredCase stored = form.CurrentStoredCase();
    for (MemorialDay& row : stored.Rows) {
        row.Name = ToU16(kNineCharacterName);
    }
    form.ApplyStoredCase(stored);
    for (QLabel* name : form.NameLabels) {
        QCOMPARE(name->text(), kNineCharacterName);
    }
    const QStringList clipped = Clipped(form);
    QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QLatin1Char('\n'))));
}

void TestLabelWidths::Dialogs() {
    ScriptedInteraction ui;
    TShosaiForm shosai(ui);
    TAgeCalForm age;
    TKaiForm kai;
    TNengoForm nengo;
    QVERIFY(nengo.Prepare(NengoList().size() - 1));
    TVerForm ver;
    QStringList clipped;
    for (QWidget* window : std::initializer_list<QWidget*>{&shosai, &age, &kai, &nengo, &ver}) {
        clipped << Clipped(*window);
    }
    QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QLatin1Char('\n'))));
}

QTEST_MAIN(TestLabelWidths)
#include "tst_labelwidths.moc"
