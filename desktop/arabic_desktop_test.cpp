// SPDX-License-Identifier: MIT
// The desktop program started in an Arabic locale, driven as a user drives it: real widgets on
// the offscreen platform, the reference host, the real converter and the built add-in.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <functional>

#include "desktop/command_toolbars.h"
#include "desktop/date_picker.h"
#include "desktop/edit_commands.h"
#include "desktop/interface_language.h"
#include "desktop/main_window.h"
#include "desktop/print_commands.h"
#include "desktop/project_view.h"
#include "tests/support/desktop_fixture.h"
#include "workbench/files/bundled_sample.h"
#include "workbench/model/application.h"
#include "workbench/model/task.h"
#include "workbench/schedule/calendar.h"
#include "workbench/ui/command_bars.h"

namespace lunavant::desktop {
namespace {

namespace wb = lunavant::workbench;

// The program's locale, set before Qt reads it, as a user's session in Saudi Arabia sets it.
class ArabicLocale : public ::testing::Environment {
 public:
  ArabicLocale() {
    qputenv("LC_ALL", "ar_SA.UTF-8");
    qputenv("LANG", "ar_SA.UTF-8");
  }
};

// What the program does at start, once Qt is up.
class InterfaceLanguageApplied : public ::testing::Environment {
 public:
  void SetUp() override { applyInterfaceLanguage(); }
};

[[maybe_unused]] const auto* const kLocale = ::testing::AddGlobalTestEnvironment(new ArabicLocale);
[[maybe_unused]] const auto* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new test_support::QtEnvironment("arabic_desktop_test"));
[[maybe_unused]] const auto* const kLanguage =
    ::testing::AddGlobalTestEnvironment(new InterfaceLanguageApplied);

bool HasArabicLetters(const QString& text) {
  return std::any_of(text.begin(), text.end(),
                     [](QChar c) { return c.unicode() >= 0x0600 && c.unicode() <= 0x06FF; });
}

bool HasArabicIndicDigits(const QString& text) {
  return text.contains(QRegularExpression(QStringLiteral("[\u0660-\u0669]")));
}

// Runs a poppler tool; its standard output, or a failure of the test.
QString RunTool(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(30000) || process.exitCode() != 0) {
    ADD_FAILURE() << program.toStdString()
                  << " failed: " << process.readAllStandardError().toStdString();
    return {};
  }
  return QString::fromUtf8(process.readAllStandardOutput());
}

// Hands the next modal widgets, one each, to the handlers queued.
class ModalHandlers {
 public:
  ModalHandlers() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal == nullptr || modal == last_ || handlers_.empty()) return;
      last_ = modal;
      std::function<void(QWidget&)> handler = std::move(handlers_.front());
      handlers_.erase(handlers_.begin());
      handler(*modal);
    });
    timer_.start();
  }
  void Then(std::function<void(QWidget&)> handler) { handlers_.push_back(std::move(handler)); }
  bool Done() const { return handlers_.empty(); }

 private:
  QTimer timer_;
  QPointer<QWidget> last_;
  std::vector<std::function<void(QWidget&)>> handlers_;
};

class ArabicDesktopTest : public test_support::DesktopSessionTest {
 protected:
  // Each test starts with the locale's digits and time axis, whatever one before chose.
  ArabicDesktopTest() {
    QSettings().clear();
    applyInterfaceLanguage();
    // The window makes its menus again in the language applied.
    QApplication::processEvents();
  }

  // The sheet's row of the task named `name`; -1 when none.
  static int RowNamed(ProjectView& view, const std::string& name) {
    for (int row = 0; row < view.model().rowCount(); ++row) {
      const wb::Task* task = view.model().taskAt(row);
      if (task != nullptr && task->Name() == name) return row;
    }
    ADD_FAILURE() << "no task " << name;
    return -1;
  }
  QStringList HijriMonthLabels(ProjectView& view) {
    view.chart().scrollToDay(wb::DaysFromCivil(2025, 3, 1));
    return view.chart().shownLabels(0);
  }
};

TEST_F(ArabicDesktopTest, TheMainWindowIsArabicAndRightToLeft) {
  // Given the program started in ar_SA, expect the window laid out right to left: the sheet on
  // the right of the chart, its first column at its right edge; every menu item in Arabic (the
  // language named in itself aside); the host's column titles in Arabic beside an alias kept as
  // the user wrote it.
  Plan()
      .AddTask("Survey", 3)
      .Column("Entry", wb::field::kText1, "HijriStart")
      .Alias(wb::field::kText1, "HijriStart")
      .Build();
  ProjectView& view = Show();
  EXPECT_EQ(QApplication::layoutDirection(), Qt::RightToLeft);
  EXPECT_GT(view.sheet().mapTo(&window(), QPoint(0, 0)).x(),
            view.chart().mapTo(&window(), QPoint(0, 0)).x());
  const QHeaderView& header = *view.sheet().horizontalHeader();
  EXPECT_GT(header.sectionViewportPosition(0), header.sectionViewportPosition(1));

  EXPECT_EQ(window().menuBar()->actions().front()->text(), QStringLiteral("&ملف"));
  QStringList english;
  std::function<void(QMenu&)> walk = [&](QMenu& menu) {
    emit menu.aboutToShow();
    for (QAction* item : menu.actions()) {
      if (item->isSeparator() || item->text() == QLatin1String("English")) continue;
      if (!HasArabicLetters(item->text())) english << item->text();
      if (item->menu() != nullptr) walk(*item->menu());
    }
  };
  for (QAction* top : window().menuBar()->actions()) {
    if (!HasArabicLetters(top->text())) english << top->text();
    if (top->menu() != nullptr) walk(*top->menu());
  }
  EXPECT_TRUE(english.isEmpty()) << english.join(" | ").toStdString();

  QStringList titles;
  for (int column = 0; column < view.model().columnCount(); ++column) {
    titles << view.model().headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
  }
  EXPECT_EQ(titles, (QStringList{"المعرف", "المؤشرات", "اسم المهمة", "المدة", "البداية", "النهاية",
                                 "المهام السابقة", "أسماء الموارد", "HijriStart"}));
}

TEST_F(ArabicDesktopTest, TheGanttRunsRightToLeftUnderArabicHijriMonthsInTheChosenDigits) {
  // Given the bundled sample, which starts in Ramadan 1446, expect the Hijri tier to read
  // "رمضان ١٤٤٦" and a later task's bar to lie left of an earlier one's; dates shown with Arabic
  // weekdays and digits while the add-in's Hijri text stays in Latin digits. Latin digits chosen
  // write the labels in them; a left-to-right time axis chosen turns the bars round, and both
  // choices are kept for the next start.
  StartWithTheAddInModule();
  wb::OpenBundledSample(app());
  app().CalculateProject();
  ProjectView& view = Show();
  const int contract = RowNamed(view, "Contract signed");
  const int survey = RowNamed(view, "Site survey and measured drawings");
  ASSERT_LT(view.model().taskAt(contract)->Start(), view.model().taskAt(survey)->Start());

  EXPECT_TRUE(view.chart().timeRunsRightToLeft());
  EXPECT_TRUE(HijriMonthLabels(view).contains(QStringLiteral("رمضان ١٤٤٦")))
      << HijriMonthLabels(view).join(" | ").toStdString();
  EXPECT_LT(view.chart().barRect(survey).center().x(), view.chart().barRect(contract).center().x());
  EXPECT_EQ(Cell(view, contract, "البداية"), QStringLiteral("الأحد ٠٢/٠٣/٢٥"));
  EXPECT_EQ(Cell(view, contract, "المدة"), QStringLiteral("٠ يوم"));
  EXPECT_EQ(Cell(view, contract, "HijriStart"), "02/09/1446");
  // What the user edits is the host's text, in the form the host reads back.
  const int start = ColumnTitled(view, "البداية");
  EXPECT_EQ(view.model().index(contract, start).data(Qt::EditRole).toString(), "Sun 02/03/25");
  // So is what is copied: a date cut and pasted back must read as it did.
  const QModelIndex start_cell = view.model().index(contract, start);
  view.sheet().setCurrentIndex(start_cell);
  view.sheet().selectionModel()->select(start_cell, QItemSelectionModel::ClearAndSelect);
  window().editing().copyCurrent();
  EXPECT_EQ(QApplication::clipboard()->text().trimmed(), "Sun 02/03/25");

  window().action("viewDigitsLatin")->trigger();
  EXPECT_TRUE(HijriMonthLabels(view).contains(QStringLiteral("رمضان 1446")));
  EXPECT_EQ(Cell(view, contract, "البداية"), QStringLiteral("الأحد 02/03/25"));

  window().action("viewTimeLeftToRight")->trigger();
  EXPECT_FALSE(view.chart().timeRunsRightToLeft());
  EXPECT_GT(view.chart().barRect(survey).center().x(), view.chart().barRect(contract).center().x());

  // The next start keeps both choices.
  applyInterfaceLanguage();
  EXPECT_FALSE(HasArabicIndicDigits(HijriMonthLabels(view).join(' ')));
  EXPECT_FALSE(view.chart().timeRunsRightToLeft());
}

TEST_F(ArabicDesktopTest, TheAddInsFormsKeepTheirTextsInAMirroredArabicFrame) {
  // Given the add-in loaded, expect its Add form with its own title and texts, mirrored so that
  // OK stands where Cancel stood; its Remove confirmation with its own title and question and
  // the platform's buttons in Arabic, Yes still the default.
  StartWithTheAddInModule();
  OpenPairedPlan(Plan().AddTask("Survey", 3));
  Show();
  app().CommandBars()->Item("Lunavant")->SetVisible(true);
  window().syncToolbars();
  auto click = [this](const QString& tag) {
    QAction* action = window().toolbars().buttonAction("Lunavant", tag);
    ASSERT_NE(action, nullptr);
    QTest::mouseClick(window().toolbars().toolbar("Lunavant")->widgetForAction(action),
                      Qt::LeftButton);
  };
  ModalHandlers modals;
  QString add_title;
  QString add_label;
  bool ok_right_of_cancel = false;
  bool mirrored = false;
  modals.Then([&](QWidget& dialog) {
    add_title = dialog.windowTitle();
    mirrored = dialog.isRightToLeft();
    for (QLabel* label : dialog.findChildren<QLabel*>()) add_label += label->text() + '|';
    auto* ok = dialog.findChild<QPushButton*>("OKButton");
    auto* cancel = dialog.findChild<QPushButton*>("CancelButton");
    ok_right_of_cancel = ok->x() > cancel->x();
    QTest::mouseClick(cancel, Qt::LeftButton);
  });
  click("Add Hijri");
  ASSERT_TRUE(modals.Done());
  EXPECT_EQ(add_title, "Add Hijri Field");
  EXPECT_TRUE(add_label.contains("Choose the date field")) << add_label.toStdString();
  EXPECT_TRUE(mirrored);
  EXPECT_TRUE(ok_right_of_cancel);

  QString box_title;
  QString box_text;
  QString yes;
  QString no;
  bool yes_default = false;
  modals.Then([](QWidget& dialog) {
    QTest::mouseClick(dialog.findChild<QPushButton*>("OKButton"), Qt::LeftButton);
  });
  modals.Then([&](QWidget& widget) {
    auto* box = qobject_cast<QMessageBox*>(&widget);
    ASSERT_NE(box, nullptr);
    box_title = box->windowTitle();
    box_text = box->text();
    yes = box->button(QMessageBox::Yes)->text().remove('&');
    no = box->button(QMessageBox::No)->text().remove('&');
    yes_default = box->defaultButton() == box->button(QMessageBox::Yes);
    box->button(QMessageBox::No)->click();
  });
  click("Remove Hijri");
  for (int i = 0; i < 200 && !modals.Done(); ++i) QTest::qWait(5);
  ASSERT_TRUE(modals.Done());
  EXPECT_EQ(box_title, "Lunavant");
  EXPECT_TRUE(box_text.startsWith("You are about to remove the Hijri field HijriStart"));
  EXPECT_EQ(yes, QStringLiteral("نعم"));
  EXPECT_EQ(no, QStringLiteral("لا"));
  EXPECT_TRUE(yes_default);
}

TEST_F(ArabicDesktopTest, AnotherLanguageChosenTakesEffectAtOnceAndIsKept) {
  // Given the Arabic interface, expect View > Language > English to turn menus, column titles
  // and layout to English and left to right at once, and the time axis with them; the choice kept
  // for the next start; and Arabic chosen back to bring all of it back.
  Plan().AddTask("Survey", 3).Build();
  ProjectView& view = Show();
  auto choose = [this](const char* name) {
    window().action(QLatin1String(name))->trigger();
    QApplication::processEvents();
    QApplication::processEvents();
  };
  choose("viewLanguageEnglish");
  EXPECT_EQ(window().menuBar()->actions().front()->text(), "&File");
  EXPECT_EQ(QApplication::layoutDirection(), Qt::LeftToRight);
  EXPECT_EQ(view.model().headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(), "Duration");
  EXPECT_FALSE(view.chart().timeRunsRightToLeft());
  EXPECT_EQ(chosenInterfaceLanguage(), InterfaceLanguage::kEnglish);
  ASSERT_NE(window().action("viewLanguageEnglish"), nullptr);
  EXPECT_TRUE(window().action("viewLanguageEnglish")->isChecked());

  choose("viewLanguageArabic");
  EXPECT_EQ(window().menuBar()->actions().front()->text(), QStringLiteral("&ملف"));
  EXPECT_EQ(QApplication::layoutDirection(), Qt::RightToLeft);
  EXPECT_EQ(view.model().headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(),
            QStringLiteral("المدة"));
  EXPECT_TRUE(view.chart().timeRunsRightToLeft());
  EXPECT_EQ(chosenInterfaceLanguage(), InterfaceLanguage::kArabic);
}

TEST_F(ArabicDesktopTest, TheHostsRefusalsAndQuestionsAreInArabic) {
  // Given a task whose Start is typed as no date, expect the host's refusal in Arabic, naming
  // the field as the sheet does and the text as typed; closing the changed project, the host's
  // question in Arabic with the platform's Arabic buttons. Cancel keeps the project open.
  Plan().AddTask("Survey", 3).Build();
  ProjectView& view = Show();
  ModalHandlers modals;
  QString refusal;
  modals.Then([&refusal](QWidget& widget) {
    auto* box = qobject_cast<QMessageBox*>(&widget);
    ASSERT_NE(box, nullptr);
    refusal = box->text();
    box->button(QMessageBox::Ok)->click();
  });
  TypeIntoCell(view, 0, QStringLiteral("البداية"), "soon");
  for (int i = 0; i < 200 && !modals.Done(); ++i) QTest::qWait(5);
  EXPECT_EQ(refusal, QStringLiteral("«soon» ليس تاريخًا يقبله الحقل «البداية»."));

  TypeIntoCell(view, 0, QStringLiteral("اسم المهمة"), "Site survey");
  QString title;
  QString question;
  QStringList buttons;
  modals.Then([&](QWidget& widget) {
    auto* box = qobject_cast<QMessageBox*>(&widget);
    ASSERT_NE(box, nullptr);
    title = box->windowTitle();
    question = box->text();
    for (QAbstractButton* button : box->buttons()) buttons << button->text().remove('&');
    box->button(QMessageBox::Cancel)->click();
  });
  EXPECT_FALSE(window().closeCurrentProject());
  EXPECT_TRUE(modals.Done());
  EXPECT_EQ(title, QStringLiteral("منضدة العمل"));
  EXPECT_EQ(question, QStringLiteral("هل تريد حفظ التغييرات التي أجريتها على «Plan»؟"));
  ASSERT_EQ(buttons.size(), 3);
  EXPECT_TRUE(buttons.contains(QStringLiteral("نعم")) && buttons.contains(QStringLiteral("لا")));
  EXPECT_TRUE(std::all_of(buttons.begin(), buttons.end(), HasArabicLetters))
      << buttons.join(" | ").toStdString();
  EXPECT_EQ(window().tabs().count(), 1);
}

TEST_F(ArabicDesktopTest, APrintedPageIsArabicAndMirrored) {
  // Given the bundled sample, expect its PDF in Arabic: the page number, the column titles and
  // the Hijri month of the timescale in Arabic, the add-in's Hijri dates as it wrote them, and the
  // page mirrored: the project's name at the right of the header, the page number at the left.
  StartWithTheAddInModule();
  wb::OpenBundledSample(app());
  ProjectView& view = Show();
  QTemporaryDir out;
  const QString pdf = out.filePath("sample.pdf");
  QString error;
  ASSERT_TRUE(window().printing().writePdf(view, pdf, &error)) << error.toStdString();

  const QString first_page =
      RunTool("pdftotext", {"-l", "1", pdf, "-"}).normalized(QString::NormalizationForm_KC);
  // Text laid out right to left may come out of the PDF in visual order: either is the text.
  auto holds = [&first_page](const QString& words) {
    const QString found = QString(first_page).remove(' ').remove('\n');
    QString letters = QString(words).remove(' ');
    if (found.contains(letters)) return true;
    std::reverse(letters.begin(), letters.end());
    return found.contains(letters);
  };
  EXPECT_TRUE(holds(QStringLiteral("اسم المهمة"))) << first_page.left(600).toStdString();
  EXPECT_TRUE(holds(QStringLiteral("الصفحة")));
  EXPECT_TRUE(holds(QStringLiteral("رمضان")));
  EXPECT_TRUE(holds(QStringLiteral("طبع في")) || holds(QStringLiteral("طُبع في")));
  EXPECT_TRUE(first_page.contains("02/09/1446"));
  EXPECT_FALSE(first_page.contains("Page 1 of"));

  // Where the header's ends are: words with their boxes, in points from the page's left.
  const QString boxes = RunTool("pdftotext", {"-bbox", "-l", "1", pdf, "-"})
                            .normalized(QString::NormalizationForm_KC);
  const QRegularExpression page_width(QStringLiteral("<page width=\"([0-9.]+)\""));
  const QRegularExpression name_box(
      QStringLiteral("<word xMin=\"([0-9.]+)\"[^>]*>riyadh-office-fit-out.xml</word>"));
  const QRegularExpressionMatch width = page_width.match(boxes);
  const QRegularExpressionMatch name = name_box.match(boxes);
  ASSERT_TRUE(width.hasMatch() && name.hasMatch()) << boxes.left(800).toStdString();
  EXPECT_GT(name.captured(1).toDouble(), width.captured(1).toDouble() / 2);
}

TEST_F(ArabicDesktopTest, TheDatePickerNamesMonthsDaysAndTheEraInArabic) {
  // Given the Arabic interface, expect the date picker's captions, weekday names and day tips in
  // Arabic with the Hijri era as "هـ" and the locale's digits on screen, in both calendars.
  DatePicker picker(app(), nullptr, nullptr);
  picker.setSelectedDay(wb::DaysFromCivil(2024, 11, 4));
  const QString gregorian = picker.caption();
  EXPECT_TRUE(HasArabicLetters(gregorian)) << gregorian.toStdString();
  EXPECT_TRUE(gregorian.endsWith(QStringLiteral("2024"))) << gregorian.toStdString();
  picker.setCalendar(wb::TierCalendar::kHijri);
  const QString hijri = picker.caption();
  EXPECT_TRUE(hijri.endsWith(QStringLiteral("1446 هـ"))) << hijri.toStdString();
  EXPECT_FALSE(hijri.contains(QStringLiteral("AH")));
  EXPECT_FALSE(hijri.contains(QStringLiteral("Jumada")));

  QStringList shown;
  for (const QLabel* label : picker.findChildren<QLabel*>()) shown << label->text();
  EXPECT_TRUE(std::any_of(shown.begin(), shown.end(), [](const QString& text) {
    return text.contains(QStringLiteral("١٤٤٦"));
  })) << shown.join(" | ").toStdString();
  EXPECT_TRUE(std::none_of(shown.begin(), shown.end(), [](const QString& text) {
    return text.contains(QStringLiteral("AH"));
  })) << shown.join(" | ").toStdString();
  // Every weekday heading is an Arabic name.
  EXPECT_GE(std::count_if(shown.begin(), shown.end(), HasArabicLetters), 7)
      << shown.join(" | ").toStdString();

  const QString tip = picker.dayButton(wb::DaysFromCivil(2024, 11, 4))->toolTip();
  EXPECT_TRUE(tip.contains(QStringLiteral("1446 هـ"))) << tip.toStdString();
  EXPECT_FALSE(tip.contains(QStringLiteral("Monday"))) << tip.toStdString();
}

}  // namespace
}  // namespace lunavant::desktop
