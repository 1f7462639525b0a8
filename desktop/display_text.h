// SPDX-License-Identifier: MIT
// How the host's own display writes numbers, dates and timescale labels for the user: in
// Arabic-Indic or Latin digits (the user's choice; the locale's by default), with the names of
// months and weekdays in the interface's language. It is for the host's display only (date and
// duration cells, Gantt labels, print): the text of a task's text fields, the Hijri text the
// add-in writes among it, is data kept in the file and is shown as it is kept.
//
//   painter.drawText(box, Qt::AlignCenter, timescaleLabelShown(cell, tier.calendar, tier.unit,
//                                                               long_labels, hijri));
#pragma once

#include <QString>
#include <cstdint>

#include "workbench/model/field_catalog.h"
#include "workbench/view/timescale.h"

namespace lunavant::workbench {
class HijriDays;
}

namespace lunavant::desktop {

enum class DisplayDigits { kArabicIndic, kLatin };

// The user's choice, else the digits of the interface's locale.
DisplayDigits chosenDisplayDigits();
void setChosenDisplayDigits(DisplayDigits digits);
// Whether the user keeps time running from left to right in a right-to-left layout (on screen
// and in print); false, time following the layout, unless chosen.
bool leftToRightTimeChosen();
void setLeftToRightTimeChosen(bool left_to_right);

// Forgets what was read of the user's choices, for a new interface locale.
void reloadDisplayChoices();

// `text` with its Latin digits written in the chosen digits; everything else as it is.
QString digitsShown(const QString& text);
QString numberShown(std::int64_t number);

// "Ramadan" (English) or "رمضان" (Arabic) for month 1..12 of the Hijri year; empty outside.
QString hijriMonthNameShown(int month);

// The label of a timescale cell in the interface's language and the chosen digits: "رمضان ١٤٤٦"
// for a month of the upper Hijri tier. `long_label` is true on the upper tier. An English
// interface shows the host's labels ("Ramadan 1446").
QString timescaleLabelShown(const lunavant::workbench::TierCell& cell,
                            lunavant::workbench::TierCalendar calendar,
                            lunavant::workbench::TierUnit unit, bool long_label,
                            lunavant::workbench::HijriDays& hijri);

// The text of a cell of the host's `kind` (a date "Sun 2/3/25", a duration "5 days") as the
// display shows it: weekday and unit names in the interface's language, the chosen digits. Text
// of other kinds, and text the host did not write in its own form, is returned as it is.
QString cellTextShown(const QString& host_text, lunavant::workbench::FieldKind kind);

}  // namespace lunavant::desktop
