// Qt's own windows (the print dialog, the page set-up, the file dialogs) speak Japanese like
// the rest of the program once the start-up has loaded Qt's Japanese texts.
#include "app/Application.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QTest>

using namespace ulvan;

namespace {

// Japanese writing: kana or kanji.
bool WritesJapanese(const QString& text) {
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if ((u >= 0x3040 && u <= 0x30ff) || (u >= 0x4e00 && u <= 0x9fff) ||
            (u >= 0xff66 && u <= 0xff9f)) {
            return true;
        }
    }
    return false;
}

QStringList ButtonTexts(const QWidget& dialog) {
    QStringList texts;
    for (const QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
        if (!button->text().isEmpty()) {
            texts << button->text();
        }
    }
    return texts;
}

} // namespace

class TestTranslations : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void PrintDialogInJapanese();
    void PageSetupInJapanese();
    void FileDialogInJapanese();
};

void TestTranslations::initTestCase() {
    QVERIFY2(InstallQtJapanese(), "Qt's Japanese texts (qt6-translations-l10n) are installed");
}

void TestTranslations::PrintDialogInJapanese() {
    QPrinter printer;
    QPrintDialog dialog(&printer);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY2(WritesJapanese(dialog.windowTitle()), qPrintable(dialog.windowTitle()));
    // The print and cancel buttons of the dialog's button box.
    const auto* box = dialog.findChild<QDialogButtonBox*>();
    QVERIFY(box != nullptr);
    const QList<QAbstractButton*> buttons = box->buttons();
    QVERIFY(!buttons.isEmpty());
    for (const QAbstractButton* button : buttons) {
        QVERIFY2(WritesJapanese(button->text()), qPrintable(button->text()));
    }
    const QStringList texts = ButtonTexts(dialog);
    QVERIFY(!texts.contains(QStringLiteral("&Print")) && !texts.contains(QStringLiteral("Print")));
    QVERIFY(!texts.contains(QStringLiteral("Cancel")));
    dialog.reject();
}

void TestTranslations::PageSetupInJapanese() {
    QPrinter printer;
    QPageSetupDialog dialog(&printer);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY2(WritesJapanese(dialog.windowTitle()), qPrintable(dialog.windowTitle()));
    dialog.reject();
}

void TestTranslations::FileDialogInJapanese() {
    QFileDialog dialog(nullptr, QString(), QDir::tempPath());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const auto* box = dialog.findChild<QDialogButtonBox*>();
    QVERIFY(box != nullptr);
    for (const QAbstractButton* button : box->buttons()) {
        QVERIFY2(WritesJapanese(button->text()), qPrintable(button->text()));
    }
    dialog.reject();
}

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
