#include "app/Application.h"

#include "annual/NenkaiUnit.h"
#include "app/UlvanMain.h"
#include "calendar/CalendarExport.h"
#include "calendar/NengoUnit.h"
#include "footer/TempleUnit.h"
#include "quicktable/HayamiUnit.h"
#include "records/AddUnit.h"
#include "records/DueUnit.h"
#include "records/TakeUnit.h"
#include "resources/HelpUnit.h"
#include "resources/VerUnit.h"
#include "sheet/PrevUnit.h"
#include "sheet/SheetCommands.h"
#include "ui/DialogSupport.h"
#include "ui/OnFirstUse.h"
#include "ui/ProgramStyle.h"
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
    main.OnSavePdf = [&commands] { commands.SavePdf(); };
    main.OnPreview = [&commands](PreviewKind kind) { commands.ShowPreview(kind); };
}

void ConnectAnnualChart(TUlvanForm& main, SheetCommands& commands,
                        OnFirstUse<TNenkaiForm>& annual) {
    main.OnAnnualChart = [&annual] { annual->Open(); };
    // Handed to the preview window when it is made, so that start-up does not make it.
    commands.WhenPreviewMade([&annual](TPrevForm& preview) {
        preview.AnnualPainter = [&annual](Canvas& canvas, int width, int height,
                                          FooterDrawRequest& request) {
            annual->PaintPreview(canvas, width, height, request);
        };
        preview.AnnualPrint = [&annual] { annual->PrintNenkaiSheet(false); };
        preview.AnnualSavePdf = [&annual] { annual->SaveNenkaiSheetPdf(false); };
    });
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
    // The desktop entry the windows belong to (its icon in the task bar and the dock).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.ulvan.Ulvan"));
    // The clerk works in Japanese whatever the system's language: Qt's own dialogs too.
    InstallQtJapanese();
    QApplication::setStyle(new ProgramStyle);

    QtInteraction interaction;

    // The main window, complete (settings, era table, lists) before any other window; when
    // that takes long enough to notice, it shows the start-up picture while it loads.
    TUlvanForm main(interaction, QString(), kStartupPictureAfterMs);

    // The other windows are made the first time the user asks for them and kept for the
    // run, hidden between showings; each reads the main window's case when it is made or
    // shown, so none needs to exist before the main window shows. The main window's own
    // dialogs are made by the main window.
    OnFirstUse<TVerForm> verForm([&main] { return std::make_unique<TVerForm>(&main); });
    // The memorial sheet's print, blank-sheet and preview commands (printer and preview
    // window made on first use).
    SheetCommands sheetCommands(main, interaction);
    OnFirstUse<TNengoForm> nengoForm([&main] { return std::make_unique<TNengoForm>(&main); });
    OnFirstUse<TTakeForm> takeForm(
        [&main, &interaction] { return std::make_unique<TTakeForm>(main, interaction, &main); });
    OnFirstUse<TDueForm> dueForm(
        [&main, &interaction] { return std::make_unique<TDueForm>(main, interaction, &main); });
    OnFirstUse<TAddForm> addForm(
        [&main, &interaction] { return std::make_unique<TAddForm>(main, interaction, &main); });
    // The annual chart copies the main window's era list and prints on the same printer; the
    // printer is made with it, the first time either is needed.
    OnFirstUse<TNenkaiForm> nenkaiForm([&main, &interaction, &sheetCommands, &nengoForm] {
        auto form = std::make_unique<TNenkaiForm>(main, interaction,
                                                  sheetCommands.Printer().Printer(), &main);
        form->SetEraAsker(
            [&nengoForm](std::size_t newEraIndex) { return nengoForm->Ask(newEraIndex); });
        return form;
    });
    // The quick table copies the main window's era list and prints on the same printer.
    OnFirstUse<THayamiForm> hayamiForm([&main, &interaction, &sheetCommands] {
        return std::make_unique<THayamiForm>(main, interaction, sheetCommands.Printer().Printer(),
                                             &main);
    });
    // The guide stands beside the main window; it is not one of the modal windows.
    OnFirstUse<THelpForm> helpForm([&main] { return std::make_unique<THelpForm>(&main); });
    // The footer editor with its three dialogs.
    OnFirstUse<TTempleForm> templeForm(
        [&main, &interaction] { return std::make_unique<TTempleForm>(main, interaction, &main); });

    // Closing the main window ends the program, also while the guide is open beside it.
    QObject::connect(&main, &TUlvanForm::Closed, &application, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    main.SetEraAsker([&nengoForm](std::size_t newEraIndex) { return nengoForm->Ask(newEraIndex); });
    ConnectSheetCommands(main, sheetCommands);
    ConnectAnnualChart(main, sheetCommands, nenkaiForm);
    main.OnAbout = [&verForm, &helpForm] {
        verForm->OnHelp = [&verForm, &helpForm](const QString& anchor) {
            helpForm->ShowTopic(anchor, &verForm.Get());
        };
        verForm->exec();
    };
    main.OnHelp = [&helpForm] { helpForm->ShowContents(); };
    main.OnImport = [&takeForm] { takeForm->Run(); };
    main.OnAppend = [&addForm] { addForm->Run(); };
    main.OnDueList = [&dueForm] { dueForm->Run(); };
    main.OnCalendarExport = [&main, &interaction] {
        ExportMemorialCalendar(main, interaction, &main);
    };
    main.OnEditFooter = [&templeForm, &helpForm] {
        if (!templeForm.Made()) {
            templeForm->OnHelp = [&helpForm, &templeForm](const QString& anchor) {
                helpForm->ShowTopic(anchor, &templeForm.Get());
            };
        }
        return templeForm->Edit();
    };
    // A footer editor not made yet holds no selection to drop.
    main.OnFooterCleared = [&templeForm] {
        if (templeForm.Made()) {
            templeForm->DropSelection();
        }
    };
    main.OnQuickTable = [&hayamiForm, &helpForm] {
        if (!hayamiForm.Made()) {
            hayamiForm->OnHelp = [&helpForm, &hayamiForm](const QString& anchor) {
                helpForm->ShowTopic(anchor, &hayamiForm.Get());
            };
        }
        hayamiForm->Execute();
    };

    CentreOnScreen(&main);
    main.show();
    return QApplication::exec();
}

} // namespace ulvan
