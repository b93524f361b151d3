#pragma once

#include "core/DateWindow.h"
#include "core/SlotKey.h"

#include <QDate>
#include <QPageLayout>
#include <QString>
#include <array>

class QPagedPaintDevice;
class QWidget;

// The two weeks on paper, to post on the room's door and to keep in case the
// computers fail. Drawn from what the board shows, never grabbed from the
// window: lines and text stay sharp at the printer's resolution.
//
// One week to a page. Both weeks would fit one A4 sheet only at about half
// the size, a caption's characters some 3.5 mm high, which a teacher cannot
// read from a step away from the door; a week to a page keeps them at 7 mm,
// as large as on the screen, and the page of the week that is over can go
// while the next stays up.
namespace BoardPrint {

struct Sheet
{
    QString roomName;
    std::array<QDate, DateWindow::DateCount> dates{};       // D(1) … D(12)
    std::array<QString, DateWindow::ColumnCount> weekdays;  // as above each day column: "(月)" …
    std::array<QString, SlotKey::SlotCount + 1> captions;   // slot 1 … 70, as shown; [0] unused
    std::array<QString, SlotKey::SlotsPerDay> slotNumbers;  // beside the rows: "１" … "７"
    QString afterLessons;                                   // under the seventh: "授業後"
};

// A4 landscape, with margins every printer can print within.
QPageLayout pageLayout();

// Both weeks, the first on the page the device is on and the second on a new
// one, each filling the page's printable area.
void print(QPagedPaintDevice &device, const Sheet &sheet);

// The print preview, from which the teacher prints or saves a PDF.
void preview(const Sheet &sheet, QWidget *parent);

} // namespace BoardPrint
