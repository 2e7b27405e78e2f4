#include "sheet/SheetCommands.h"

#include "sheet/PrevUnit.h"

namespace ulvan {

MemorialSheetInputs SheetCommands::ReadInputs(const CaseHost& host) {
    MemorialSheetInputs inputs;
    inputs.Deceased = host.Deceased();
    inputs.Options = host.Options();
    inputs.Schedule = host.Schedule();
    inputs.Footer = host.Footer();
    return inputs;
}

SheetCommands::SheetCommands(CaseHost& host, Interaction& interaction)
    : m_printer(
          interaction, [&host] { return ReadInputs(host); },
          [&host](const FooterLayout& layout) { host.SetFooter(layout); }, host.HostWindow())
    , m_preview(std::make_unique<TPrevForm>(m_printer, host.HostWindow())) {}

SheetCommands::~SheetCommands() = default;

void SheetCommands::ShowPreview(PreviewKind kind) {
    m_preview->ShowPreview(static_cast<std::int32_t>(kind));
}

} // namespace ulvan
