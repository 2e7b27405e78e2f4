// Linked into both start-up probes: the process ends as soon as its main window has painted
// for the first time, so that the time from launch to exit is the time to a window the user
// sees. Nothing is saved or torn down on the way out.
#include <QCoreApplication>
#include <QEvent>
#include <QMainWindow>
#include <QMetaObject>

#include <cstdio>
#include <cstdlib>

namespace {

class ExitAfterFirstPaint : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!m_done && event->type() == QEvent::Paint && qobject_cast<QMainWindow*>(watched)) {
            m_done = true;
            // Queued: the paint under way and the flush to the screen complete first.
            QMetaObject::invokeMethod(
                this,
                [] {
                    std::fflush(nullptr);
                    std::_Exit(0);
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    bool m_done = false;
};

void InstallExitAfterFirstPaint() {
    QCoreApplication::instance()->installEventFilter(
        new ExitAfterFirstPaint(QCoreApplication::instance()));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallExitAfterFirstPaint)
