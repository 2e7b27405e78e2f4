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
    : m_host(host)
    , m_interaction(interaction) {}

SheetCommands::~SheetCommands() = default;

MemorialSheetPrinter& SheetCommands::Printer() {
    if (!m_printer) {
        CaseHost& host = m_host;
        m_printer = std::make_unique<MemorialSheetPrinter>(
            m_interaction, [&host] { return ReadInputs(host); },
            [&host](const FooterLayout& layout) { host.SetFooter(layout); }, host.HostWindow());
    }
    return *m_printer;
}

TPrevForm& SheetCommands::Preview() {
    if (!m_preview) {
        m_preview = std::make_unique<TPrevForm>(Printer(), m_host.HostWindow());
        for (const auto& setUp : m_previewSetUps) {
            setUp(*m_preview);
        }
    }
    return *m_preview;
}

void SheetCommands::WhenPreviewMade(std::function<void(TPrevForm&)> setUp) {
    if (m_preview) {
        setUp(*m_preview);
    }
    m_previewSetUps.push_back(std::move(setUp));
}

void SheetCommands::ShowPreview(PreviewKind kind) {
    if (kind == PreviewKind::Memorial && !Printer().ConfirmCase(false))
        return;
    Preview().ShowPreview(static_cast<std::int32_t>(kind));
}

} // namespace ulvan
