// SPDX-License-Identifier: MIT
// The add-in as the host meets it: the built module, registered into the per-user registry file,
// loaded and connected by the workbench's add-in manager, and driven through its toolbar and its
// dialogs as a user drives them. The test knows the add-in only through what the host shows.
// One file, over the usual length: its scenarios share the module's build, registration and
// connection fixture, and each reads as a user's session from start to end.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "addin/host/field_ids.h"
#include "tests/support/workbench_fixture.h"
#include "workbench/addins/addin_manager.h"
#include "workbench/addins/registry_file.h"
#include "workbench/model/project.h"
#include "workbench/model/table.h"
#include "workbench/model/task.h"
#include "workbench/platform/picture_loader.h"
#include "workbench/ui/command_bars.h"
#include "workbench/ui/scripted_dialogs.h"

namespace lunavant {
namespace {

using test_support::WorkbenchTest;
using workbench::DialogAction;
using workbench::DialogScript;
namespace fs = std::filesystem;

using namespace host::field;  // NOLINT(google-build-using-namespace): fields by name

constexpr const char* kAddTitle = "Add Hijri Field";
constexpr const char* kRemoveTitle = "Remove Hijri Field";
constexpr const char* kRequiredEmpty = "You left one of the required fields empty";
constexpr const char* kHijriNotOffered =
    "The Hijri field name you have specified is either invalid or is not available; please make "
    "sure you choose one of the text fields available in the list";
constexpr const char* kGregNotOffered =
    "The Gregorian field name you have sepcified is either invalid or is not available; please "
    "make sure you choose one of the date fields available in the list";
constexpr const char* kNoGregFields =
    "There are no Gregorian date fields in this table that have not been assigned Hijri Fields";
constexpr const char* kNoHijriFields =
    "There are no Hijri fields assigned to any custom text field in the current table";
constexpr const char* kChooseToRemove = "You Need to Choose a Hijri Field To Remove";
constexpr const char* kNotAssigned =
    "The Hijri field name you have specified is either invalid or has not been assigned; please "
    "make sure you choose a field name from the list of assigned text fields to release its "
    "binding";

std::string ConfirmRemove(const std::string& name) {
  return "You are about to remove the Hijri field " + name +
         " entirely from your active project, are you sure you want to continue?";
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteFile(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

std::string RecordFor(const std::string& module) {
  return "\r\n"
         "[HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\{5C0A7E3B-9D41-4F2A-B6E8-1A7C3D2F9B64}]\r\n"
         "@=\"Lunavant.Connect\"\r\n"
         "\r\n"
         "[HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\{5C0A7E3B-9D41-4F2A-B6E8-1A7C3D2F9B64}"
         "\\InprocServer32]\r\n"
         "@=\"" +
         module +
         "\"\r\n"
         "\"ThreadingModel\"=\"Apartment\"\r\n"
         "\r\n"
         "[HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\{5C0A7E3B-9D41-4F2A-B6E8-1A7C3D2F9B64}"
         "\\ProgID]\r\n"
         "@=\"Lunavant.Connect\"\r\n"
         "\r\n"
         "[HKEY_CURRENT_USER\\Software\\Classes\\Lunavant.Connect]\r\n"
         "@=\"Lunavant.Connect\"\r\n"
         "\r\n"
         "[HKEY_CURRENT_USER\\Software\\Classes\\Lunavant.Connect\\CLSID]\r\n"
         "@=\"{5C0A7E3B-9D41-4F2A-B6E8-1A7C3D2F9B64}\"\r\n"
         "\r\n"
         "[HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\MS "
         "Project\\Addins\\Lunavant.Connect]\r\n"
         "\"FriendlyName\"=\"Lunavant\"\r\n"
         "\"Description\"=\"COM Add-In for Microsoft Office Project 2003\"\r\n"
         "\"LoadBehavior\"=dword:00000003\r\n";
}

class AddInModule : public WorkbenchTest {
 protected:
  AddInModule() {
    std::string folder = (fs::temp_directory_path() / "lunavant-module-XXXXXX").string();
    config_ = mkdtemp(folder.data());
    setenv("XDG_CONFIG_HOME", config_.c_str(), 1);
    registry_path_ = workbench::DefaultRegistryPath();
  }
  ~AddInModule() override {
    manager_.reset();
    unsetenv("XDG_CONFIG_HOME");
    fs::remove_all(config_);
  }

  void Register(const fs::path& module = LUNAVANT_ADDIN_MODULE) {
    workbench::RegistryFile registry = workbench::RegistryFile::Load(registry_path_);
    workbench::RegisterModule(module, registry);
  }
  // The host starts with the add-in registered; the user then shows its toolbar.
  workbench::AddInManager& StartHost() {
    manager_.emplace(app_, registry_path_);
    manager_->StartUp();
    return *manager_;
  }
  void StartWithToolbarShown() {
    Register();
    StartHost();
    ASSERT_NE(Toolbar(), nullptr);
    Toolbar()->SetVisible(true);
  }

  workbench::CommandBar* Toolbar() { return app_.Bars().Item("Lunavant"); }
  workbench::CommandBarButton* Button(const std::string& tag) {
    return Toolbar() != nullptr ? Toolbar()->FindControl(tag) : nullptr;
  }
  // A user's click on one of the add-in's buttons; fails the test when it is not there.
  void ClickButton(const std::string& tag) {
    workbench::CommandBarButton* button = Button(tag);
    ASSERT_NE(button, nullptr) << tag;
    EXPECT_TRUE(button->Click()) << tag;
  }
  void ClickWith(const std::string& tag, DialogScript script) {
    Dialogs().QueueScript(std::move(script));
    ClickButton(tag);
  }
  workbench::ScriptedDialogs& Dialogs() { return *app_.ScriptedDialogBoxes(); }

  std::vector<std::string> Prompts() {
    std::vector<std::string> prompts;
    for (const workbench::ShownMessage& shown : Messages().Shown()) prompts.push_back(shown.prompt);
    return prompts;
  }
  static std::vector<host::FieldId> FieldsOf(workbench::Project& pj, const std::string& table) {
    std::vector<host::FieldId> fields;
    host::ColumnList& columns = pj.TaskTable(table).Columns();
    for (std::int32_t i = 1; i <= columns.Count(); ++i) fields.push_back(columns.Item(i).Field());
    return fields;
  }
  static bool ShowsAnywhere(workbench::Project& pj, host::FieldId field) {
    for (std::int32_t t = 1; t <= pj.TaskTableCount(); ++t) {
      for (host::FieldId f : FieldsOf(pj, pj.TaskTable(t).Name())) {
        if (f == field) return true;
      }
    }
    return false;
  }
  // Dig (Mon 01/03/04 to Tue 02/03/04, 10/01/1425 and 11/01/1425), then Pour (Wed 03/03/04 to
  // Fri 05/03/04, 12/01/1425 and 14/01/1425).
  workbench::Project& TwoTasks() {
    return Plan().AddTask("Dig", 2).AddTask("Pour", 3).Link(1, 2).Build();
  }
  // The Add dialog accepted with the first offered entries, or with `greg` and `hijri` typed.
  void AddPair(const std::string& greg = "", const std::string& hijri = "") {
    std::vector<DialogAction> actions;
    if (!greg.empty()) actions.push_back(DialogAction::SetText("GregField", greg));
    if (!hijri.empty()) actions.push_back(DialogAction::SetText("HijriField", hijri));
    actions.push_back(DialogAction::Press("OKButton"));
    ClickWith("Add Hijri", {kAddTitle, actions});
  }

  fs::path config_;
  fs::path registry_path_;
  std::optional<workbench::AddInManager> manager_;
};

// Registration ---------------------------------------------------------------------------

TEST_F(AddInModule, RegisteringWritesTheRecordAndUnregisteringTakesItAwayByteForByte) {
  // Given a registry holding another add-in, expect registration to add exactly the record, sorted
  // among the other keys, and unregistration to leave the file as it was.
  const std::string other =
      "REGEDIT4\r\n"
      "\r\n"
      "[HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\MS Project\\Addins\\Other.Connect]\r\n"
      "\"FriendlyName\"=\"Other \\\"quoted\\\" C:\\\\dir\"\r\n"
      "\"LoadBehavior\"=dword:00000002\r\n"
      "\r\n";
  WriteFile(registry_path_, other);
  EXPECT_EQ(registry_path_, config_ / "lunavant" / "registry.reg");

  Register();
  const std::string module = fs::absolute(LUNAVANT_ADDIN_MODULE).lexically_normal().string();
  // The other add-in's key sorts after Lunavant.Connect's.
  const std::string expected = "REGEDIT4\r\n" + RecordFor(module) + other.substr(10);
  EXPECT_EQ(ReadFile(registry_path_), expected);

  workbench::RegistryFile registry = workbench::RegistryFile::Load(registry_path_);
  workbench::UnregisterModule(LUNAVANT_ADDIN_MODULE, registry);
  EXPECT_EQ(ReadFile(registry_path_), other);
}

TEST_F(AddInModule, RegisteringOverAnOlderRecordLeavesOnlyTheSpecifiedValues) {
  // Given the add-in's keys left by an older install with other and extra values, expect
  // registration to leave exactly the record, nothing of the old values, and the host to load
  // the add-in at start-up.
  WriteFile(
      registry_path_,
      "REGEDIT4\r\n"
      "\r\n"
      "[HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\{5C0A7E3B-9D41-4F2A-B6E8-1A7C3D2F9B64}"
      "\\InprocServer32]\r\n"
      "@=\"/opt/old/liblunavant.so\"\r\n"
      "\"CodeBase\"=\"file:///opt/old\"\r\n"
      "\r\n"
      "[HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\MS Project\\Addins\\Lunavant.Connect]\r\n"
      "\"CommandLineSafe\"=dword:00000001\r\n"
      "\"FriendlyName\"=\"Lunavant 0.9\"\r\n"
      "\"LoadBehavior\"=dword:00000002\r\n"
      "\"Manifest\"=\"lunavant.manifest\"\r\n"
      "\r\n");
  Register();
  const std::string module = fs::absolute(LUNAVANT_ADDIN_MODULE).lexically_normal().string();
  EXPECT_EQ(ReadFile(registry_path_), "REGEDIT4\r\n" + RecordFor(module) + "\r\n");
  StartHost();
  EXPECT_TRUE(manager_->Find("Lunavant.Connect")->connected);
}

TEST_F(AddInModule, AMalformedRegistryIsReportedWithItsLineAndLeftAsItIs) {
  // Given a registry file whose fifth line is no value line, expect the host to start without
  // add-ins, one box naming the file and the line, and the file untouched.
  const std::string broken =
      "REGEDIT4\r\n"
      "\r\n"
      "[HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\MS Project\\Addins\\Lunavant.Connect]\r\n"
      "\"FriendlyName\"=\"Lunavant\"\r\n"
      "\"LoadBehavior\"=3\r\n";
  WriteFile(registry_path_, broken);
  manager_.emplace(app_, registry_path_);
  EXPECT_FALSE(manager_->StartUp());

  ASSERT_EQ(Messages().Shown().size(), 1u);
  EXPECT_EQ(Messages().Shown()[0].prompt,
            "The add-ins were not loaded: the registry is not readable.\nregistry.reg, line 5: "
            "a value line must read \"Name\"=\"text\", \"Name\"=dword:00000000 or @=\"text\"");
  EXPECT_EQ(Messages().Shown()[0].title, "COM Add-Ins");
  EXPECT_TRUE(manager_->AddIns().empty());
  EXPECT_EQ(Toolbar(), nullptr);
  EXPECT_EQ(ReadFile(registry_path_), broken);
  EXPECT_EQ(test_support::ErrorOf([&] { workbench::RegistryFile::Load(registry_path_); }).number,
            321);
}

TEST_F(AddInModule, AMissingOrBrokenModuleIsReportedAndTheOthersStillConnect) {
  // Given the add-in registered beside two records whose modules are missing or not modules,
  // expect one box for each of those two and the add-in connected all the same.
  Register();
  const fs::path broken = config_ / "libbroken.so";
  WriteFile(broken, "not a module");
  workbench::RegistryFile registry = workbench::RegistryFile::Load(registry_path_);
  for (const auto& [prog_id, module] :
       {std::pair<std::string, fs::path>{"Gone.Connect", config_ / "libgone.so"},
        std::pair<std::string, fs::path>{"Broken.Connect", broken}}) {
    const std::string clsid = "{" + prog_id + "}";
    registry.SetText(std::string(workbench::kAddInsKey) + "\\" + prog_id, "FriendlyName", prog_id);
    registry.SetNumber(std::string(workbench::kAddInsKey) + "\\" + prog_id, "LoadBehavior", 3);
    registry.SetText("Software\\Classes\\" + prog_id + "\\CLSID", "", clsid);
    registry.SetText("Software\\Classes\\CLSID\\" + clsid + "\\InprocServer32", "",
                     module.string());
  }
  registry.Save();

  workbench::AddInManager& manager = StartHost();
  ASSERT_EQ(manager.AddIns().size(), 3u);
  EXPECT_FALSE(manager.Find("Broken.Connect")->connected);
  EXPECT_FALSE(manager.Find("Gone.Connect")->connected);
  EXPECT_TRUE(manager.Find("Lunavant.Connect")->connected);
  EXPECT_EQ(manager.Find("Lunavant.Connect")->friendly_name, "Lunavant");
  EXPECT_EQ(manager.Find("Lunavant.Connect")->description,
            "COM Add-In for Microsoft Office Project 2003");
  ASSERT_EQ(Messages().Shown().size(), 2u);
  EXPECT_EQ(Messages().Shown()[1].prompt,
            "The add-in \"Gone.Connect\" could not be loaded and was not connected.\n"
            "File not found: " +
                (config_ / "libgone.so").string());
  EXPECT_NE(Messages().Shown()[0].prompt.find("Error in loading DLL: "), std::string::npos);
  EXPECT_NE(Toolbar(), nullptr);
}

// Connection and the toolbar ----------------------------------------------------------------

TEST_F(AddInModule, AtStartUpTheToolbarIsBuiltHiddenWithItsThreeButtons) {
  // Given the add-in connected during the host's start-up, expect a hidden bar "Lunavant" at the
  // top holding the three buttons, each with its texts, its owner and its face.
  Register();
  StartHost();
  workbench::CommandBar* bar = Toolbar();
  ASSERT_NE(bar, nullptr);
  EXPECT_FALSE(bar->Visible());
  EXPECT_EQ(bar->Position(), 1);
  ASSERT_EQ(bar->Count(), 3);
  struct Expected {
    const char* tag;
    const char* tooltip;
    const char* face;
  };
  const Expected expected[] = {{"Add Hijri", "Add Hijri Fields", "Lunavant_Add.bmp"},
                               {"Remove Hijri", "Remove Hijri Fields", "Lunavant_Remove.bmp"},
                               {"Refresh Hijri", "Refresh Hijri Fields", "Lunavant_Refresh.bmp"}};
  for (std::int32_t i = 1; i <= 3; ++i) {
    workbench::CommandBarButton& button = bar->Item(i);
    const Expected& want = expected[i - 1];
    EXPECT_EQ(button.Tag(), want.tag);
    EXPECT_EQ(button.Caption(), want.tag);
    EXPECT_EQ(button.TooltipText(), want.tooltip);
    EXPECT_EQ(button.OnAction(), "!<Lunavant.Connect>");
    EXPECT_TRUE(button.Visible());
    EXPECT_TRUE(button.Enabled());
    auto face = std::dynamic_pointer_cast<const workbench::BitmapPicture>(button.GetPicture());
    ASSERT_NE(face, nullptr) << want.tag;
    EXPECT_EQ(face->Width(), 16);
    EXPECT_EQ(face->Height(), 16);
    EXPECT_EQ(face->Source().filename(), want.face);
    EXPECT_EQ(face->Source().parent_path(), fs::path(LUNAVANT_ADDIN_MODULE).parent_path());
  }
  // The faces differ: each shows its own mark.
  EXPECT_NE(std::dynamic_pointer_cast<const workbench::BitmapPicture>(bar->Item(1).GetPicture())
                ->Pixels(),
            std::dynamic_pointer_cast<const workbench::BitmapPicture>(bar->Item(3).GetPicture())
                ->Pixels());
  EXPECT_TRUE(Messages().Shown().empty());
}

TEST_F(AddInModule, ConnectedFromTheManagerTheToolbarIsShown) {
  // Given the add-in disconnected and connected again by the user, expect the new toolbar shown.
  Register();
  workbench::AddInManager& manager = StartHost();
  manager.Disconnect("Lunavant.Connect");
  EXPECT_EQ(Toolbar(), nullptr);
  ASSERT_TRUE(manager.Connect("Lunavant.Connect"));
  ASSERT_NE(Toolbar(), nullptr);
  EXPECT_TRUE(Toolbar()->Visible());
  EXPECT_EQ(Toolbar()->Count(), 3);

  // A second start-up shuts the connected add-in down first: one toolbar, hidden again.
  ASSERT_TRUE(manager.StartUp());
  ASSERT_NE(Toolbar(), nullptr);
  EXPECT_FALSE(Toolbar()->Visible());
  EXPECT_EQ(Toolbar()->Count(), 3);
  EXPECT_TRUE(manager.Find("Lunavant.Connect")->connected);
}

TEST_F(AddInModule, AVisibleToolbarAtConnectionIsReplacedByAVisibleOneWithFreshButtons) {
  // Given a bar "Lunavant" on show, left from before with a stray "Add Hijri" button, expect the
  // start-up connection to delete it and build a new visible one with three new buttons.
  workbench::CommandBar& old_bar = app_.Bars().Add("Lunavant", 1);
  old_bar.SetVisible(true);
  workbench::CommandBarButton& stray = old_bar.Add(host::kControlButton);
  stray.SetTag("Add Hijri");
  Register();
  StartHost();

  EXPECT_TRUE(old_bar.IsDeleted());
  EXPECT_TRUE(stray.IsDeleted());
  ASSERT_NE(Toolbar(), nullptr);
  EXPECT_NE(Toolbar(), &old_bar);
  EXPECT_TRUE(Toolbar()->Visible());
  ASSERT_EQ(Toolbar()->Count(), 3);
  EXPECT_EQ(Toolbar()->Item(1).Tag(), "Add Hijri");
  EXPECT_EQ(Toolbar()->Item(1).OnAction(), "!<Lunavant.Connect>");
}

TEST_F(AddInModule, AMissingRefreshFaceLeavesOnlyThatButtonWithoutAFace) {
  // Given the module installed in a folder with the Add and Remove faces but not the Refresh one,
  // expect the Refresh button made in full except for its face.
  const fs::path built = fs::path(LUNAVANT_ADDIN_MODULE).parent_path();
  const fs::path install = config_ / "install";
  fs::create_directories(install);
  fs::copy_file(LUNAVANT_ADDIN_MODULE, install / "liblunavant.so");
  fs::copy_file(built / "Lunavant_Add.bmp", install / "Lunavant_Add.bmp");
  fs::copy_file(built / "Lunavant_Remove.bmp", install / "Lunavant_Remove.bmp");
  ASSERT_FALSE(fs::exists("Lunavant_Refresh.bmp"));
  Register(install / "liblunavant.so");
  StartHost();

  EXPECT_NE(Button("Add Hijri")->GetPicture(), nullptr);
  EXPECT_NE(Button("Remove Hijri")->GetPicture(), nullptr);
  workbench::CommandBarButton* refresh = Button("Refresh Hijri");
  ASSERT_NE(refresh, nullptr);
  EXPECT_EQ(refresh->GetPicture(), nullptr);
  EXPECT_EQ(refresh->Caption(), "Refresh Hijri");
  EXPECT_EQ(refresh->TooltipText(), "Refresh Hijri Fields");
  EXPECT_EQ(refresh->OnAction(), "!<Lunavant.Connect>");
  EXPECT_TRUE(refresh->Visible());
  EXPECT_TRUE(refresh->Enabled());
  EXPECT_TRUE(Messages().Shown().empty());
}

TEST_F(AddInModule, DisconnectionRemovesEverythingAlsoAfterTheUserDeletedTheToolbar) {
  // Given a connection whose pair works, expect a disconnection to take the toolbar, its buttons
  // and the event handling away; then, with the toolbar deleted by the user before the next
  // disconnection, expect that one to pass silently as well.
  workbench::Project& pj = TwoTasks();
  StartWithToolbarShown();
  AddPair();
  workbench::CommandBarButton* add = Button("Add Hijri");
  manager_->Disconnect("Lunavant.Connect");
  EXPECT_EQ(Toolbar(), nullptr);
  EXPECT_TRUE(add->IsDeleted());
  app_.UserEdit(*pj.TaskAt(1), kText1, "01/03/1425");
  EXPECT_EQ(pj.TaskAt(1)->GetField(kStart), "Mon 01/03/04");

  ASSERT_TRUE(manager_->Connect("Lunavant.Connect"));
  Toolbar()->Delete();
  manager_->Disconnect("Lunavant.Connect");
  EXPECT_EQ(Toolbar(), nullptr);
  EXPECT_FALSE(manager_->Find("Lunavant.Connect")->connected);
  EXPECT_TRUE(Messages().Shown().empty());
  ASSERT_TRUE(manager_->Connect("Lunavant.Connect"));
  EXPECT_EQ(Toolbar()->Count(), 3);
}

TEST_F(AddInModule, ASecondConnectionHandlesEachEventOnce) {
  // Given the add-in connected, disconnected and connected again, expect one recalculation to be
  // handled once (one busy pointer and back) and a typed Hijri date to move its task.
  workbench::Project& pj = TwoTasks();
  StartWithToolbarShown();
  AddPair();
  manager_->Disconnect("Lunavant.Connect");
  ASSERT_TRUE(manager_->Connect("Lunavant.Connect"));

  Pointer().Clear();
  app_.CalculateProject();
  EXPECT_EQ(Pointer().History(),
            (std::vector<std::int32_t>{host::kPointerBusy, host::kPointerDefault}));
  app_.UserEdit(*pj.TaskAt(1), kText1, "01/03/1425");
  EXPECT_EQ(pj.TaskAt(1)->GetField(kStart), "Tue 20/04/04");
  EXPECT_EQ(pj.TaskAt(1)->GetField(kText1), "01/03/1425");
  EXPECT_TRUE(Messages().Shown().empty());
}

// The busy check ------------------------------------------------------------------------------

TEST_F(AddInModule, SixOfTenDisabledStandardControlsKeepTheCommandsFromRunningFiveDoNot) {
  // Given six of the ten "Standard" controls disabled, expect all three buttons to do nothing;
  // given five, expect them to run.
  TwoTasks();
  StartWithToolbarShown();
  workbench::CommandBar* standard = app_.Bars().Item("Standard");
  ASSERT_EQ(standard->Count(), 10);
  for (std::int32_t i = 1; i <= 6; ++i) standard->Item(i).SetEnabled(false);
  Pointer().Clear();
  ClickButton("Add Hijri");
  ClickButton("Remove Hijri");
  ClickButton("Refresh Hijri");
  EXPECT_TRUE(Dialogs().Shown().empty());
  EXPECT_TRUE(Messages().Shown().empty());
  EXPECT_TRUE(Pointer().History().empty());

  standard->Item(6).SetEnabled(true);
  ClickWith("Add Hijri", {kAddTitle, {DialogAction::Press("CancelButton")}});
  ClickButton("Remove Hijri");
  ClickButton("Refresh Hijri");
  ASSERT_EQ(Dialogs().Shown().size(), 1u);
  EXPECT_EQ(Prompts(), std::vector<std::string>{kNoHijriFields});
  EXPECT_EQ(Pointer().History(),
            (std::vector<std::int32_t>{host::kPointerBusy, host::kPointerDefault}));
}

TEST_F(AddInModule, TheDatabaseBarStandsInForAMissingStandardBarAndNoBarIsNotBusy) {
  // Given no "Standard" bar, expect "Database" counted (3 of 4 disabled: busy; 2 of 4: a tie,
  // not busy); given neither bar, expect the host not busy.
  TwoTasks();
  StartWithToolbarShown();
  app_.Bars().Item("Standard")->Delete();
  workbench::CommandBar* database = app_.Bars().Item("Database");
  ASSERT_EQ(database->Count(), 4);
  for (std::int32_t i = 1; i <= 3; ++i) database->Item(i).SetEnabled(false);
  ClickButton("Remove Hijri");
  EXPECT_TRUE(Messages().Shown().empty());

  database->Item(3).SetEnabled(true);
  ClickButton("Remove Hijri");
  EXPECT_EQ(Prompts(), std::vector<std::string>{kNoHijriFields});

  database->Delete();
  ClickButton("Remove Hijri");
  EXPECT_EQ(Prompts(), (std::vector<std::string>{kNoHijriFields, kNoHijriFields}));
}

TEST_F(AddInModule, ACellBeingEditedKeepsTheCommandsFromRunning) {
  // Given the user editing a cell, expect the host's bars disabled and a click doing nothing.
  TwoTasks();
  StartWithToolbarShown();
  app_.BeginCellEdit();
  EXPECT_FALSE(app_.Bars().Item("Standard")->Item(1).Enabled());
  ClickButton("Remove Hijri");
  EXPECT_TRUE(Messages().Shown().empty());
  app_.EndCellEdit();
  ClickButton("Remove Hijri");
  EXPECT_EQ(Prompts(), std::vector<std::string>{kNoHijriFields});
}

// The Refresh command -------------------------------------------------------------------------

TEST_F(AddInModule, RefreshWithNoProjectOpenLeavesTheNextEditTargeted) {
  // Given Refresh clicked before any project is open, and then a project whose Text1 is paired
  // with Start (A->B linked, C alone), expect an edit of A's Start to rewrite the Hijri text of A
  // and B only: the refresh that could not run is not carried over to it.
  StartWithToolbarShown();
  ClickButton("Refresh Hijri");
  EXPECT_TRUE(Messages().Shown().empty());

  workbench::Project& pj = Plan()
                               .AddTask("A", 2)
                               .AddTask("B", 3)
                               .AddTask("C", 1)
                               .Link(1, 2)
                               .Column("Entry", kText1, "HijriStart")
                               .Alias(kText1, "HijriStart")
                               .BuildOpened();
  test_support::RecordingSink writes;  // hears each write after the add-in has
  app_.AddEventSink(writes);
  app_.UserEdit(*pj.TaskAt(1), kStart, "Wed 03/03/04");
  EXPECT_EQ(pj.TaskAt(2)->GetField(kText1), "14/01/1425");
  std::vector<std::string> text1_writes;
  for (const std::string& line : writes.log) {
    if (line.find(", Text1, ") != std::string::npos) text1_writes.push_back(line);
  }
  EXPECT_EQ(text1_writes,
            (std::vector<std::string>{"ProjectBeforeTaskChange(1, Text1, 12/01/1425)",
                                      "ProjectBeforeTaskChange(2, Text1, 14/01/1425)",
                                      "ProjectBeforeTaskChange(1, Text1, 12/01/1425)"}));

  // The next Refresh, with the project open, rewrites every task.
  ClickButton("Refresh Hijri");
  EXPECT_EQ(pj.TaskAt(3)->GetField(kText1), "10/01/1425");
  EXPECT_EQ(Prompts(), std::vector<std::string>{});
  app_.RemoveEventSink(writes);
}

// The Add command -----------------------------------------------------------------------------

TEST_F(AddInModule, AddPairsTheOfferedFieldsAndEveryTaskShowsItsHijriDate) {
  // Given the Entry table (Start and Finish) and OK on the dialog as it opens, expect Text1 paired
  // with Start in a column "HijriStart" right of Start, every task showing its Hijri start, and a
  // Hijri date typed into it moving the task; the next Add offers only Finish.
  workbench::Project& pj = TwoTasks();
  StartWithToolbarShown();
  AddPair();

  ASSERT_EQ(Dialogs().Shown().size(), 1u);
  const workbench::ShownForm& form = Dialogs().Shown()[0];
  EXPECT_EQ(form.spec.caption, kAddTitle);
  EXPECT_EQ(form.spec.client_width, 3510);
  EXPECT_EQ(form.spec.client_height, 3480);
  EXPECT_EQ(form.lists.at("GregField"), (std::vector<std::string>{"Start", "Finish"}));
  EXPECT_EQ(form.lists.at("HijriField").size(), 30u);
  EXPECT_EQ(form.texts.at("GregField"), "Start");
  EXPECT_EQ(form.texts.at("HijriField"), "Text1");
  EXPECT_EQ(form.texts.at("HijriTitle"), "");
  EXPECT_EQ(form.script_problem, "");
  EXPECT_TRUE(Messages().Shown().empty());

  const std::vector<host::FieldId> entry = FieldsOf(pj, "Entry");
  const auto start_at = std::find(entry.begin(), entry.end(), kStart);
  ASSERT_NE(start_at, entry.end());
  ASSERT_NE(start_at + 1, entry.end());
  EXPECT_EQ(*(start_at + 1), kText1);
  const auto& column = static_cast<const workbench::Column&>(pj.TaskTable("Entry").Columns().Item(
      static_cast<std::int32_t>(start_at - entry.begin()) + 2));
  EXPECT_EQ(column.Title(), "HijriStart");
  EXPECT_EQ(app_.CustomFieldGetName(kText1), "HijriStart");
  EXPECT_EQ(pj.TaskAt(1)->GetField(kText1), "10/01/1425");
  EXPECT_EQ(pj.TaskAt(2)->GetField(kText1), "12/01/1425");

  app_.UserEdit(*pj.TaskAt(1), kText1, "01/03/1425");
  EXPECT_EQ(pj.TaskAt(1)->GetField(kStart), "Tue 20/04/04");
  EXPECT_EQ(pj.TaskAt(2)->GetField(kText1), "03/03/1425");

  ClickWith("Add Hijri", {kAddTitle, {DialogAction::Press("CancelButton")}});
  EXPECT_EQ(Dialogs().Shown()[1].lists.at("GregField"), std::vector<std::string>{"Finish"});
  EXPECT_EQ(Dialogs().Shown()[1].lists.at("HijriField").front(), "Text2");
}

TEST_F(AddInModule, AddRejectsEachWrongEntryWithItsMessageAndCancelChangesNothing) {
  // Given the dialog, expect each wrong pair of texts to get its message while the dialog stays
  // open, and Cancel after them to leave the project as it was.
  workbench::Project& pj = TwoTasks();
  StartWithToolbarShown();
  const std::vector<host::FieldId> before = FieldsOf(pj, "Entry");
  ClickWith(
      "Add Hijri",
      {kAddTitle,
       {DialogAction::SetText("GregField", ""), DialogAction::SetText("HijriField", ""),
        DialogAction::Press("OKButton"),  // both empty
        DialogAction::SetText("HijriField", "Text3"),
        DialogAction::Press("OKButton"),  // date empty, text offered
        DialogAction::SetText("HijriField", "Text99"),
        DialogAction::Press("OKButton"),  // date empty, text not offered
        DialogAction::SetText("GregField", "Deadline"), DialogAction::SetText("HijriField", ""),
        DialogAction::Press("OKButton"),  // date not offered, text empty
        DialogAction::SetText("HijriField", "Notes"),
        DialogAction::Press("OKButton"),  // neither offered
        DialogAction::Press("CancelButton")}});
  EXPECT_EQ(Prompts(),
            (std::vector<std::string>{kRequiredEmpty, kRequiredEmpty, kHijriNotOffered,
                                      kGregNotOffered, kHijriNotOffered, kGregNotOffered}));
  for (const workbench::ShownMessage& shown : Messages().Shown()) {
    EXPECT_EQ(shown.title, "Lunavant");
    EXPECT_EQ(shown.style, host::MsgBoxStyle::kOkExclamation);
  }
  EXPECT_EQ(Dialogs().Shown()[0].script_problem, "");
  EXPECT_EQ(FieldsOf(pj, "Entry"), before);
  EXPECT_EQ(app_.CustomFieldGetName(kText3), "");
}

TEST_F(AddInModule, AddTakesNamesInOtherLetterCaseAndATypedTitle) {
  // Given "finish" and "text2" typed in small letters and a title, expect the pair added with the
  // column titled as typed and the alias the default title.
  workbench::Project& pj = TwoTasks();
  StartWithToolbarShown();
  ClickWith(
      "Add Hijri",
      {kAddTitle,
       {DialogAction::SetText("GregField", "finish"), DialogAction::SetText("HijriField", "text2"),
        DialogAction::SetText("HijriTitle", "Hijri End"), DialogAction::Press("OKButton")}});
  EXPECT_TRUE(Messages().Shown().empty());
  const std::vector<host::FieldId> entry = FieldsOf(pj, "Entry");
  const auto finish_at = std::find(entry.begin(), entry.end(), kFinish);
  ASSERT_TRUE(finish_at != entry.end() && finish_at + 1 != entry.end());
  EXPECT_EQ(*(finish_at + 1), kText2);
  const auto& column = static_cast<const workbench::Column&>(pj.TaskTable("Entry").Columns().Item(
      static_cast<std::int32_t>(finish_at - entry.begin()) + 2));
  EXPECT_EQ(column.Title(), "Hijri End");
  EXPECT_EQ(app_.CustomFieldGetName(kText2), "HijriFinish");
  EXPECT_EQ(pj.TaskAt(2)->GetField(kText2), "14/01/1425");
}

TEST_F(AddInModule, AddWithNoUnpairedDateColumnShowsItsMessageAndNoDialog) {
  // Given Start and Finish both paired, expect a third Add to show its message only.
  workbench::Project& pj = TwoTasks();
  StartWithToolbarShown();
  AddPair();
  AddPair();
  ASSERT_EQ(app_.CustomFieldGetName(kText2), "HijriFinish");
  ClickButton("Add Hijri");
  EXPECT_EQ(Dialogs().Shown().size(), 2u);
  EXPECT_EQ(Prompts(), std::vector<std::string>{kNoGregFields});
  static_cast<void>(pj);
}

TEST_F(AddInModule, ClosingTheAddDialogByItsWindowAfterARejectedOKCancels) {
  // Given a rejected OK with texts the host could still resolve (Start and the field Name), and
  // the window then closed, expect no pair, no column and no alias.
  workbench::Project& pj = TwoTasks();
  StartWithToolbarShown();
  const std::vector<host::FieldId> before = FieldsOf(pj, "Entry");
  ClickWith("Add Hijri", {kAddTitle,
                          {DialogAction::SetText("HijriField", "Name"),
                           DialogAction::Press("OKButton"), DialogAction::CloseWindow()}});
  EXPECT_EQ(Prompts(), std::vector<std::string>{kHijriNotOffered});
  EXPECT_EQ(Dialogs().Shown()[0].script_problem, "");
  EXPECT_EQ(FieldsOf(pj, "Entry"), before);
  EXPECT_EQ(pj.TaskAt(1)->GetField(kText1), "");
}

TEST_F(AddInModule, AnAddDialogThatCannotBeShownIsACancel) {
  // Given an Add whose OK was refused for texts the host still knows (Start and the field Name)
  // and which was then cancelled, expect a later Add whose dialog fails to open to change
  // nothing: the earlier run's texts are not taken up, and the task names stay.
  workbench::Project& pj = TwoTasks();
  StartWithToolbarShown();
  ClickWith("Add Hijri", {kAddTitle,
                          {DialogAction::SetText("HijriField", "Name"),
                           DialogAction::Press("OKButton"), DialogAction::Press("CancelButton")}});
  ASSERT_EQ(Prompts(), std::vector<std::string>{kHijriNotOffered});
  const std::vector<host::FieldId> before = FieldsOf(pj, "Entry");

  Dialogs().QueueShowFailure();
  ClickButton("Add Hijri");
  EXPECT_EQ(Dialogs().QueuedScripts(), 0);
  EXPECT_EQ(Dialogs().Shown().size(), 1u);
  EXPECT_EQ(FieldsOf(pj, "Entry"), before);
  EXPECT_EQ(pj.TaskAt(1)->GetField(kName), "Dig");
  EXPECT_EQ(pj.TaskAt(2)->GetField(kName), "Pour");
  EXPECT_EQ(Prompts().size(), 1u);
}

// The Remove command --------------------------------------------------------------------------

TEST_F(AddInModule, RemoveOffersTheHijriColumnsAndRejectsWrongEntries) {
  // Given HijriStart and HijriFinish in the Entry table, expect both offered with HijriStart
  // shown first, each wrong text rejected with its message, and Cancel asking nothing.
  workbench::Project& pj = TwoTasks();
  StartWithToolbarShown();
  AddPair();
  AddPair();
  ClickWith("Remove Hijri",
            {kRemoveTitle,
             {DialogAction::SetText("HijriField", ""), DialogAction::Press("OKButton"),
              DialogAction::SetText("HijriField", "HijriCreated"), DialogAction::Press("OKButton"),
              DialogAction::Press("CancelButton")}});
  const workbench::ShownForm& form = Dialogs().Shown().back();
  EXPECT_EQ(form.spec.caption, kRemoveTitle);
  EXPECT_EQ(form.lists.at("HijriField"), (std::vector<std::string>{"HijriStart", "HijriFinish"}));
  EXPECT_EQ(form.texts.at("HijriField"), "HijriStart");
  EXPECT_EQ(Prompts(), (std::vector<std::string>{kChooseToRemove, kNotAssigned}));
  EXPECT_TRUE(ShowsAnywhere(pj, kText1));
  EXPECT_TRUE(ShowsAnywhere(pj, kText2));
}

TEST_F(AddInModule, RemoveAsksFirstAndAfterYesNothingOfTheFieldIsLeft) {
  // Given HijriFinish picked, expect No to keep everything; then Yes to take every column of Text2
  // away, erase its text, give the field its own name back, stop the pairing and offer Finish to
  // Add again.
  workbench::Project& pj = TwoTasks();
  StartWithToolbarShown();
  AddPair();
  AddPair();
  ASSERT_EQ(pj.TaskAt(2)->GetField(kText2), "14/01/1425");
  Messages().QueueAnswer(host::MsgBoxResult::kNo);
  ClickWith("Remove Hijri",
            {kRemoveTitle, {DialogAction::Pick("HijriField", 1), DialogAction::Press("OKButton")}});
  ASSERT_EQ(Messages().Shown().size(), 1u);
  EXPECT_EQ(Messages().Shown()[0].prompt, ConfirmRemove("HijriFinish"));
  EXPECT_EQ(Messages().Shown()[0].style, host::MsgBoxStyle::kYesNoExclamationYesFirst);
  EXPECT_EQ(Messages().Shown()[0].title, "Lunavant");
  EXPECT_TRUE(ShowsAnywhere(pj, kText2));
  EXPECT_EQ(pj.TaskAt(2)->GetField(kText2), "14/01/1425");

  ClickWith("Remove Hijri",
            {kRemoveTitle, {DialogAction::Pick("HijriField", 1), DialogAction::Press("OKButton")}});
  EXPECT_FALSE(ShowsAnywhere(pj, kText2));
  EXPECT_EQ(pj.TaskAt(1)->GetField(kText2), "");
  EXPECT_EQ(pj.TaskAt(2)->GetField(kText2), "");
  EXPECT_EQ(app_.CustomFieldGetName(kText2), "");  // its own name back: no alias
  EXPECT_TRUE(ShowsAnywhere(pj, kText1));
  app_.UserEdit(*pj.TaskAt(2), kText2, "01/03/1425");
  EXPECT_EQ(pj.TaskAt(2)->GetField(kFinish), "Fri 05/03/04");
  // Note: a text field holding a value is not offered, so the typed text is cleared again.
  app_.UserEdit(*pj.TaskAt(2), kText2, "");

  ClickWith("Add Hijri", {kAddTitle, {DialogAction::Press("CancelButton")}});
  EXPECT_EQ(Dialogs().Shown().back().lists.at("GregField"), std::vector<std::string>{"Finish"});
  const std::vector<std::string>& free_fields = Dialogs().Shown().back().lists.at("HijriField");
  EXPECT_EQ(free_fields.front(), "Text2");  // released, so it can be paired again
}

TEST_F(AddInModule, RemoveTakesANameInOtherLetterCaseOrARenamedAliasAndRemovesThatField) {
  // Given HijriStart and HijriFinish, expect "hijrifinish" typed and confirmed to remove Text2,
  // and then, with Text1's alias renamed by the user, the renamed entry confirmed to remove Text1:
  // no column, no text and no pairing of either is left.
  workbench::Project& pj = TwoTasks();
  StartWithToolbarShown();
  AddPair();
  AddPair();
  ClickWith("Remove Hijri", {kRemoveTitle,
                             {DialogAction::SetText("HijriField", "hijrifinish"),
                              DialogAction::Press("OKButton")}});
  EXPECT_EQ(Prompts(), std::vector<std::string>{ConfirmRemove("hijrifinish")});
  EXPECT_FALSE(ShowsAnywhere(pj, kText2));
  EXPECT_EQ(pj.TaskAt(2)->GetField(kText2), "");
  EXPECT_EQ(app_.CustomFieldGetName(kText2), "");

  app_.CustomFieldRename(kText1, "Hijri Begin");
  ClickWith("Remove Hijri",
            {kRemoveTitle, {DialogAction::Pick("HijriField", 0), DialogAction::Press("OKButton")}});
  EXPECT_EQ(Dialogs().Shown().back().lists.at("HijriField"),
            std::vector<std::string>{"Hijri Begin"});
  EXPECT_EQ(Prompts().back(), ConfirmRemove("Hijri Begin"));
  EXPECT_FALSE(ShowsAnywhere(pj, kText1));
  EXPECT_EQ(pj.TaskAt(1)->GetField(kText1), "");
  EXPECT_EQ(app_.CustomFieldGetName(kText1), "");
  app_.UserEdit(*pj.TaskAt(1), kText1, "01/03/1425");
  EXPECT_EQ(pj.TaskAt(1)->GetField(kStart), "Mon 01/03/04");  // no longer paired
  EXPECT_EQ(Prompts().size(), 2u);
}

TEST_F(AddInModule, RemoveWithoutHijriColumnsShowsItsMessageAndNoDialog) {
  // Given no pair in the project, expect the message and no dialog.
  TwoTasks();
  StartWithToolbarShown();
  ClickButton("Remove Hijri");
  EXPECT_TRUE(Dialogs().Shown().empty());
  EXPECT_EQ(Prompts(), std::vector<std::string>{kNoHijriFields});
}

TEST_F(AddInModule, ClosingTheRemoveDialogByItsWindowAfterARejectedOKAsksNothing) {
  // Given a rejected OK and then the window closed, expect no confirmation and the pair intact.
  workbench::Project& pj = TwoTasks();
  StartWithToolbarShown();
  AddPair();
  ClickWith("Remove Hijri", {kRemoveTitle,
                             {DialogAction::SetText("HijriField", "Whatever"),
                              DialogAction::Press("OKButton"), DialogAction::CloseWindow()}});
  EXPECT_EQ(Prompts(), std::vector<std::string>{kNotAssigned});
  EXPECT_TRUE(ShowsAnywhere(pj, kText1));
  EXPECT_EQ(pj.TaskAt(1)->GetField(kText1), "10/01/1425");
}

}  // namespace
}  // namespace lunavant
