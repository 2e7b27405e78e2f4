#include "resources/HelpUnit.h"

#include "ui/DialogSupport.h"

#include <QEvent>
#include <QTextBrowser>
#include <QVBoxLayout>

// The resources are compiled into a static library; naming their initialiser here keeps the
// linker from dropping them. It must be called outside any namespace.
static void InitUlvanResources() {
    Q_INIT_RESOURCE(ulvan_resources);
}

namespace ulvan {

QUrl HelpContentsUrl() {
    return QUrl(QStringLiteral("qrc:/help/Ulvan.html"));
}

THelpForm::THelpForm(QWidget* parent)
    : QDialog(parent)
    , m_home(parent) {
    InitUlvanResources();
    setObjectName(QStringLiteral("HelpForm"));
    setWindowTitle(QStringLiteral("Ulvan表 ヘルプ"));
    setModal(false);
    setFont(DefaultUiFont());
    resize(560, 520);

    HelpText = new QTextBrowser(this);
    HelpText->setObjectName(QStringLiteral("HelpText"));
    HelpText->setOpenLinks(true);
    HelpText->setOpenExternalLinks(false);
    HelpText->setFont(UiFont(ToQ(kGothicP), 14));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(HelpText);
    HelpText->setSource(HelpContentsUrl());
}

void THelpForm::ShowTopic(const QString& anchor, QWidget* over) {
    StandOver(over == nullptr ? nullptr : over->window());
    QUrl url = HelpContentsUrl();
    url.setFragment(anchor);
    HelpText->setSource(url);
    HelpText->scrollToAnchor(anchor);
    show();
    raise();
    activateWindow();
}

void THelpForm::StandOver(QWidget* over) {
    if (over == m_over || over == this) {
        return;
    }
    if (m_over != nullptr) {
        m_over->removeEventFilter(this);
    }
    m_over = over;
    // A modal window blocks every window but those it owns, so the guide becomes one of them.
    const QRect place = geometry();
    setParent(over != nullptr ? over : m_home, windowFlags());
    setGeometry(place);
    if (m_over != nullptr) {
        m_over->installEventFilter(this);
    }
}

bool THelpForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_over && (event->type() == QEvent::Hide || event->type() == QEvent::Destroy)) {
        const bool shown = isVisible();
        StandOver(nullptr);
        if (shown) {
            show();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void THelpForm::ShowContents() {
    StandOver(nullptr);
    HelpText->setSource(HelpContentsUrl());
    HelpText->home();
    show();
    raise();
    activateWindow();
}

} // namespace ulvan
