#include "ModalDriver.h"

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <memory>

namespace ulvan {

void WhenModal(std::function<void(QWidget*)> action, int timeoutMs) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(10);
    const QPointer<QWidget> before = QApplication::activeModalWidget();
    auto waited = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, timer,
                     [timer, before, waited, timeoutMs, action = std::move(action)] {
                         QWidget* modal = QApplication::activeModalWidget();
                         if (modal != nullptr && modal != before.data()) {
                             timer->stop();
                             timer->deleteLater();
                             action(modal);
                             return;
                         }
                         *waited += timer->interval();
                         if (*waited >= timeoutMs) {
                             timer->stop();
                             timer->deleteLater();
                             QTest::qFail("No modal window opened in time", __FILE__, __LINE__);
                         }
                     });
    timer->start();
}

void ReportWrongModal(QWidget* widget) {
    const QByteArray message =
        "An unexpected modal window opened: " + QByteArray(widget->metaObject()->className()) +
        " '" + widget->windowTitle().toUtf8() + "'";
    QTest::qFail(message.constData(), __FILE__, __LINE__);
}

} // namespace ulvan
