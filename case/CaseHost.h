// What the secondary windows and the sheet commands may read of the main window and ask of
// it. The main window implements it; the other windows hold a CaseHost& and never the main
// window's class, so each of them can be tested against a small fake.
//
// Every read gives the case as the main window's controls hold it at the moment of the call
// (texts as they stand, unvalidated); nothing is kept between calls. Only the requests below
// change the case.
#pragma once

#include "calendar/Schedule.h"
#include "case/CaseData.h"
#include "footer/FooterModel.h"

#include <QDate>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

class QWidget;

namespace ulvan {

// Which sheet the preview shows and prints.
enum class PreviewKind : std::int32_t { Memorial = 0, Annual = 1 };

class CaseHost {
public:
    virtual ~CaseHost() = default;

    // The deceased's data, each field the current text of its control.
    virtual DeceasedData Deceased() const = 0;
    // The print options.
    virtual SheetOptions Options() const = 0;
    // The nine rows as shown: names, offsets, eve flags and the result fields as they hold
    // them now (manual edits included).
    virtual MemorialSchedule Schedule() const = 0;
    // The footer layout.
    virtual FooterLayout Footer() const = 0;
    // The era names of the main window's era box, newest first, "－－" last.
    virtual std::vector<std::u16string> EraItems() const = 0;
    // Today, as the "きょう" button sees it.
    virtual QDate CurrentDate() const = 0;
    // The settings store the windows read and write their own values in.
    virtual QString SettingsFile() const = 0;
    // The window that dialogs opened for the case stand over.
    virtual QWidget* HostWindow() const = 0;

    // Prints the memorial sheet (`blank`: the printed form only) through the print dialog.
    virtual void PrintMemorialSheet(bool blank) = 0;
    // Opens the print preview on the given sheet; returns when it closes.
    virtual void ShowPreview(PreviewKind kind) = 0;
    // Copies a record into the date and deceased's fields, in the order western year, era,
    // era year, month, day, name, reading, secular name, age; each assignment reacts as
    // typing would (the schedule recomputes).
    virtual void ApplyRecord(const DeceasedData& record) = 0;
    // Replaces the footer layout (the footer editor's OK).
    virtual void SetFooter(const FooterLayout& layout) = 0;
    // Reports a finished action in the main window's status bar (e.g. a record appended).
    virtual void ShowStatusMessage(const QString& text) = 0;
};

} // namespace ulvan
