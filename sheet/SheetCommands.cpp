#include "sheet/SheetCommands.h"

#include "app/UlvanMain.h"
#include "sheet/PrevUnit.h"

namespace ulvan {

MemorialSheetInputs SheetCommands::ReadInputs(const TUlvanForm& main) {
    MemorialSheetInputs inputs;
    inputs.Deceased = main.Deceased();
    inputs.Options = main.Options();
    inputs.Schedule = main.Schedule();
    inputs.Footer = FooterLayout::FromStored(main.EditStr().toStdU16String());
    return inputs;
}

SheetCommands::SheetCommands(TUlvanForm& main, Interaction& interaction)
    : m_printer(
          interaction, [&main] { return ReadInputs(main); },
          [&main](const FooterLayout& layout) {
              main.SetEditStr(QString::fromStdU16String(layout.ToStored()));
          },
          &main)
    , m_preview(std::make_unique<TPrevForm>(m_printer, &main)) {
    main.OnPrint = [this] { m_printer.PrintMemorialSheet(false); };
    main.OnPrintBlank = [this] { m_printer.PrintMemorialSheet(true); };
    main.OnPreview = [this] { m_preview->ShowPreview(0); };
}

SheetCommands::~SheetCommands() = default;

} // namespace ulvan
