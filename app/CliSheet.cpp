#include "app/CliSheet.h"

#include "app/SettingsStore.h"
#include "calendar/Era.h"
#include "calendar/TextUtil.h"
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

std::u16string Text(const SettingsStore& store, const char* name) {
    return store.ReadString(QString::fromLatin1(name)).toStdU16String();
}

void ReadBool(const SettingsStore& store, const QString& name, bool& value) {
    if (const auto stored = store.ReadBool(name)) {
        value = *stored;
    }
}

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
    MemorialSheetInputs inputs;
    inputs.Schedule = DefaultSchedule();
    SheetOptions& options = inputs.Options;
    DeceasedData& data = inputs.Deceased;
    // Names, offsets and eve flags first: the date of death below recomputes the schedule
    // with them, as the window's field assignments do.
    {
        SettingsStore store(settingsFile);
        if (store.OpenKey(kKey2ndExtend, false)) {
            ReadBool(store, QStringLiteral("RubyPrint"), options.RubyPrint);
            constexpr std::array<std::size_t, 8> rows{0, 1, 2, 3, 5, 6, 7, 8};
            for (std::size_t i = 0; i < rows.size(); ++i) {
                const auto value = store.ReadInteger(QStringLiteral("Add%1").arg(i + 1));
                if (value) {
                    inputs.Schedule[rows[i]].Offset = *value;
                }
            }
            for (std::size_t i = 0; i < 9; ++i) {
                const QString name = QStringLiteral("KiName%1").arg(i + 1);
                if (store.ValueExists(name)) {
                    inputs.Schedule[i].Name = store.ReadString(name).toStdU16String();
                }
            }
            store.CloseKey();
        }
    }
    {
        SettingsStore store(settingsFile);
        if (store.OpenKey(kKeySetData, false)) {
            for (std::size_t i = 0; i < 9; ++i) {
                const QString name = QStringLiteral("Tai") + QChar(u'A' + static_cast<char16_t>(i));
                ReadBool(store, name, inputs.Schedule[i].Eve);
            }
            ReadBool(store, QStringLiteral("TmplNamePrint"), options.TmplNamePrint);
            if (const auto style = store.ReadInteger(QStringLiteral("KaimyoStyle"))) {
                options.KaimyoStyle = *style;
            }
            options.TitName = Text(store, "TitName");
            options.FntName1 = Text(store, "FntName1");
            options.FntName2 = Text(store, "FntName2");
            data.KiNen = Text(store, "KiNen");
            // The era box selects the item equal to the stored text's first four characters.
            const QString era = store.ReadString(QStringLiteral("KiNengo")).left(4);
            for (const std::u16string& item : EraComboItems()) {
                if (era.toStdU16String() == item) {
                    data.KiNengo = item;
                }
            }
            data.KiWanen = Text(store, "KiWanen");
            data.KiGatsu = Text(store, "KiGatsu");
            data.KiNichi = Text(store, "KiNichi");
            if (store.ValueExists(QStringLiteral("Kaimyo"))) {
                const std::u16string kaimyo = Text(store, "Kaimyo");
                const std::size_t slash = kaimyo.find(u'/');
                if (slash == std::u16string::npos) {
                    data.Kaimyo = kaimyo;
                } else {
                    data.Kaimyo = kaimyo.substr(0, slash);
                    data.Yomi = kaimyo.substr(slash + 1);
                }
            }
            data.Zokumyo = Text(store, "Zokumyo");
            data.GyoNen = Text(store, "GyoNen");
            store.CloseKey();
        }
    }
    {
        SettingsStore store(settingsFile);
        if (store.OpenKey(kKeyExtendSetUp, false)) {
            ReadBool(store, QStringLiteral("HatsuGatsuPrint"), options.HatsuGatsuPrint);
            ReadBool(store, QStringLiteral("HyakkaNichiPrint"), options.HyakkaNichiPrint);
            ReadBool(store, QStringLiteral("DogetsuShoryaku"), options.DogetsuShoryaku);
            ReadBool(store, QStringLiteral("WarekiInsatsu"), options.WarekiInsatsu);
            store.CloseKey();
        }
    }
    {
        SettingsStore store(settingsFile);
        if (store.OpenKey(kKeyTmplEdit, false)) {
            inputs.Footer = FooterLayout::FromStored(Text(store, "EditStr"));
            store.CloseKey();
        }
    }
    ComputeSchedule(data.KiNen, data.KiGatsu, data.KiNichi, inputs.Schedule, messages);
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
