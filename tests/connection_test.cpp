// SPDX-License-Identifier: MIT
// The add-in's entry object across connections, driven as a host that keeps one Connect and
// connects it again: what it holds after a connection whose toolbar could not be made.
#include <string>

#include "addin/host/error.h"
#include "addin/shell/connect.h"
#include "tests/support/addin_fixture.h"
#include "workbench/ui/command_bars.h"

namespace lunavant {
namespace {

using test_support::AddinTest;

class Instance final : public host::AddInInstance {
 public:
  std::string ProgId() const override { return "Lunavant.Connect"; }
};

// The workbench as a host whose command bars take no new bar, as when the host cannot make the
// window; a bar that exists is found and deleted as usual.
class HostRefusingNewBars final : public host::Application, public host::CommandBarCollection {
 public:
  explicit HostRefusingNewBars(workbench::Application& app) : app_(app) {}

  host::CommandBar& Add(std::string_view name, std::int32_t position) override {
    static_cast<void>(name);
    static_cast<void>(position);
    host::Raise(host::kHostFailure, "Not enough memory to make the toolbar.");
  }
  host::CommandBar* Item(std::string_view name) override { return app_.Bars().Item(name); }

  host::Project* ActiveProject() override { return app_.ActiveProject(); }
  std::int32_t ProjectCount() const override { return app_.ProjectCount(); }
  std::string DateSeparator() const override { return app_.DateSeparator(); }
  std::string FieldConstantToFieldName(host::FieldId field) const override {
    return app_.FieldConstantToFieldName(field);
  }
  host::FieldId FieldNameToFieldConstant(std::string_view name) const override {
    return app_.FieldNameToFieldConstant(name);
  }
  std::string CustomFieldGetName(host::FieldId field) const override {
    return app_.CustomFieldGetName(field);
  }
  void CustomFieldRename(host::FieldId field, const std::string& alias) override {
    app_.CustomFieldRename(field, alias);
  }
  std::string CustomFieldGetFormula(host::FieldId field) const override {
    return app_.CustomFieldGetFormula(field);
  }
  void CustomFieldSetFormula(host::FieldId field, const std::string& formula) override {
    app_.CustomFieldSetFormula(field, formula);
  }
  void CalculateProject() override { app_.CalculateProject(); }
  void TableApply(std::string_view name) override { app_.TableApply(name); }
  void SelectTaskColumn(std::string_view field_name) override { app_.SelectTaskColumn(field_name); }
  void EditClearContents() override { app_.EditClearContents(); }
  void AddEventSink(host::ApplicationEvents& sink) override { app_.AddEventSink(sink); }
  void RemoveEventSink(host::ApplicationEvents& sink) override { app_.RemoveEventSink(sink); }
  host::CommandBarCollection* CommandBars() override { return this; }
  host::Explorer* ActiveExplorer() override { return nullptr; }
  host::Platform& Services() override { return app_.Services(); }

 private:
  workbench::Application& app_;
};

class Connection : public AddinTest {};

TEST_F(Connection, AToolbarThatCannotBeMadeOnALaterConnectionLeavesNothingOfTheOldOneHeld) {
  // Given one Connect connected, then connected again by a host that cannot make the toolbar,
  // expect the old toolbar and its buttons deleted and nothing of them held; a toolbar of that
  // name that the user makes afterwards is not the add-in's, and the disconnection leaves it.
  Plan().AddTask("Dig", 2).Build();
  Instance instance;
  shell::Connect addin;
  addin.OnConnection(app_, host::kConnectAfterStartup, instance);
  workbench::CommandBar* first = app_.Bars().Item("Lunavant");
  ASSERT_NE(first, nullptr);
  ASSERT_EQ(first->Count(), 3);
  workbench::CommandBarButton& first_add = first->Item(1);

  HostRefusingNewBars cramped(app_);
  addin.OnConnection(cramped, host::kConnectAfterStartup, instance);
  EXPECT_TRUE(first->IsDeleted());
  EXPECT_TRUE(first_add.IsDeleted());
  EXPECT_EQ(app_.Bars().Item("Lunavant"), nullptr);
  EXPECT_EQ(addin.AddInBar, nullptr);
  EXPECT_EQ(addin.Add_Btn, nullptr);
  EXPECT_EQ(addin.Remove_Btn, nullptr);
  EXPECT_EQ(addin.Refresh_Btn, nullptr);

  workbench::CommandBar& users = app_.Bars().Add("Lunavant", 1);
  addin.OnDisconnection(host::kDisconnectUserClosed);
  EXPECT_FALSE(users.IsDeleted());
  EXPECT_EQ(app_.Bars().Item("Lunavant"), &users);
  EXPECT_EQ(addin.HostApp, nullptr);
  EXPECT_TRUE(Shown().empty());
}

}  // namespace
}  // namespace lunavant
