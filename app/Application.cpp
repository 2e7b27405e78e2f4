#include "app/Application.h"

#include "annual/NenkaiUnit.h"
#include "app/AgeCalUnit.h"
#include "app/KaiUnit.h"
#include "app/ShosaiUnit.h"
#include "app/UlvanMain.h"
#include "calendar/NengoUnit.h"
#include "footer/TempleUnit.h"
#include "quicktable/HayamiUnit.h"
#include "records/AddUnit.h"
#include "records/TakeUnit.h"
#include "resources/HelpUnit.h"
#include "resources/VerUnit.h"
#include "sheet/PrevUnit.h"
#include "sheet/SheetCommands.h"
#include "ui/DialogSupport.h"
#include "ui/QtInteraction.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace ulvan {

void ConnectSheetCommands(TUlvanForm& main, SheetCommands& commands) {
    main.OnPrint = [&commands] { commands.Print(false); };
    main.OnPrintBlank = [&commands] { commands.Print(true); };
    main.OnPreview = [&commands](PreviewKind kind) { commands.ShowPreview(kind); };
}

void ConnectAnnualChart(TUlvanForm& main, SheetCommands& commands, TNenkaiForm& annual) {
    main.OnAnnualChart = [&annual] { annual.Open(); };
    TPrevForm& preview = commands.Preview();
    preview.AnnualPainter = [&annual](Canvas& canvas, int width, int height,
                                      FooterDrawRequest& request) {
        annual.PaintPreview(canvas, width, height, request);
    };
    preview.AnnualPrint = [&annual] { annual.PrintNenkaiSheet(false); };
}

bool InstallQtJapanese() {
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                          QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

int RunApplication(int& argc, char** argv) {
    QApplication application(argc, argv);
    // The task bar title; the main window's own caption carries the minor version.
    QApplication::setApplicationName(QStringLiteral("Ulvan表3.0"));
    QApplication::setOrganizationName(QStringLiteral("Pelvo"));
    // The clerk works in Japanese whatever the system's language: Qt's own dialogs too.
    InstallQtJapanese();

    QtInteraction interaction;

    // 1. The main window, complete (settings, era table, lists) before any other window;
    //    it shows the start-up picture while it loads.
    TUlvanForm main(interaction, QString(), true);

    // 2-15. The other windows in their order, hidden until shown.
    TKaiForm kaiForm(&main);
    TAgeCalForm ageCalForm(&main);
    TVerForm verForm(&main);
    // The memorial sheet's print, blank-sheet and preview commands, with the preview window.
    SheetCommands sheetCommands(main, interaction);
    TNengoForm nengoForm(&main);
    TShosaiForm shosaiForm(interaction, &main);
    TTakeForm takeForm(main, interaction, &main);
    TAddForm addForm(main, interaction, &main);
    // The annual chart copies the main window's era list and prints on the same printer.
    TNenkaiForm nenkaiForm(main, interaction, sheetCommands.Printer().Printer(), &main);
    // The quick table copies the main window's era list and prints on the same printer.
    THayamiForm hayamiForm(main, interaction, sheetCommands.Printer().Printer(), &main);
    // The guide stands beside the main window; it is not one of the modal windows.
    THelpForm helpForm(&main);
    // The footer editor with its three dialogs.
    TTempleForm templeForm(main, interaction, &main);

    // Closing the main window ends the program, also while the guide is open beside it.
    QObject::connect(&main, &TUlvanForm::Closed, &application, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    main.SetEraAsker(nengoForm.Asker());
    ConnectSheetCommands(main, sheetCommands);
    nenkaiForm.SetEraAsker(nengoForm.Asker());
    ConnectAnnualChart(main, sheetCommands, nenkaiForm);
    main.OnAbout = [&verForm] { verForm.exec(); };
    main.OnHelp = [&helpForm] { helpForm.ShowContents(); };
    main.OnImport = [&takeForm] { takeForm.Run(); };
    main.OnAppend = [&addForm] { addForm.Run(); };
    main.OnEditFooter = [&templeForm] { return templeForm.Edit(); };
    main.OnFooterCleared = [&templeForm] { templeForm.DropSelection(); };
    templeForm.OnHelp = [&helpForm, &templeForm](const QString& anchor) {
        helpForm.ShowTopic(anchor, &templeForm);
    };
    main.OnQuickTable = [&hayamiForm] { hayamiForm.Execute(); };
    hayamiForm.OnHelp = [&helpForm, &hayamiForm](const QString& anchor) {
        helpForm.ShowTopic(anchor, &hayamiForm);
    };

    main.KaiForm = &kaiForm;
    main.AgeCalForm = &ageCalForm;
    main.ShosaiForm = &shosaiForm;

    CentreOnScreen(&main);
    main.show();
    return QApplication::exec();
}

} // namespace ulvan
