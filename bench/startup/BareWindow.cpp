// The yardstick of the start-up measurement: a bare Qt program showing one main window with
// one Japanese label in the face and size the program's windows use, so that loading a
// Japanese font counts on both sides.
#include "sheet/Fonts.h"

#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QMainWindow window;
    // The program's window font: "ＭＳ Ｐゴシック", 12 pixels, as installed here.
    QFont font(ulvan::ResolveFace(QStringLiteral("ＭＳ Ｐゴシック")));
    font.setPixelSize(12);
    auto* label = new QLabel(QStringLiteral("命日（日付計算に必要）"), &window);
    label->setFont(font);
    window.setCentralWidget(label);
    window.resize(642, 468);
    window.show();
    return QApplication::exec();
}
