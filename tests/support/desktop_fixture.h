// SPDX-License-Identifier: MIT
// The base fixture of the desktop program's tests, which drive real widgets on the offscreen
// platform: one QApplication for the test program, with the user's settings in a folder of its
// own, and for each test a desktop session (reference host and main window) with the real
// converter, an add-in registry of its own, the add-in's process-wide state as in a fresh process
// and dates pinned as WorkbenchTest pins them. The test target defines LUNAVANT_CONVERTER_DIR and
// LUNAVANT_ADDIN_MODULE (the built add-in module).
//
//   [[maybe_unused]] const auto* const kQtEnvironment =
//       ::testing::AddGlobalTestEnvironment(new test_support::QtEnvironment("chart_test"));
//   class Chart : public test_support::DesktopSessionTest {};
//   TEST_F(Chart, Example) {
//     OpenPairedPlan(Plan().AddTask("Survey", 3));
//     EXPECT_EQ(Cell(Show(), 0, "HijriStart"), "10/01/1425");
//   }
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>

#include "addin/codec/converter_binding.h"
#include "addin/events/ms_proj_events.h"
#include "addin/pairing/pair_registry.h"
#include "desktop/desktop_session.h"
#include "desktop/main_window.h"
#include "desktop/project_view.h"
#include "tests/support/workbench_fixture.h"
#include "workbench/addins/addin_manager.h"
#include "workbench/addins/registry_file.h"
#include "workbench/model/field_catalog.h"

namespace lunavant::test_support {

// Made after GoogleTest has read the program's arguments, and gone before the program ends.
class QtEnvironment : public ::testing::Environment {
 public:
  // `program` names the test program to Qt and to its settings.
  explicit QtEnvironment(std::string program) : program_(std::move(program)) {}

  void SetUp() override {
    settings_ = std::make_unique<QTemporaryDir>();
    // Settings, recovery copies and every other per-user file go to the test's own folders.
    for (const char* variable :
         {"XDG_CONFIG_HOME", "XDG_STATE_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"}) {
      const QString folder = settings_->filePath(QString::fromLatin1(variable));
      QDir().mkpath(folder);
      qputenv(variable, folder.toUtf8());
    }
    argv_[0] = program_.data();
    app_ = std::make_unique<QApplication>(argc_, argv_.data());
    QApplication::setOrganizationName(QStringLiteral("LunavantTest"));
    QApplication::setApplicationName(QString::fromStdString(program_));
  }
  void TearDown() override {
    app_.reset();
    settings_.reset();
  }

 private:
  std::string program_;
  // QApplication keeps the argument count and vector it was given for its whole life.
  int argc_ = 1;
  std::array<char*, 2> argv_{};
  std::unique_ptr<QTemporaryDir> settings_;
  std::unique_ptr<QApplication> app_;
};

class DesktopSessionTest : public ::testing::Test {
 protected:
  DesktopSessionTest()
      : registry_path_(registry_dir_.filePath("registry.reg").toStdString()),
        session_({LUNAVANT_CONVERTER_DIR}, registry_path_) {
    pairing::ResetProcessState();
    codec::detail::UnloadConverter();
    app().Regional().OverrideShortDatePattern(kPinnedShortDatePattern);
    app().Regional().OverrideDateSeparator(kPinnedDateSeparator);
  }
  ~DesktopSessionTest() override {
    events_.reset();
    pairing::ResetProcessState();
    codec::detail::UnloadConverter();
  }

  workbench::Application& app() { return session_.app(); }
  desktop::MainWindow& window() { return session_.window(); }
  ProjectBuilder Plan(std::string name = "Plan") { return ProjectBuilder(app(), std::move(name)); }

  // Shows the window with the host's projects in it.
  desktop::ProjectView& Show() {
    window().syncWithApplication();
    window().show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window()));
    desktop::ProjectView* view = window().currentView();
    EXPECT_NE(view, nullptr);
    return *view;
  }

  // The built add-in registered in the test's registry, then the program's start-up, which
  // connects it.
  void StartWithTheAddInModule() {
    {
      workbench::RegistryFile registry = workbench::RegistryFile::Load(registry_path_);
      workbench::RegisterModule(LUNAVANT_ADDIN_MODULE, registry);
    }
    session_.startUp();
  }
  // The add-in's event object, bound to the host as the add-in binds it when the host starts,
  // before any project is open.
  void ConnectAddIn() {
    events_ = std::make_unique<events::MSProjEvents>();
    events_->Bind(app(), app().ActiveProject());
  }
  // A project with Start paired with Text1 in the Entry table, opened as from a file, so the
  // add-in restores the pair from the alias; a recalculation then writes the Hijri texts.
  void OpenPairedPlan(ProjectBuilder builder) {
    builder.Column("Entry", workbench::field::kText1, "HijriStart")
        .Alias(workbench::field::kText1, "HijriStart")
        .BuildOpened();
    app().CalculateProject();
  }

  static int ColumnTitled(desktop::ProjectView& view, const QString& title) {
    for (int column = 0; column < view.model().columnCount(); ++column) {
      if (view.model().headerData(column, Qt::Horizontal, Qt::DisplayRole).toString() == title) {
        return column;
      }
    }
    ADD_FAILURE() << "no column " << title.toStdString();
    return -1;
  }
  static QString Cell(desktop::ProjectView& view, int row, const QString& title) {
    return view.model().index(row, ColumnTitled(view, title)).data().toString();
  }

  // Selects the cell, starts editing with F2, replaces the text and presses Enter.
  static void TypeIntoCell(desktop::ProjectView& view, int row, const QString& title,
                           const QString& text) {
    const QModelIndex index = view.model().index(row, ColumnTitled(view, title));
    view.window()->activateWindow();
    view.sheet().setFocus();
    view.sheet().setCurrentIndex(index);
    QTest::keyClick(&view.sheet(), Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(view.sheet().indexWidget(index));
    ASSERT_NE(editor, nullptr) << "no editor opened on " << title.toStdString() << " " << row;
    editor->selectAll();
    QTest::keyClicks(editor, text);
    // The sheet commits a finished edit from its event loop.
    QPointer<QLineEdit> open_editor(editor);
    QTest::keyClick(editor, Qt::Key_Return);
    for (int i = 0; i < 200 && open_editor != nullptr && open_editor->isVisible(); ++i) {
      QTest::qWait(5);
    }
  }

  QTemporaryDir registry_dir_;
  std::filesystem::path registry_path_;
  desktop::DesktopSession session_;
  std::unique_ptr<events::MSProjEvents> events_;
};

}  // namespace lunavant::test_support
