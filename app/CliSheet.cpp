#include "app/CliSheet.h"

#include "calendar/TextUtil.h"
#include "case/StoredCase.h"
#include "sheet/MemorialSheet.h"
#include "sheet/PrintSheet.h"

#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <cstdlib>
#include <memory>
#include <ostream>

namespace ulvan {

namespace {

constexpr int kWrongCall = 2;
constexpr int kWriteFailed = 1;
constexpr int kPdfResolution = 600;

class StreamSink : public MessageSink {
public:
    explicit StreamSink(std::ostream& err)
        : m_err(err) {}
    void ShowMessage(std::u16string_view text) override { m_err << ToUtf8(text) << '\n'; }
    void Beep(BeepKind) override {}

private:
    std::ostream& m_err;
};

// QGuiApplication for fonts and the PDF writer, on the offscreen platform when no display is
// there; an application that already runs is used as it is.
std::unique_ptr<QGuiApplication> EnsureGuiApplication() {
    if (QCoreApplication::instance() != nullptr) {
        return nullptr;
    }
    if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("DISPLAY") == nullptr &&
        std::getenv("WAYLAND_DISPLAY") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    }
    static int argc = 1;
    static char name[] = "ulvan";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace

MemorialSheetInputs LoadStoredSheetInputs(const QString& settingsFile, MessageSink* messages) {
    const StoredCase stored = ReadStoredCase(settingsFile);
    MemorialSheetInputs inputs;
    inputs.Deceased = stored.Deceased;
    inputs.Options = stored.Options;
    inputs.Schedule = stored.Rows;
    inputs.Footer = FooterLayout::FromStored(stored.EditStr);
    // The window's date fields recompute the schedule with the stored rows.
    ComputeSchedule(inputs.Deceased.KiNen, inputs.Deceased.KiGatsu, inputs.Deceased.KiNichi,
                    inputs.Schedule, messages);
    return inputs;
}

int RunSheetCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    (void)out;
    QString pdf;
    bool blank = false;
    QPageSize::PageSizeId paper = QPageSize::A4;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--blank") {
            blank = true;
        } else if (arg == "--pdf" || arg == "--paper") {
            if (i + 1 == args.size()) {
                err << "ulvan sheet: option '" << arg << "' needs a value\n";
                return kWrongCall;
            }
            const std::string& value = args[++i];
            if (arg == "--pdf") {
                pdf = QString::fromStdString(value);
            } else if (value == "A4") {
                paper = QPageSize::A4;
            } else if (value == "B5") {
                paper = QPageSize::JisB5;
            } else if (value == "A3") {
                paper = QPageSize::A3;
            } else {
                err << "ulvan sheet: unknown paper '" << value << "' (A4, B5 or A3)\n";
                return kWrongCall;
            }
        } else {
            err << "ulvan sheet: unknown argument '" << arg << "'\n";
            return kWrongCall;
        }
    }
    if (pdf.isEmpty()) {
        err << "ulvan sheet: --pdf FILE is required\n";
        return kWrongCall;
    }

    const auto application = EnsureGuiApplication();
    StreamSink messages(err);
    MemorialSheetInputs inputs = LoadStoredSheetInputs(QString(), &messages);
    // The messages the print command shows before its dialog.
    if (inputs.Options.FntName1.empty() || inputs.Options.FntName2.empty()) {
        messages.ShowMessage(kFontMissingMessage.toStdU16String());
    }
    if (inputs.Options.TitName.empty()) {
        messages.ShowMessage(kTitleMissingMessage.toStdU16String());
    }

    QPdfWriter writer(pdf);
    writer.setResolution(kPdfResolution);
    writer.setTitle(QString::fromStdU16String(SheetTitle(inputs.Options.TitName)));
    writer.setCreator(QStringLiteral("Ulvan表"));
    writer.setPageLayout(QPageLayout(QPageSize(paper), QPageLayout::Landscape, QMarginsF()));
    const QRect full = writer.pageLayout().fullRectPixels(kPdfResolution);
    QPainter painter;
    if (!painter.begin(&writer)) {
        err << "ulvan sheet: cannot write '" << pdf.toStdString() << "'\n";
        return kWriteFailed;
    }
    // The landscape page's height is the portrait paper's width.
    FooterDrawRequest request(&messages);
    DrawMemorialReadingPage(painter, full.height(), full.width(), inputs, blank, request);
    if (!painter.end()) {
        err << "ulvan sheet: writing '" << pdf.toStdString() << "' failed\n";
        return kWriteFailed;
    }
    return 0;
}

} // namespace ulvan
