#include "ui/QtInteraction.h"

#include "sheet/QtText.h"

#include <QApplication>
#include <QFileDialog>
#include <QGuiApplication>
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

QString QtInteraction::OpenFileName(QWidget* parent, const QString& caption, const QString& dir,
                                    const QString& filter) {
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString QtInteraction::SaveFileName(QWidget* parent, const QString& caption, const QString& dir,
                                    const QString& filter) {
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
}

QString QtInteraction::AppendFileName(QWidget* parent, const QString& caption, const QString& dir,
                                      const QString& filter) {
    return QFileDialog::getSaveFileName(parent, caption, dir, filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

bool QtInteraction::PrintDialog(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace ulvan
