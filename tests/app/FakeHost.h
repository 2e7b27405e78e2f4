// A CaseHost for window tests: the case is plain fields the test sets, and every request is
// recorded. Like the main window, ApplyRecord and SetFooter change what later reads give.
#pragma once

#include "calendar/Era.h"
#include "case/CaseHost.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <vector>

namespace ulvan {

class FakeHost : public CaseHost {
public:
    // --- the case the reads give ---
    DeceasedData DeceasedValue;
    SheetOptions OptionsValue;
    MemorialSchedule ScheduleValue = DefaultSchedule();
    FooterLayout FooterValue;
    std::vector<std::u16string> Eras = EraComboItems();
    QDate Today{2024, 4, 1};
    QString Settings;
    QWidget* Window = nullptr;

    // --- what was asked, in order ---
    std::vector<bool> Prints; // the `blank` of each print request
    std::vector<PreviewKind> Previews;
    std::vector<DeceasedData> Records;
    std::vector<FooterLayout> Footers;
    QStringList StatusMessages;

    DeceasedData Deceased() const override { return DeceasedValue; }
    SheetOptions Options() const override { return OptionsValue; }
    MemorialSchedule Schedule() const override { return ScheduleValue; }
    FooterLayout Footer() const override { return FooterValue; }
    std::vector<std::u16string> EraItems() const override { return Eras; }
    QDate CurrentDate() const override { return Today; }
    QString SettingsFile() const override { return Settings; }
    QWidget* HostWindow() const override { return Window; }

    void PrintMemorialSheet(bool blank) override { Prints.push_back(blank); }
    void ShowPreview(PreviewKind kind) override { Previews.push_back(kind); }
    void ApplyRecord(const DeceasedData& record) override {
        Records.push_back(record);
        DeceasedValue = record;
    }
    void SetFooter(const FooterLayout& layout) override {
        Footers.push_back(layout);
        FooterValue = layout;
    }
    void ShowStatusMessage(const QString& text) override { StatusMessages.append(text); }
};

} // namespace ulvan
