#include "app/Application.h"

#include "app/AgeCalUnit.h"
#include "app/DialogSupport.h"
#include "app/KaiUnit.h"
#include "app/QtInteraction.h"
#include "app/ShosaiUnit.h"
#include "app/UlvanMain.h"

#include <QApplication>

#include <memory>

namespace ulvan {

int RunApplication(int& argc, char** argv) {
    QApplication application(argc, argv);
    // The task bar title; the main window's own caption carries the minor version.
    QApplication::setApplicationName(QStringLiteral("Ulvan表3.0"));
    QApplication::setOrganizationName(QStringLiteral("Pelvo"));

    QtInteraction interaction;

    // CALL SITE: the start-up picture window; shown by the main window while it loads.
    QWidget* splash = nullptr;

    // 1. The main window, complete (settings, era table, lists) before any other window.
    TUlvanForm main(interaction, QString(), splash);

    // 2-15. The other windows, hidden until shown modally.
    TKaiForm kaiForm(&main);
    TAgeCalForm ageCalForm(&main);
    TShosaiForm shosaiForm(interaction, &main);

    main.KaiForm = &kaiForm;
    main.AgeCalForm = &ageCalForm;
    main.ShosaiForm = &shosaiForm;

    CentreOnScreen(&main);
    main.show();
    return QApplication::exec();
}

} // namespace ulvan
