// SPDX-License-Identifier: MIT
// The Hijri calendar as the desktop shows it: typed days the calendar lacks refused in the sheet.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include "desktop/project_view.h"
#include "tests/support/desktop_fixture.h"

namespace lunavant::desktop {
namespace {

[[maybe_unused]] const auto* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new test_support::QtEnvironment("hijri_calendar_test"));

// Presses OK on every message box that opens while it lives, and keeps their texts.
class MessageBoxAnswerer {
 public:
  MessageBoxAnswerer() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr || box == last_) return;
      last_ = box;
      texts_.push_back(box->text());
      box->button(QMessageBox::Ok)->click();
    });
    timer_.start();
  }
  const QStringList& texts() const { return texts_; }

 private:
  QTimer timer_;
  QPointer<QMessageBox> last_;
  QStringList texts_;
};

class HijriCalendarTest : public test_support::DesktopSessionTest {};

TEST_F(HijriCalendarTest, ADayItsMonthLacksIsRefusedAndNothingMoves) {
  // Given Start paired with Text1, expect 30 Ramadan and 30 Dhu al-Hijjah 1446 (29-day months)
  // typed into the Hijri column to be refused with the invalid-date message, the cells as before;
  // 29 Dhu al-Hijjah still moves Start.
  ConnectAddIn();
  OpenPairedPlan(Plan().StartingOn(2025, 3, 3).AddTask("Fit-out", 3));
  ProjectView& view = Show();
  ASSERT_EQ(Cell(view, 0, "HijriStart"), "03/09/1446");
  const QString start_before = Cell(view, 0, "Start");

  MessageBoxAnswerer answerer;
  qsizetype boxes = 0;
  for (const char* missing : {"30/09/1446", "30/12/1446"}) {
    TypeIntoCell(view, 0, "HijriStart", missing);
    ++boxes;
    for (int i = 0; i < 200 && answerer.texts().size() < boxes; ++i) QTest::qWait(5);
    EXPECT_EQ(Cell(view, 0, "HijriStart"), "03/09/1446") << missing;
    EXPECT_EQ(Cell(view, 0, "Start"), start_before) << missing;
  }
  ASSERT_EQ(answerer.texts().size(), 2);
  for (const QString& text : answerer.texts()) {
    EXPECT_TRUE(text.contains("Error Number : 103")) << text.toStdString();
    EXPECT_TRUE(
        text.contains("Invalid Hijri Date. Make sure it is in the following format "
                      "dd/mm/yyyy or that it falls"))
        << text.toStdString();
  }

  TypeIntoCell(view, 0, "HijriStart", "29/12/1446");
  EXPECT_EQ(Cell(view, 0, "Start"), "Wed 25/06/25");
  EXPECT_EQ(Cell(view, 0, "HijriStart"), "29/12/1446");
  EXPECT_EQ(answerer.texts().size(), 2);
}

}  // namespace
}  // namespace lunavant::desktop
