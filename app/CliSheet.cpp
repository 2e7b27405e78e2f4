#include "app/CliSheet.h"

#include "annual/NenkaiUnit.h"
#include "app/CliAnnual.h"

#include "calendar/TextUtil.h"
#include "case/AtomicFile.h"
#include "case/SettingsCheck.h"
#include "case/StoredCase.h"
#include "sheet/MemorialSheet.h"
#include "sheet/PrintSheet.h"
#include "sheet/QtText.h"

#include <QFile>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>

#include <cstdlib>
#include <memory>
#include <optional>
#include <ostream>

namespace ulvan {

namespace {

constexpr int kWrongCall = 2;
constexpr int kWriteFailed = 1;

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

int RunSheetCommand(const ParsedArguments& args, std::ostream& out, std::ostream& err) {
    (void)out;
    if (!args.Positional.empty()) {
        err << "ulvan sheet: 余分な引数 '" << Printable(args.Positional.front())
            << "' があります (unexpected argument)\n";
        return kWrongCall;
    }
    const std::string* pdfArgument = args.Value("pdf");
    if (pdfArgument == nullptr || pdfArgument->empty()) {
        err << "ulvan sheet: --pdf FILE を指定してください (--pdf FILE is required)\n";
        return kWrongCall;
    }
    // The name as the system spells it. A name that does not come back to the same bytes
    // (not valid in the system's encoding) would create a different file: refused.
    const QByteArray pdfBytes = QByteArray::fromStdString(*pdfArgument);
    const QString pdf = QFile::decodeName(pdfBytes);
    if (QFile::encodeName(pdf) != pdfBytes) {
        err << "ulvan sheet: ファイル名 '" << Printable(pdf.toStdString())
            << "' は UTF-8 ではないため扱えません (the file name is not valid UTF-8)\n";
        return kWrongCall;
    }
    QPageSize::PageSizeId paper = QPageSize::A4;
    if (const std::string* value = args.Value("paper")) {
        if (*value == "A4") {
            paper = QPageSize::A4;
        } else if (*value == "B5") {
            paper = QPageSize::JisB5;
        } else if (*value == "A3") {
            paper = QPageSize::A3;
        } else {
            err << "ulvan sheet: 用紙 '" << Printable(*value)
                << "' はありません。A4・B5・A3 のどれかです (unknown paper)\n";
            return kWrongCall;
        }
    }
    const bool blank = args.Has("blank");
    const bool annual = args.Has("annual");

    const auto application = EnsureGuiApplication();
    // Settings that cannot be read would print a sheet of defaults as if it were the case.
    if (const SettingsFileCheck settings = CheckSettingsFile(QString());
        settings.State == SettingsFileState::Unreadable) {
        err << ToUtf8(UnreadableSettingsMessage(settings)) << '\n';
        return kWriteFailed;
    }
    StreamSink messages(err);
    MemorialSheetInputs inputs;
    NenkaiSheetInputs annualInputs;
    SheetOptions options;
    QString title;
    bool titleMissing = false;
    if (annual) {
        annualInputs = LoadStoredNenkaiInputs(QString(), &messages);
        options = annualInputs.Options;
        title = ToQ(NenkaiTitle(annualInputs.Chart.Title));
        titleMissing = annualInputs.Chart.Title.empty();
    } else {
        inputs = LoadStoredSheetInputs(QString(), &messages);
        options = inputs.Options;
        title = ToQ(SheetTitle(inputs.Options.TitName));
        titleMissing = inputs.Options.TitName.empty();
        if (!blank) {
            const SheetCaseCheck check = CheckSheetCase(inputs.Deceased);
            if (check.NameNotPrinted)
                err << "ulvan sheet: 警告: " << ToUtf8(kNameNotPrintedMessage)
                    << " (warning: a posthumous name of over 16 characters is not printed)\n";
            if (!check.MissingDate.empty())
                err << "ulvan sheet: 警告: 命日の日付が存在しません（" << ToUtf8(check.MissingDate)
                    << "）。そのまま書き出します (warning: the date of death does not exist)\n";
        }
    }
    // The messages the print command shows before its dialog.
    ShowSheetMessages(options, titleMissing,
                      annual ? kNenkaiTitleMissingMessage : kTitleMissingMessage, messages);
    // The whole PDF is made in memory and then replaces the file in one step, so a write
    // that fails part way leaves no truncated file and keeps an earlier one.
    const std::optional<QByteArray> document = MakeSheetPdf(
        [&](QPainter& painter, int width, int height, FooterDrawRequest& request) {
            if (annual) {
                DrawNenkaiReadingPage(painter, width, height, annualInputs, blank, request);
            } else {
                DrawMemorialReadingPage(painter, width, height, inputs, blank, request);
            }
        },
        title, paper, messages);
    if (!document) {
        err << "ulvan sheet: PDF を作れません (the PDF could not be made)\n";
        return kWriteFailed;
    }
    if (const FileWriteResult written = WriteFileAtomically(pdf, *document); !written) {
        err << "ulvan sheet: " << Printable(written.Message.toStdString()) << '\n';
        return kWriteFailed;
    }
    return 0;
}

} // namespace ulvan
