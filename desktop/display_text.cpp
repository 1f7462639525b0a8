// SPDX-License-Identifier: MIT
#include "desktop/display_text.h"

#include <QCalendar>
#include <QCoreApplication>
#include <QLocale>
#include <QRegularExpression>
#include <QSettings>
#include <optional>

#include "desktop/host_text.h"
#include "desktop/interface_language.h"
#include "workbench/schedule/calendar.h"
#include "workbench/view/hijri_days.h"

namespace lunavant::desktop {

namespace wb = lunavant::workbench;

namespace {

const char* const kDigitsKey = "display/digits";
const char* const kTimeAxisKey = "chart/leftToRightTime";

struct DisplayTexts {
  Q_DECLARE_TR_FUNCTIONS(DisplayText)
};

// Read from the settings on first use: the chart asks for every label it paints.
std::optional<DisplayDigits> g_digits;
std::optional<bool> g_left_to_right_time;

DisplayDigits localeDigits() {
  return QLocale().zeroDigit() == QStringLiteral("\u0660") ? DisplayDigits::kArabicIndic
                                                           : DisplayDigits::kLatin;
}

bool arabicInterface() { return currentInterfaceLanguage() == InterfaceLanguage::kArabic; }

QString gregorianMonthName(int month, bool long_name) {
  return QLocale().monthName(month, long_name ? QLocale::LongFormat : QLocale::ShortFormat);
}

// The Arabic label of a Gregorian cell starting on `day`.
QString gregorianLabel(std::int64_t day, wb::TierUnit unit, bool long_label) {
  const host::DateTime at = wb::CivilFromDays(day);
  switch (unit) {
    case wb::TierUnit::kYear:
      return numberShown(at.year);
    case wb::TierUnit::kQuarter: {
      const QString quarter = DisplayTexts::tr("Q%1").arg(numberShown((at.month - 1) / 3 + 1));
      return long_label ? quarter + QLatin1Char(' ') + numberShown(at.year) : quarter;
    }
    case wb::TierUnit::kMonth: {
      const QString name = gregorianMonthName(at.month, long_label);
      return long_label ? name + QLatin1Char(' ') + numberShown(at.year) : name;
    }
    case wb::TierUnit::kWeek:
      return numberShown(at.day) + QLatin1Char(' ') + gregorianMonthName(at.month, false);
    case wb::TierUnit::kDay:
    case wb::TierUnit::kNone:
      break;
  }
  return numberShown(at.day);
}

// The Arabic label of a Hijri cell starting on `day`; empty when the converter gives no date.
QString hijriLabel(std::int64_t day, wb::TierUnit unit, bool long_label, wb::HijriDays& hijri) {
  const std::optional<wb::HijriDate> at = hijri.FromDays(day);
  if (!at) return {};
  switch (unit) {
    case wb::TierUnit::kYear:
      return long_label ? DisplayTexts::tr("%1 AH").arg(numberShown(at->year))
                        : numberShown(at->year);
    case wb::TierUnit::kQuarter:
      return DisplayTexts::tr("Q%1").arg(numberShown((at->month - 1) / 3 + 1));
    case wb::TierUnit::kMonth: {
      const QString name = hijriMonthNameShown(at->month);
      return long_label ? name + QLatin1Char(' ') + numberShown(at->year) : name;
    }
    case wb::TierUnit::kWeek:
      return numberShown(at->day) + QLatin1Char(' ') + hijriMonthNameShown(at->month);
    case wb::TierUnit::kDay:
    case wb::TierUnit::kNone:
      break;
  }
  return numberShown(at->day);
}

// "Sun 2/3/25" with the weekday in the interface's language.
QString dateShown(const QString& text) {
  static const QRegularExpression kWeekdayFirst(QStringLiteral("^(Sun|Mon|Tue|Wed|Thu|Fri|Sat) "));
  const QRegularExpressionMatch match = kWeekdayFirst.match(text);
  if (!match.hasMatch()) {
    return text == QLatin1String("NA") ? DisplayTexts::tr("NA", "no date") : digitsShown(text);
  }
  static const QStringList kWeekdays = {
      QStringLiteral("Mon"), QStringLiteral("Tue"), QStringLiteral("Wed"), QStringLiteral("Thu"),
      QStringLiteral("Fri"), QStringLiteral("Sat"), QStringLiteral("Sun")};
  const int weekday = static_cast<int>(kWeekdays.indexOf(match.captured(1))) + 1;  // [1, 7]
  return QLocale().dayName(weekday, QLocale::ShortFormat) + QLatin1Char(' ') +
         digitsShown(text.mid(match.capturedLength()));
}

// "5 days", "1 day", "3 edays" with the unit in the interface's language.
QString durationShown(const QString& text) {
  static const QRegularExpression kDuration(QStringLiteral("^(-?[0-9.,]+) (e?)(day|days)$"));
  const QRegularExpressionMatch match = kDuration.match(text);
  if (!match.hasMatch()) return digitsShown(text);
  const QString number = digitsShown(match.captured(1));
  const bool elapsed = !match.captured(2).isEmpty();
  const bool one = match.captured(3) == QLatin1String("day");
  if (elapsed) {
    return one ? DisplayTexts::tr("%1 eday").arg(number) : DisplayTexts::tr("%1 edays").arg(number);
  }
  return one ? DisplayTexts::tr("%1 day").arg(number) : DisplayTexts::tr("%1 days").arg(number);
}

}  // namespace

DisplayDigits chosenDisplayDigits() {
  if (!g_digits) {
    const QString saved = QSettings().value(kDigitsKey).toString();
    g_digits = saved == QLatin1String("arabic-indic") ? DisplayDigits::kArabicIndic
               : saved == QLatin1String("latin")      ? DisplayDigits::kLatin
                                                      : localeDigits();
  }
  return *g_digits;
}

void setChosenDisplayDigits(DisplayDigits digits) {
  QSettings().setValue(kDigitsKey, digits == DisplayDigits::kArabicIndic
                                       ? QStringLiteral("arabic-indic")
                                       : QStringLiteral("latin"));
  g_digits = digits;
}

bool leftToRightTimeChosen() {
  if (!g_left_to_right_time) g_left_to_right_time = QSettings().value(kTimeAxisKey, false).toBool();
  return *g_left_to_right_time;
}

void setLeftToRightTimeChosen(bool left_to_right) {
  QSettings().setValue(kTimeAxisKey, left_to_right);
  g_left_to_right_time = left_to_right;
}

void reloadDisplayChoices() {
  g_digits.reset();
  g_left_to_right_time.reset();
}

QString digitsShown(const QString& text) {
  if (chosenDisplayDigits() == DisplayDigits::kLatin) return text;
  QString shown = text;
  for (QChar& c : shown) {
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
      c = QChar(0x0660 + (c.unicode() - u'0'));
    }
  }
  return shown;
}

QString numberShown(std::int64_t number) { return digitsShown(QString::number(number)); }

QString hijriMonthNameShown(int month) {
  if (month < 1 || month > 12) return {};
  if (!arabicInterface()) return fromHost(wb::HijriMonthName(month));
  // The month names of the Islamic calendar in the locale's data; the Umm al-Qura calendar names
  // its months alike.
  return QCalendar(QCalendar::System::IslamicCivil).standaloneMonthName(QLocale(), month);
}

QString timescaleLabelShown(const wb::TierCell& cell, wb::TierCalendar calendar, wb::TierUnit unit,
                            bool long_label, wb::HijriDays& hijri) {
  if (!arabicInterface()) return digitsShown(fromHost(cell.label));
  return calendar == wb::TierCalendar::kHijri ? hijriLabel(cell.first_day, unit, long_label, hijri)
                                              : gregorianLabel(cell.first_day, unit, long_label);
}

QString cellTextShown(const QString& host_text, wb::FieldKind kind) {
  switch (kind) {
    case wb::FieldKind::kDate:
      return arabicInterface() ? dateShown(host_text) : digitsShown(host_text);
    case wb::FieldKind::kDuration:
      return arabicInterface() ? durationShown(host_text) : digitsShown(host_text);
    case wb::FieldKind::kNumber:
    case wb::FieldKind::kCost:
      return digitsShown(host_text);
    case wb::FieldKind::kText:
    case wb::FieldKind::kFlag:
    case wb::FieldKind::kOther:
      break;
  }
  return host_text;
}

}  // namespace lunavant::desktop
