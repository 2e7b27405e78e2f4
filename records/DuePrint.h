// The printed list of this year's memorials: a table in Japanese on landscape pages, the
// heading (year and record file) and the column captions on every page, a cell's text wrapped
// within its column rather than cut.
#pragma once

#include "records/DueList.h"

#include <QString>

class QPagedPaintDevice;

namespace ulvan {

struct DuePrintResult {
    bool Ok = false;
    int Pages = 0;
};

// Paints the list on `device` (the job ends when this returns).
DuePrintResult PaintDueList(QPagedPaintDevice& device, const QString& heading, const DueList& list);

} // namespace ulvan
