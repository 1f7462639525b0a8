// SPDX-License-Identifier: MIT
#include "desktop/date_picker.h"

#include <QButtonGroup>
#include <QDate>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QScreen>
#include <QSettings>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "desktop/display_text.h"
#include "desktop/host_text.h"
#include "workbench/files/calendar_holidays.h"
#include "workbench/files/project_calendars.h"
#include "workbench/model/application.h"
#include "workbench/model/project.h"
#include "workbench/model/task.h"
#include "workbench/schedule/calendar.h"

namespace lunavant::desktop {

namespace wb = lunavant::workbench;

namespace {

constexpr int kWeeks = 6;
constexpr int kDaysPerWeek = 7;

std::int64_t DaysOfDate(QDate date) {
  return wb::DaysFromCivil(date.year(), date.month(), date.day());
}

QDate DateOfDays(std::int64_t days) {
  const lunavant::host::DateTime civil = wb::CivilFromDays(days);
  return QDate(civil.year, civil.month, civil.day);
}

QString GregorianMonthName(int month) {
  return QLocale().standaloneMonthName(month, QLocale::LongFormat);
}

// A day of the grid: its number in the calendar shown, and beneath it, smaller, its number (or its
// month's name on the first) in the other calendar; holidays red, other days off grey, today
// framed, the picked day filled.
class DayButton : public QToolButton {
 public:
  using QToolButton::QToolButton;

  void setDay(const QString& number, const QString& other) {
    number_ = number;
    other_ = other;
    setText(number + QLatin1Char('\n') + other);  // what a screen reader and a test read
    update();
  }

 protected:
  void paintEvent(QPaintEvent* /*event*/) override {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QRectF box = QRectF(rect()).adjusted(1, 1, -1, -1);
    const bool holiday = !property("holiday").toString().isEmpty();
    const bool off = property("nonWorking").toBool();
    QColor ground = palette().color(QPalette::Base);
    QColor ink = palette().color(QPalette::Text);
    if (holiday) {
      ground = QColor(251, 227, 225);
      ink = QColor(179, 38, 30);
    } else if (off) {
      ground = QColor(236, 236, 236);
      ink = QColor(107, 107, 107);
    }
    if (isChecked()) {
      ground = palette().color(QPalette::Highlight);
      ink = palette().color(QPalette::HighlightedText);
    } else if (underMouse()) {
      ground = ground.darker(108);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(ground);
    painter.drawRoundedRect(box, 3, 3);
    if (property("today").toBool()) {
      painter.setPen(QPen(palette().color(QPalette::Highlight), 1.5));
      painter.setBrush(Qt::NoBrush);
      painter.drawRoundedRect(box.adjusted(0.75, 0.75, -0.75, -0.75), 3, 3);
    }
    if (hasFocus()) {
      painter.setPen(QPen(ink, 1, Qt::DotLine));
      painter.drawRoundedRect(box.adjusted(2, 2, -2, -2), 2, 2);
    }
    QFont main_font = font();
    main_font.setBold(property("today").toBool());
    painter.setFont(main_font);
    painter.setPen(ink);
    const QRectF upper(box.left(), box.top() + 2, box.width(), box.height() * 0.58);
    painter.drawText(upper, Qt::AlignHCenter | Qt::AlignBottom, number_);
    QFont small = font();
    small.setPointSizeF(std::max(6.0, small.pointSizeF() * 0.75));
    painter.setFont(small);
    QColor faint = ink;
    faint.setAlphaF(0.7f);
    painter.setPen(faint);
    const QRectF lower(box.left(), upper.bottom(), box.width(), box.bottom() - upper.bottom());
    painter.drawText(lower, Qt::AlignHCenter | Qt::AlignTop, other_);
  }

 private:
  QString number_;
  QString other_;
};

// Qt counts Monday as 1 and Sunday as 7; the workbench counts Sunday as 0.
int WeekdayFromQt(Qt::DayOfWeek day) { return static_cast<int>(day) % kDaysPerWeek; }

}  // namespace

DatePicker::DatePicker(wb::Application& app, wb::Project* project, const wb::Task* task,
                       QWidget* parent)
    : QWidget(parent),
      project_(project),
      task_(task),
      hijri_(app.Libraries()),
      today_(DaysOfDate(QDate::currentDate())),
      first_weekday_(WeekdayFromQt(QLocale().firstDayOfWeek())) {
  setObjectName(QStringLiteral("datePicker"));
  setFocusPolicy(Qt::StrongFocus);
  readHolidays();
  // A converter that cannot be had leaves the Gregorian calendar, with the reason on show.
  if (!hijriOf(today_)) {
    if (hijri_problem_.isEmpty()) hijri_problem_ = tr("The Hijri converter refuses today's date.");
  }
  build();
  setSelectedDay(std::nullopt);
}

DatePicker::~DatePicker() = default;

std::optional<wb::HijriDate> DatePicker::hijriOf(std::int64_t day) {
  if (!hijri_problem_.isEmpty()) return std::nullopt;
  try {
    return hijri_.HijriOf(day);
  } catch (const wb::HolidayError& e) {
    hijri_problem_ = QString::fromUtf8(e.what());
    return std::nullopt;
  }
}

std::optional<wb::CalendarMonth> DatePicker::monthOf(wb::TierCalendar calendar, std::int64_t day) {
  if (calendar == wb::TierCalendar::kHijri && !hijri_problem_.isEmpty()) return std::nullopt;
  try {
    return wb::MonthOf(calendar, day, hijri_);
  } catch (const wb::HolidayError& e) {
    hijri_problem_ = QString::fromUtf8(e.what());
    return std::nullopt;
  }
}

void DatePicker::readHolidays() {
  // Only a project read from a file, or one holidays were added to, has named exceptions; asking
  // a project made here would make it a document.
  holidays_.clear();
  if (project_ == nullptr || project_->Source() == nullptr) return;
  try {
    for (const wb::CalendarException& e : wb::CalendarExceptionsOf(*project_, named_calendar_)) {
      if (e.working || e.name.empty()) continue;
      holidays_.push_back({fromHost(e.name), e.first_day, e.last_day});
    }
  } catch (const wb::HolidayError&) {
    // A file whose project names no calendar of its own has no named holidays to show.
  }
}

void DatePicker::showWorkingTimeOf(const std::string& calendar) {
  if (project_ == nullptr) return;
  try {
    named_working_ = wb::ReadNamedCalendar(*project_, calendar);
  } catch (const wb::CalendarError&) {
    return;
  }
  named_calendar_ = calendar;
  readHolidays();
  fill();
}

void DatePicker::build() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->setSpacing(4);

  auto* switcher = new QHBoxLayout;
  gregorian_button_ = new QToolButton(this);
  gregorian_button_->setObjectName(QStringLiteral("gregorianCalendar"));
  gregorian_button_->setText(tr("Gregorian"));
  hijri_button_ = new QToolButton(this);
  hijri_button_->setObjectName(QStringLiteral("hijriCalendar"));
  hijri_button_->setText(tr("Hijri (Umm al-Qura)"));
  auto* calendars = new QButtonGroup(this);
  for (QToolButton* button : {gregorian_button_, hijri_button_}) {
    button->setCheckable(true);
    button->setAutoRaise(true);
    calendars->addButton(button);
    switcher->addWidget(button);
  }
  hijri_button_->setEnabled(hijri_problem_.isEmpty());
  hijri_button_->setToolTip(hijri_problem_);
  switcher->addStretch();
  auto* today = new QToolButton(this);
  today->setObjectName(QStringLiteral("today"));
  today->setText(tr("Today"));
  today->setAutoRaise(true);
  switcher->addWidget(today);
  layout->addLayout(switcher);
  connect(gregorian_button_, &QToolButton::clicked, this,
          [this] { setCalendar(wb::TierCalendar::kGregorian); });
  connect(hijri_button_, &QToolButton::clicked, this,
          [this] { setCalendar(wb::TierCalendar::kHijri); });
  connect(today, &QToolButton::clicked, this, &DatePicker::showToday);

  auto* heading = new QHBoxLayout;
  auto* previous = new QToolButton(this);
  previous->setObjectName(QStringLiteral("previousMonth"));
  previous->setArrowType(layoutDirection() == Qt::RightToLeft ? Qt::RightArrow : Qt::LeftArrow);
  previous->setToolTip(tr("Previous month"));
  auto* next = new QToolButton(this);
  next->setObjectName(QStringLiteral("nextMonth"));
  next->setArrowType(layoutDirection() == Qt::RightToLeft ? Qt::LeftArrow : Qt::RightArrow);
  next->setToolTip(tr("Next month"));
  caption_ = new QLabel(this);
  caption_->setAlignment(Qt::AlignCenter);
  QFont bold = caption_->font();
  bold.setBold(true);
  caption_->setFont(bold);
  heading->addWidget(previous);
  heading->addWidget(caption_, 1);
  heading->addWidget(next);
  layout->addLayout(heading);
  connect(previous, &QToolButton::clicked, this, [this] { moveMonths(-1); });
  connect(next, &QToolButton::clicked, this, [this] { moveMonths(1); });

  other_caption_ = new QLabel(this);
  other_caption_->setAlignment(Qt::AlignCenter);
  layout->addWidget(other_caption_);

  auto* grid = new QGridLayout;
  grid->setSpacing(1);
  const QLocale locale;
  for (int column = 0; column < kDaysPerWeek; ++column) {
    // Qt names weekdays from Monday as 1 to Sunday as 7.
    const int weekday = (first_weekday_ + column) % kDaysPerWeek;
    auto* label = new QLabel(locale.dayName(weekday == 0 ? 7 : weekday, QLocale::ShortFormat));
    label->setAlignment(Qt::AlignCenter);
    grid->addWidget(label, 0, column);
    weekday_labels_.push_back(label);
  }
  for (int cell = 0; cell < kWeeks * kDaysPerWeek; ++cell) {
    auto* button = new DayButton(this);
    button->setCheckable(true);
    button->setAutoRaise(true);
    button->setMinimumSize(40, 36);
    grid->addWidget(button, 1 + cell / kDaysPerWeek, cell % kDaysPerWeek);
    connect(button, &QToolButton::clicked, this, [this, button] {
      const std::int64_t day = button->property("day").toLongLong();
      selected_ = day;
      fill();
      emit picked(day);
    });
    day_buttons_.push_back(button);
  }
  layout->addLayout(grid);
}

void DatePicker::setSelectedDay(std::optional<std::int64_t> day) {
  selected_ = day;
  const std::int64_t shown_day = day.value_or(today_);
  const wb::TierCalendar calendar =
      shown_.month == 0 ? wb::TierCalendar::kGregorian : shown_.calendar;
  std::optional<wb::CalendarMonth> month = monthOf(calendar, shown_day);
  if (!month) month = monthOf(wb::TierCalendar::kGregorian, shown_day);
  if (month) shown_ = *month;
  fill();
}

void DatePicker::setCalendar(wb::TierCalendar calendar) {
  // The month that holds the marked day, else the one that holds the middle of the month shown.
  const std::int64_t anchor =
      selected_ && *selected_ >= shown_.first_day && *selected_ < shown_.EndDay()
          ? *selected_
          : shown_.first_day + shown_.length / 2;
  if (std::optional<wb::CalendarMonth> month = monthOf(calendar, anchor)) shown_ = *month;
  fill();
}

void DatePicker::moveMonths(int offset) {
  std::optional<wb::CalendarMonth> month;
  try {
    month = wb::MonthAfter(shown_, offset, hijri_);
  } catch (const wb::HolidayError& e) {
    hijri_problem_ = QString::fromUtf8(e.what());
  }
  if (month) shown_ = *month;
  fill();
}

void DatePicker::showToday() {
  if (std::optional<wb::CalendarMonth> month = monthOf(shown_.calendar, today_)) shown_ = *month;
  fill();
}

QString DatePicker::caption() const {
  if (shown_.calendar == wb::TierCalendar::kHijri) {
    return tr("%1 %2 AH").arg(hijriMonthNameShown(shown_.month)).arg(shown_.year);
  }
  return QStringLiteral("%1 %2").arg(GregorianMonthName(shown_.month)).arg(shown_.year);
}

QString DatePicker::otherCalendarSpan() {
  // The months of the other calendar that the month shown runs across.
  const std::int64_t last = shown_.EndDay() - 1;
  if (shown_.calendar == wb::TierCalendar::kGregorian) {
    const std::optional<wb::HijriDate> from = hijriOf(shown_.first_day);
    const std::optional<wb::HijriDate> to = hijriOf(last);
    if (!from || !to) return hijri_problem_;
    const QString first = hijriMonthNameShown(from->month);
    const QString second = hijriMonthNameShown(to->month);
    if (from->year == to->year && from->month == to->month) {
      return tr("%1 %2 AH").arg(first).arg(to->year);
    }
    if (from->year == to->year) {
      return tr("%1 – %2 %3 AH").arg(first, second).arg(to->year);
    }
    return tr("%1 %2 – %3 %4 AH").arg(first).arg(from->year).arg(second).arg(to->year);
  }
  const QDate from = DateOfDays(shown_.first_day);
  const QDate to = DateOfDays(last);
  if (from.year() == to.year() && from.month() == to.month()) {
    return QStringLiteral("%1 %2").arg(GregorianMonthName(to.month())).arg(to.year());
  }
  if (from.year() == to.year()) {
    return QStringLiteral("%1 – %2 %3")
        .arg(GregorianMonthName(from.month()), GregorianMonthName(to.month()))
        .arg(to.year());
  }
  return QStringLiteral("%1 %2 – %3 %4")
      .arg(GregorianMonthName(from.month()))
      .arg(from.year())
      .arg(GregorianMonthName(to.month()))
      .arg(to.year());
}

QString DatePicker::dayTip(std::int64_t day, const QString& holiday) {
  const QDate date = DateOfDays(day);
  QString tip = QLocale().toString(date, QStringLiteral("dddd, d MMMM yyyy"));
  if (const std::optional<wb::HijriDate> h = hijriOf(day)) {
    tip += QLatin1Char('\n') + tr("%1 %2 %3 AH", "day, month, year of the Hijri calendar")
                                   .arg(h->day)
                                   .arg(hijriMonthNameShown(h->month))
                                   .arg(h->year);
  }
  if (!holiday.isEmpty()) tip += QLatin1Char('\n') + holiday;
  return tip;
}

void DatePicker::fill() {
  gregorian_button_->setChecked(shown_.calendar == wb::TierCalendar::kGregorian);
  hijri_button_->setChecked(shown_.calendar == wb::TierCalendar::kHijri);
  hijri_button_->setEnabled(hijri_problem_.isEmpty());
  hijri_button_->setToolTip(hijri_problem_);
  caption_->setText(digitsShown(caption()));
  other_caption_->setText(digitsShown(otherCalendarSpan()));

  const wb::ProjectCalendar* working = nullptr;
  if (named_working_) {
    working = &*named_working_;
  } else if (project_ != nullptr) {
    working = task_ != nullptr ? &project_->CalendarOf(*task_) : &project_->Calendar();
  }
  const int lead =
      (wb::WeekdayOfDays(shown_.first_day) - first_weekday_ + kDaysPerWeek) % kDaysPerWeek;
  for (int cell = 0; cell < static_cast<int>(day_buttons_.size()); ++cell) {
    QToolButton* button = day_buttons_[static_cast<std::size_t>(cell)];
    const int index = cell - lead;  // [0, length) for the month's days
    if (index < 0 || index >= shown_.length) {
      button->hide();
      button->setProperty("day", QVariant());
      continue;
    }
    const std::int64_t day = shown_.first_day + index;
    // The other calendar's day beneath; its month's name on its first day.
    QString other;
    if (shown_.calendar == wb::TierCalendar::kGregorian) {
      if (const std::optional<wb::HijriDate> h = hijriOf(day)) {
        other = h->day == 1 ? fromHost(wb::HijriMonthShortName(h->month)) : QString::number(h->day);
      }
    } else {
      const QDate date = DateOfDays(day);
      other = date.day() == 1 ? QLocale().monthName(date.month(), QLocale::ShortFormat)
                              : QString::number(date.day());
    }
    QString holiday;
    for (const Holiday& h : holidays_) {
      if (day >= h.first_day && day <= h.last_day) holiday = h.name;
    }
    const bool non_working = working != nullptr && !working->IsWorkingDay(day);
    static_cast<DayButton*>(button)->setDay(QString::number(index + 1), other);
    button->setProperty("day", QVariant::fromValue<qlonglong>(day));
    button->setProperty("nonWorking", non_working);
    button->setProperty("holiday", holiday);
    button->setProperty("today", day == today_);
    button->setToolTip(dayTip(day, holiday));
    button->setChecked(selected_ && *selected_ == day);
    button->update();
    button->show();
  }
}

QToolButton* DatePicker::dayButton(std::int64_t day) const {
  for (QToolButton* button : day_buttons_) {
    const QVariant value = button->property("day");
    if (value.isValid() && value.toLongLong() == day) return button;
  }
  return nullptr;
}

void DatePicker::moveSelection(int days) {
  // From the marked day when the month shown holds it, else onto the month's first day.
  std::int64_t day = shown_.first_day;
  if (selected_ && *selected_ >= shown_.first_day && *selected_ < shown_.EndDay()) {
    day = *selected_ + days;
  }
  if (day < shown_.first_day || day >= shown_.EndDay()) {
    const std::optional<wb::CalendarMonth> month = monthOf(shown_.calendar, day);
    if (!month) return;
    shown_ = *month;
  }
  selected_ = day;
  fill();
}

void DatePicker::keyPressEvent(QKeyEvent* event) {
  // Left and Right follow the grid as drawn, so they swap in a right-to-left layout.
  const int forward = layoutDirection() == Qt::RightToLeft ? -1 : 1;
  switch (event->key()) {
    case Qt::Key_PageUp:
      moveMonths(-1);
      return;
    case Qt::Key_PageDown:
      moveMonths(1);
      return;
    case Qt::Key_Home:
      showToday();
      return;
    case Qt::Key_Left:
      moveSelection(-forward);
      return;
    case Qt::Key_Right:
      moveSelection(forward);
      return;
    case Qt::Key_Up:
      moveSelection(-kDaysPerWeek);
      return;
    case Qt::Key_Down:
      moveSelection(kDaysPerWeek);
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (selected_) emit picked(*selected_);
      return;
    default:
      QWidget::keyPressEvent(event);
  }
}

namespace {

const char* const kCalendarKey = "datePicker/calendar";

}  // namespace

wb::TierCalendar RememberedPickerCalendar(wb::TierCalendar otherwise) {
  const QVariant stored = QSettings().value(kCalendarKey);
  if (!stored.isValid()) return otherwise;
  return stored.toInt() == static_cast<int>(wb::TierCalendar::kHijri)
             ? wb::TierCalendar::kHijri
             : wb::TierCalendar::kGregorian;
}

void RememberPickerCalendar(wb::TierCalendar calendar) {
  QSettings().setValue(kCalendarKey, static_cast<int>(calendar));
}

void PopUpDatePicker(DatePicker* picker, QWidget* anchor) {
  auto* popup = new QFrame(anchor, Qt::Popup);
  popup->setObjectName(QStringLiteral("datePickerPopup"));
  popup->setAttribute(Qt::WA_DeleteOnClose);
  popup->setFrameShape(QFrame::StyledPanel);
  auto* layout = new QVBoxLayout(popup);
  layout->setContentsMargins(0, 0, 0, 0);
  picker->setParent(popup);
  layout->addWidget(picker);
  QObject::connect(picker, &DatePicker::picked, popup, &QWidget::close);
  popup->adjustSize();
  QPoint at = anchor->mapToGlobal(QPoint(0, anchor->height()));
  if (const QScreen* shown_on = anchor->screen()) {
    const QRect room = shown_on->availableGeometry();
    if (at.y() + popup->height() > room.bottom())
      at.setY(anchor->mapToGlobal(QPoint(0, 0)).y() - popup->height());
    at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() - popup->width())));
  }
  popup->move(at);
  popup->show();
  picker->setFocus();
}

}  // namespace lunavant::desktop
