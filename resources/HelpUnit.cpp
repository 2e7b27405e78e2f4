#include "resources/HelpUnit.h"

#include "ui/DialogSupport.h"

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
    : QDialog(parent) {
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
    HelpText->setFont(UiFont(QString::fromUtf16(kGothicP), 14));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(HelpText);
    HelpText->setSource(HelpContentsUrl());
}

void THelpForm::ShowContents() {
    HelpText->setSource(HelpContentsUrl());
    HelpText->home();
    show();
    raise();
    activateWindow();
}

} // namespace ulvan
