// The program's own pictures and texts: tool bar images, start-up picture, about box, help.
#include "ModalDriver.h"
#include "resources/HelpUnit.h"
#include "resources/OpenUnit.h"
#include "resources/ToolIcons.h"
#include "resources/VerUnit.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QSet>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

using namespace ulvan;

namespace {

int OpaquePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) > 128) {
                ++count;
            }
        }
    }
    return count;
}

// Pixels much darker than the washi ground, inside `area`.
int InkPixels(const QImage& image, const QRect& area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 110) {
                ++count;
            }
        }
    }
    return count;
}

// The links of the guide's contents ("#anchor"), in their order.
QStringList ContentsLinks(const QTextDocument& document) {
    QStringList anchors;
    const QRegularExpression link(QStringLiteral("href=\"#([^\"]+)\""));
    for (const auto& match : link.globalMatch(document.toHtml())) {
        anchors.append(match.captured(1));
    }
    return anchors;
}

// The top of the block that carries the anchor `name`, in document coordinates; -1 if none.
qreal AnchorTop(QTextDocument& document, const QString& name) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().anchorNames().contains(name)) {
                return document.documentLayout()->blockBoundingRect(block).top();
            }
        }
    }
    return -1;
}

} // namespace

class TestResources : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void ToolImages_data();
    void ToolImages();
    void ToolImagesDiffer();
    void OpenPictureHasTitle();
    void OpenFormShowsCentred();
    void WindowIcon();
    void AboutBox();
    void HelpText_data();
    void HelpText();
    void HelpWindowIsNotModal();
    void HelpOpensAtEachTopic();
    void HelpPicturesLoad();
};

void TestResources::ToolImages_data() {
    QTest::addColumn<int>("id");
    const char* names[] = {"import", "append",      "print",       "preview",   "clear",
                           "annual", "quick table", "blank sheet", "open text", "save text",
                           "cut",    "copy",        "paste",       "delete",    "due list"};
    for (int id = 0; id < kToolIconCount; ++id) {
        QTest::newRow(names[id]) << id;
    }
}

void TestResources::ToolImages() {
    QFETCH(int, id);
    const QImage image = ToolImage(static_cast<ToolIconId>(id));
    QCOMPARE(image.size(), QSize(16, 16));
    // Clear at a glance: a good part of the cell is drawn, and some of it is left clear.
    const int opaque = OpaquePixels(image);
    QVERIFY2(opaque > 16 * 16 / 4, qPrintable(QString::number(opaque)));
    QVERIFY2(opaque < 16 * 16, qPrintable(QString::number(opaque)));
    const QIcon icon = ToolIcon(static_cast<ToolIconId>(id));
    QVERIFY(!icon.isNull());
    QCOMPARE(icon.pixmap(16, 16).size(), QSize(16, 16));
    QCOMPARE(icon.pixmap(32, 32).size(), QSize(32, 32));
    // The large version is the same design: scaled back down it covers the same cells.
    const QImage large = ToolImage(static_cast<ToolIconId>(id), 2);
    QCOMPARE(large.size(), QSize(32, 32));
    const int largeOpaque = OpaquePixels(large);
    QVERIFY2(std::abs(largeOpaque - 4 * opaque) <= 4 * opaque / 5,
             qPrintable(QStringLiteral("%1 vs %2").arg(largeOpaque).arg(4 * opaque)));
}

void TestResources::ToolImagesDiffer() {
    QSet<QByteArray> seen;
    for (int id = 0; id < kToolIconCount; ++id) {
        const QImage image = ToolImage(static_cast<ToolIconId>(id));
        seen.insert(
            QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()));
    }
    QCOMPARE(seen.size(), kToolIconCount);
}

void TestResources::OpenPictureHasTitle() {
    const QImage picture = OpenPicture();
    QCOMPARE(picture.size(), QSize(300, 260));
    // The program's name is written in the middle band, the version under it; the margins
    // stay clear of ink apart from the rules.
    QVERIFY(InkPixels(picture, QRect(40, 136, 220, 50)) > 200);
    QVERIFY(InkPixels(picture, QRect(100, 204, 100, 18)) > 20);
    QCOMPARE(InkPixels(picture, QRect(20, 20, 40, 100)), 0);
}

void TestResources::OpenFormShowsCentred() {
    TOpenForm form;
    QVERIFY(form.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(form.windowFlags() & Qt::WindowStaysOnTopHint);
    form.ShowNow();
    QVERIFY(form.isVisible());
    QCOMPARE(form.size(), QSize(300, 260));
    const QPoint screenCentre = form.screen()->availableGeometry().center();
    QVERIFY((form.frameGeometry().center() - screenCentre).manhattanLength() <= 2);
    const QImage shown = form.grab().toImage();
    QCOMPARE(shown.convertToFormat(QImage::Format_RGB32),
             OpenPicture().convertToFormat(QImage::Format_RGB32));
}

void TestResources::WindowIcon() {
    const QIcon icon = ApplicationIcon();
    QVERIFY(!icon.isNull());
    for (const int size : {16, 32, 48}) {
        const QImage image = icon.pixmap(size, size).toImage();
        QCOMPARE(image.size(), QSize(size, size));
        QVERIFY(OpaquePixels(image) > size * size / 2);
    }
}

void TestResources::AboutBox() {
    TVerForm form;
    QVERIFY(!(form.windowFlags() & Qt::WindowCloseButtonHint));
    QCOMPARE(form.Version->text(), QStringLiteral("Version 3.1"));
    QCOMPARE(form.ProductName->text(), QStringLiteral("Ulvan表"));
    QVERIFY(!form.Image1->pixmap().isNull());
    QCOMPARE(form.BuildVersion->text(), BuildVersionText());
    QVERIFY(form.BuildVersion->text().contains(form.Version->text().section(QLatin1Char(' '), 1)));
    // The licence button asks for the guide's page that exists.
    QStringList asked;
    form.OnHelp = [&asked](const QString& anchor) { asked.append(anchor); };
    QTest::mouseClick(form.LicenseButton, Qt::LeftButton);
    QCOMPARE(asked.size(), 1);
    THelpForm help;
    QVERIFY(AnchorTop(*help.HelpText->document(), asked.front()) >= 0);
    QVERIFY(help.HelpText->document()->toPlainText().contains(QStringLiteral("MIT")));
    WhenModalOf<TVerForm>([](TVerForm* f) { QTest::mouseClick(f->OKButton, Qt::LeftButton); });
    QCOMPARE(form.exec(), int(QDialog::Accepted));
}

void TestResources::HelpText_data() {
    QTest::addColumn<QString>("phrase");
    QTest::newRow("date entry") << QStringLiteral("命日の入力");
    QTest::newRow("today button") << QStringLiteral("「きょう」ボタン");
    QTest::newRow("eve") << QStringLiteral("逮夜とは、忌日の前の晩、つまり前日のことです");
    QTest::newRow("printing") << QStringLiteral("Ulvan表の印刷");
    QTest::newRow("blank sheet") << QStringLiteral("空白用紙の印刷");
    QTest::newRow("transition dialog") << QStringLiteral("年号確認");
}

void TestResources::HelpText() {
    QFETCH(QString, phrase);
    THelpForm form;
    QVERIFY(form.HelpText->document()->toPlainText().contains(phrase));
}

void TestResources::HelpWindowIsNotModal() {
    THelpForm form;
    form.ShowContents();
    QVERIFY(form.isVisible());
    QVERIFY(!form.isModal());
    QCOMPARE(form.HelpText->source(), HelpContentsUrl());
    QCOMPARE(form.HelpText->documentTitle(), QStringLiteral("Ulvan表 ヘルプ"));
    // A link inside the guide stays inside it.
    form.HelpText->setSource(QUrl(QStringLiteral("qrc:/help/Ulvan.html#print")));
    QVERIFY(form.HelpText->document()->toPlainText().contains(QStringLiteral("印刷プレビュー")));
}

// Every topic of the contents exists, and asking for it shows the guide scrolled to it (or as
// far as the guide scrolls, for the last ones).
void TestResources::HelpOpensAtEachTopic() {
    THelpForm form;
    form.resize(560, 520);
    QTextDocument* document = form.HelpText->document();
    const QStringList anchors = ContentsLinks(*document);
    QVERIFY(anchors.size() >= 10);
    QVERIFY(anchors.contains(QStringLiteral("quicktable")));
    QVERIFY(anchors.contains(QStringLiteral("footer-editor")));
    for (const QString& anchor : anchors) {
        form.ShowTopic(anchor);
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        document = form.HelpText->document();
        const qreal top = AnchorTop(*document, anchor);
        QVERIFY2(top >= 0, qPrintable(anchor));
        const QScrollBar* bar = form.HelpText->verticalScrollBar();
        const int expected = std::min(bar->maximum(), int(top));
        QVERIFY2(
            std::abs(bar->value() - expected) <= 2,
            qPrintable(
                QStringLiteral("%1: at %2, topic at %3").arg(anchor).arg(bar->value()).arg(top)));
    }
}

// The walk-through's screenshots are compiled in and show.
void TestResources::HelpPicturesLoad() {
    THelpForm form;
    const QString html = form.HelpText->document()->toHtml();
    const QRegularExpression image(QStringLiteral("<img src=\"([^\"]+)\""));
    int pictures = 0;
    for (const auto& match : image.globalMatch(html)) {
        const QVariant picture =
            form.HelpText->loadResource(QTextDocument::ImageResource, QUrl(match.captured(1)));
        QVERIFY2(!picture.value<QImage>().isNull() || !picture.value<QPixmap>().isNull() ||
                     !QImage::fromData(picture.toByteArray()).isNull(),
                 qPrintable(match.captured(1)));
        ++pictures;
    }
    QVERIFY(pictures >= 2);
}

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
