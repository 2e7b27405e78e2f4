#include "ui/QtInteraction.h"

#include "footer/FooterPicture.h"
#include "sheet/QtText.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

namespace ulvan {

namespace {

// A message box that places itself in the middle of the screen once its size is known,
// rather than over its parent as Qt would.
class CentredMessageBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);
        const QScreen* screen = QGuiApplication::primaryScreen();
        if (screen == nullptr) {
            return;
        }
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
};

QString MessageCaption() {
    const QString title = QGuiApplication::applicationDisplayName();
    return title.isEmpty() ? QCoreApplication::applicationName() : title;
}

constexpr int kPreviewSide = 200;

} // namespace

void QtInteraction::ShowMessage(std::u16string_view text) {
    CentredMessageBox box;
    box.setWindowTitle(MessageCaption());
    // Messages may quote file names and user text; nothing in them is markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(ToQ(text));
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

void QtInteraction::Beep(BeepKind /*kind*/) {
    QApplication::beep();
}

bool QtInteraction::Confirm(ConfirmKind kind, const QString& caption, const QString& text) {
    CentredMessageBox box;
    box.setWindowTitle(caption);
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    box.setIcon(kind == ConfirmKind::Warning ? QMessageBox::Warning : QMessageBox::Question);
    QPushButton* yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

Interaction::Choice QtInteraction::AskYesNoCancel(const QString& caption, const QString& text) {
    CentredMessageBox box;
    box.setWindowTitle(caption);
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    box.setIcon(QMessageBox::Warning);
    QPushButton* yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
    QPushButton* cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == yes)
        return Choice::Yes;
    return box.clickedButton() == no ? Choice::No : Choice::Cancel;
}

QString QtInteraction::OpenFileName(QWidget* parent, const QString& caption, const QString& dir,
                                    const QString& filter) {
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString QtInteraction::SaveFileName(QWidget* parent, const QString& caption, const QString& dir,
                                    const QString& filter) {
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
}

QString QtInteraction::SavePdfFileName(QWidget* parent, const QString& caption,
                                       const QString& proposed, QPageSize::PageSizeId& paper) {
    // The paper is the file type the user picks: A4 first.
    struct PaperChoice {
        QString Filter;
        QPageSize::PageSizeId Paper;
    };
    const PaperChoice choices[] = {
        {QStringLiteral("PDF A4 (*.pdf)"), QPageSize::A4},
        {QStringLiteral("PDF B5 (*.pdf)"), QPageSize::JisB5},
        {QStringLiteral("PDF A3 (*.pdf)"), QPageSize::A3},
    };
    QStringList filters;
    for (const PaperChoice& choice : choices) {
        filters << choice.Filter;
    }
    QString selected = choices[0].Filter;
    for (const PaperChoice& choice : choices) {
        if (choice.Paper == paper) {
            selected = choice.Filter;
        }
    }
    QFileDialog dialog(parent, caption, proposed);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(selected);
    // A name typed without its ".pdf" gets it before the dialog checks whether that file
    // exists, so that replacing an earlier PDF is always asked.
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return QString();
    }
    selected = dialog.selectedNameFilter();
    for (const PaperChoice& choice : choices) {
        if (choice.Filter == selected) {
            paper = choice.Paper;
        }
    }
    QString file = dialog.selectedFiles().constFirst();
    if (file.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
        return file;
    }
    // A name with another ending: the PDF is written beside it, asked like the dialog asks.
    file += QStringLiteral(".pdf");
    if (QFileInfo::exists(file) &&
        QMessageBox::warning(parent, caption,
                             QStringLiteral("%1 は既に存在します。\n置き換えますか？")
                                 .arg(QFileInfo(file).fileName()),
                             QMessageBox::Yes | QMessageBox::No,
                             QMessageBox::No) != QMessageBox::Yes) {
        return QString();
    }
    return file;
}

QString QtInteraction::AppendFileName(QWidget* parent, const QString& caption, const QString& dir,
                                      const QString& filter) {
    return QFileDialog::getSaveFileName(parent, caption, dir, filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

QString QtInteraction::OpenPictureFileName(QWidget* parent, const QString& caption,
                                           const QString& dir, const QString& filter) {
    QFileDialog dialog(parent, caption, dir, filter);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    auto* preview = new QLabel(&dialog);
    preview->setObjectName(QStringLiteral("PicturePreview"));
    preview->setFixedSize(kPreviewSide + 4, kPreviewSide + 4);
    preview->setAlignment(Qt::AlignCenter);
    preview->setFrameShape(QFrame::StyledPanel);
    preview->setWordWrap(true);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
        grid->addWidget(preview, 1, grid->columnCount(), 1, 1, Qt::AlignTop);
    }
    QObject::connect(
        &dialog, &QFileDialog::currentChanged, preview, [preview](const QString& path) {
            // Through the footer's own loading path: what cannot be previewed cannot be
            // printed either, and a pipe or a device never blocks the dialog.
            const QImage image = FooterPicturePreview(path, kPreviewSide);
            if (image.isNull()) {
                preview->setPixmap(QPixmap());
                preview->setText(QFileInfo(path).isFile() ? QStringLiteral("ﾌﾟﾚﾋﾞｭｰできません")
                                                          : QString());
                return;
            }
            preview->setPixmap(QPixmap::fromImage(image.scaled(
                kPreviewSide, kPreviewSide, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
        });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

bool QtInteraction::PrintDialog(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace ulvan
