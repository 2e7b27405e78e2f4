#include "ModalDriver.h"

#include <QApplication>
#include <QPointer>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <memory>

namespace ulvan {

void WhenModalMatching(std::function<bool(QWidget*)> accepts, std::function<void(QWidget*)> action,
                       const QString& wanted, int timeoutMs) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(10);
    const QPointer<QWidget> before = QApplication::activeModalWidget();
    struct State {
        int Waited = 0;
        QStringList Seen;
    };
    auto state = std::make_shared<State>();
    QObject::connect(
        timer, &QTimer::timeout, timer,
        [timer, before, state, timeoutMs, wanted, accepts = std::move(accepts),
         action = std::move(action)] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal != nullptr && modal != before.data() && modal->isVisible()) {
                if (accepts(modal)) {
                    timer->stop();
                    timer->deleteLater();
                    action(modal);
                    return;
                }
                const QString seen = QString::fromLatin1(modal->metaObject()->className()) +
                                     QStringLiteral(" '") + modal->windowTitle() +
                                     QLatin1Char('\'');
                if (!state->Seen.contains(seen))
                    state->Seen << seen;
            }
            state->Waited += timer->interval();
            if (state->Waited < timeoutMs)
                return;
            timer->stop();
            timer->deleteLater();
            const QByteArray message =
                (QStringLiteral("No modal window ") + wanted +
                 QStringLiteral(" opened in time; seen: ") +
                 (state->Seen.isEmpty() ? QStringLiteral("none") : state->Seen.join(u", ")))
                    .toUtf8();
            QTest::qFail(message.constData(), __FILE__, __LINE__);
            // Whatever stands in the way is closed, so that the code under test returns.
            if (QWidget* open = QApplication::activeModalWidget(); open != nullptr)
                open->close();
        });
    timer->start();
}

void WhenModal(std::function<void(QWidget*)> action, int timeoutMs) {
    WhenModalMatching([](QWidget*) { return true; }, std::move(action),
                      QStringLiteral("of any kind"), timeoutMs);
}

} // namespace ulvan
