// SPDX-License-Identifier: MIT
// Every member of the host's automation objects that Lunavant.dll calls: on which object, as what
// kind of call, with how many arguments, and where the member is documented. The binding calls
// the host only through these entries, and a test under wine asks the reference host's type
// library, which declares its members as the real host's does, for each of them.
//
//   Call(app_, member::kSelectTaskColumn, {Text("Text5")});
//   Put(button_, member::kButtonPicture, Variant::Object(face));
//
// Documentation is named by its page of Microsoft's VBA reference (learn.microsoft.com/office/vba/
// api/<page>), the same members as the Project 2003 and Office 2003 references give them.
#pragma once

#include <array>
#include <initializer_list>
#include <string_view>

#include "host_binding/automation.h"
#include "host_binding/host_session.h"

namespace lunavant::winaddin {

enum class CallKind { kMethod, kPropertyGet, kPropertyPut, kPropertyPutRef };

// Whose model declares a member.
enum class Model {
  kHost,    // the host's own object library
  kOffice,  // the Office library the host shares (command bars, the add-in record)
  // Declared by neither: a fallback for another host, tried only after the documented call
  // failed; the host refuses it as a member it lacks.
  kNotInHost,
};

struct HostMember {
  ObjectKind object;
  std::wstring_view name;
  CallKind kind;
  int arguments;  // as the binding passes them, a left-out optional one included
  Model model;
  std::string_view documented;
};

namespace member {

using enum CallKind;
using enum Model;
using Kind = ObjectKind;

// Application.
inline constexpr HostMember kActiveProject{Kind::kApplication,
                                           L"ActiveProject",
                                           kPropertyGet,
                                           0,
                                           kHost,
                                           "project.application.activeproject"};
inline constexpr HostMember kProjects{
    Kind::kApplication, L"Projects", kPropertyGet, 0, kHost, "project.application.projects"};
inline constexpr HostMember kDateSeparator{Kind::kApplication,
                                           L"DateSeparator",
                                           kPropertyGet,
                                           0,
                                           kHost,
                                           "project.application.dateseparator"};
inline constexpr HostMember kFieldConstantToFieldName{
    Kind::kApplication,
    L"FieldConstantToFieldName",
    kMethod,
    1,
    kHost,
    "project.application.fieldconstanttofieldname"};
inline constexpr HostMember kFieldNameToFieldConstant{
    Kind::kApplication,
    L"FieldNameToFieldConstant",
    kMethod,
    1,
    kHost,
    "project.application.fieldnametofieldconstant"};
inline constexpr HostMember kCustomFieldGetName{Kind::kApplication,
                                                L"CustomFieldGetName",
                                                kMethod,
                                                1,
                                                kHost,
                                                "project.application.customfieldgetname"};
inline constexpr HostMember kCustomFieldRename{Kind::kApplication,
                                               L"CustomFieldRename",
                                               kMethod,
                                               2,
                                               kHost,
                                               "project.application.customfieldrename"};
inline constexpr HostMember kCustomFieldGetFormula{Kind::kApplication,
                                                   L"CustomFieldGetFormula",
                                                   kMethod,
                                                   1,
                                                   kHost,
                                                   "project.application.customfieldgetformula"};
inline constexpr HostMember kCustomFieldSetFormula{Kind::kApplication,
                                                   L"CustomFieldSetFormula",
                                                   kMethod,
                                                   2,
                                                   kHost,
                                                   "project.application.customfieldsetformula"};
inline constexpr HostMember kCalculateProject{Kind::kApplication,
                                              L"CalculateProject",
                                              kMethod,
                                              0,
                                              kHost,
                                              "project.application.calculateproject"};
// Name: the table's name, "&" first as the host's menus write it.
inline constexpr HostMember kTableApply{
    Kind::kApplication, L"TableApply", kMethod, 1, kHost, "project.application.tableapply"};
// Column: the field name of the column; acts only in a sheet view.
inline constexpr HostMember kSelectTaskColumn{Kind::kApplication,
                                              L"SelectTaskColumn",
                                              kMethod,
                                              1,
                                              kHost,
                                              "project.application.selecttaskcolumn"};
// Contents: True, the cells' contents only.
inline constexpr HostMember kEditClear{
    Kind::kApplication, L"EditClear", kMethod, 1, kHost, "project.application.editclear"};
inline constexpr HostMember kCommandBars{
    Kind::kApplication, L"CommandBars", kPropertyGet, 0, kHost, "project.application.commandbars"};
// Outlook's: the host has no explorer window, so this only ever fails there.
inline constexpr HostMember kActiveExplorer{Kind::kApplication,
                                            L"ActiveExplorer",
                                            kMethod,
                                            0,
                                            kNotInHost,
                                            "outlook.application.activeexplorer"};
inline constexpr HostMember kExplorerCommandBars{
    Kind::kExplorer, L"CommandBars", kPropertyGet, 0, kNotInHost, "outlook.explorer.commandbars"};

// Projects, Project, Tables, Table, TableFields, TableField.
inline constexpr HostMember kProjectsCount{
    Kind::kProjects, L"Count", kPropertyGet, 0, kHost, "project.projects.count"};
inline constexpr HostMember kProjectName{Kind::kProject,        L"Name", kPropertyGet, 0, kHost,
                                         "project.project.name"};
inline constexpr HostMember kProjectIndex{Kind::kProject,         L"Index", kPropertyGet, 0, kHost,
                                          "project.project.index"};
inline constexpr HostMember kCurrentTable{
    Kind::kProject, L"CurrentTable", kPropertyGet, 0, kHost, "project.project.currenttable"};
inline constexpr HostMember kSaved{Kind::kProject,         L"Saved", kPropertyGet, 0, kHost,
                                   "project.project.saved"};
inline constexpr HostMember kTaskTables{
    Kind::kProject, L"TaskTables", kPropertyGet, 0, kHost, "project.project.tasktables"};
inline constexpr HostMember kTasks{Kind::kProject,         L"Tasks", kPropertyGet, 0, kHost,
                                   "project.project.tasks"};
inline constexpr HostMember kTablesCount{Kind::kTables,         L"Count", kPropertyGet, 0, kHost,
                                         "project.tables.count"};
inline constexpr HostMember kTablesItem{Kind::kTables,        L"Item", kPropertyGet, 1, kHost,
                                        "project.tables.item"};
inline constexpr HostMember kTableName{Kind::kTable,        L"Name", kPropertyGet, 0, kHost,
                                       "project.table.name"};
inline constexpr HostMember kTableFields{
    Kind::kTable, L"TableFields", kPropertyGet, 0, kHost, "project.table.tablefields"};
inline constexpr HostMember kTableFieldsCount{
    Kind::kTableFields, L"Count", kPropertyGet, 0, kHost, "project.tablefields.count"};
inline constexpr HostMember kTableFieldsItem{
    Kind::kTableFields, L"Item", kPropertyGet, 1, kHost, "project.tablefields.item"};
// Field, Align, Width, Title, AlignTitle, Before, AutoWrap.
inline constexpr HostMember kTableFieldsAdd{Kind::kTableFields,       L"Add", kMethod, 7, kHost,
                                            "project.tablefields.add"};
inline constexpr HostMember kTableFieldField{
    Kind::kTableField, L"Field", kPropertyGet, 0, kHost, "project.tablefield.field"};
inline constexpr HostMember kTableFieldIndex{
    Kind::kTableField, L"Index", kPropertyGet, 0, kHost, "project.tablefield.index"};
inline constexpr HostMember kTableFieldDelete{
    Kind::kTableField, L"Delete", kMethod, 0, kHost, "project.tablefield.delete"};

// Tasks, Task, Window.
inline constexpr HostMember kTasksCount{Kind::kTasks,         L"Count", kPropertyGet, 0, kHost,
                                        "project.tasks.count"};
inline constexpr HostMember kTasksItem{Kind::kTasks,        L"Item", kPropertyGet, 1, kHost,
                                       "project.tasks.item"};
inline constexpr HostMember kTaskID{Kind::kTask, L"ID", kPropertyGet, 0, kHost, "project.task.id"};
inline constexpr HostMember kOutlineLevel{
    Kind::kTask, L"OutlineLevel", kPropertyGet, 0, kHost, "project.task.outlinelevel"};
inline constexpr HostMember kOutlineChildren{
    Kind::kTask, L"OutlineChildren", kPropertyGet, 0, kHost, "project.task.outlinechildren"};
inline constexpr HostMember kOutlineParent{
    Kind::kTask, L"OutlineParent", kPropertyGet, 0, kHost, "project.task.outlineparent"};
inline constexpr HostMember kPredecessorTasks{
    Kind::kTask, L"PredecessorTasks", kPropertyGet, 0, kHost, "project.task.predecessortasks"};
inline constexpr HostMember kSuccessorTasks{
    Kind::kTask, L"SuccessorTasks", kPropertyGet, 0, kHost, "project.task.successortasks"};
inline constexpr HostMember kPredecessors{
    Kind::kTask, L"Predecessors", kPropertyGet, 0, kHost, "project.task.predecessors"};
inline constexpr HostMember kSuccessors{Kind::kTask, L"Successors", kPropertyGet,
                                        0,           kHost,         "project.task.successors"};
inline constexpr HostMember kGetField{Kind::kTask, L"GetField", kMethod,
                                      1,           kHost,       "project.task.getfield"};
inline constexpr HostMember kSetField{Kind::kTask, L"SetField", kMethod,
                                      2,           kHost,       "project.task.setfield"};
inline constexpr HostMember kWindowCaption{
    Kind::kWindow, L"Caption", kPropertyGet, 0, kHost, "project.window.caption"};

// Office: the add-in's record, command bars, their controls and buttons.
inline constexpr HostMember kProgId{
    Kind::kAddIn, L"ProgId", kPropertyGet, 0, kOffice, "office.comaddin.progid"};
// Name, Position, MenuBar, Temporary.
inline constexpr HostMember kBarsAdd{Kind::kCommandBars,      L"Add", kMethod, 4, kOffice,
                                     "office.commandbars.add"};
inline constexpr HostMember kBarsItem{Kind::kCommandBars,       L"Item", kPropertyGet, 1, kOffice,
                                      "office.commandbars.item"};
inline constexpr HostMember kBarName{Kind::kCommandBar,       L"Name", kPropertyGet, 0, kOffice,
                                     "office.commandbar.name"};
inline constexpr HostMember kBarPosition{
    Kind::kCommandBar, L"Position", kPropertyGet, 0, kOffice, "office.commandbar.position"};
inline constexpr HostMember kBarVisible{
    Kind::kCommandBar, L"Visible", kPropertyGet, 0, kOffice, "office.commandbar.visible"};
inline constexpr HostMember kSetBarVisible{
    Kind::kCommandBar, L"Visible", kPropertyPut, 1, kOffice, "office.commandbar.visible"};
inline constexpr HostMember kBarControls{
    Kind::kCommandBar, L"Controls", kPropertyGet, 0, kOffice, "office.commandbar.controls"};
// Type, Id, Tag: by tag alone.
inline constexpr HostMember kFindControl{
    Kind::kCommandBar, L"FindControl", kMethod, 3, kOffice, "office.commandbar.findcontrol"};
inline constexpr HostMember kBarDelete{Kind::kCommandBar,         L"Delete", kMethod, 0, kOffice,
                                       "office.commandbar.delete"};
inline constexpr HostMember kControlsAdd{
    Kind::kCommandBarControls, L"Add", kMethod, 1, kOffice, "office.commandbarcontrols.add"};
inline constexpr HostMember kControlsCount{
    Kind::kCommandBarControls,        L"Count", kPropertyGet, 0, kOffice,
    "office.commandbarcontrols.count"};
inline constexpr HostMember kControlsItem{
    Kind::kCommandBarControls, L"Item", kPropertyGet, 1, kOffice, "office.commandbarcontrols.item"};
inline constexpr HostMember kButtonTag{
    Kind::kCommandBarButton, L"Tag", kPropertyGet, 0, kOffice, "office.commandbarbutton.tag"};
inline constexpr HostMember kSetButtonTag{
    Kind::kCommandBarButton, L"Tag", kPropertyPut, 1, kOffice, "office.commandbarbutton.tag"};
inline constexpr HostMember kButtonCaption{
    Kind::kCommandBarButton,          L"Caption", kPropertyGet, 0, kOffice,
    "office.commandbarbutton.caption"};
inline constexpr HostMember kSetButtonCaption{
    Kind::kCommandBarButton,          L"Caption", kPropertyPut, 1, kOffice,
    "office.commandbarbutton.caption"};
inline constexpr HostMember kButtonTooltipText{Kind::kCommandBarButton,
                                               L"TooltipText",
                                               kPropertyGet,
                                               0,
                                               kOffice,
                                               "office.commandbarbutton.tooltiptext"};
inline constexpr HostMember kSetButtonTooltipText{Kind::kCommandBarButton,
                                                  L"TooltipText",
                                                  kPropertyPut,
                                                  1,
                                                  kOffice,
                                                  "office.commandbarbutton.tooltiptext"};
inline constexpr HostMember kButtonOnAction{
    Kind::kCommandBarButton,           L"OnAction", kPropertyGet, 0, kOffice,
    "office.commandbarbutton.onaction"};
inline constexpr HostMember kSetButtonOnAction{
    Kind::kCommandBarButton,           L"OnAction", kPropertyPut, 1, kOffice,
    "office.commandbarbutton.onaction"};
inline constexpr HostMember kButtonVisible{
    Kind::kCommandBarButton,          L"Visible", kPropertyGet, 0, kOffice,
    "office.commandbarbutton.visible"};
inline constexpr HostMember kSetButtonVisible{
    Kind::kCommandBarButton,          L"Visible", kPropertyPut, 1, kOffice,
    "office.commandbarbutton.visible"};
inline constexpr HostMember kButtonEnabled{
    Kind::kCommandBarButton,          L"Enabled", kPropertyGet, 0, kOffice,
    "office.commandbarbutton.enabled"};
inline constexpr HostMember kSetButtonEnabled{
    Kind::kCommandBarButton,          L"Enabled", kPropertyPut, 1, kOffice,
    "office.commandbarbutton.enabled"};
// An ordinary put, as the reference's own example writes `.Picture = picPicture`.
inline constexpr HostMember kButtonPicture{
    Kind::kCommandBarButton,          L"Picture", kPropertyPut, 1, kOffice,
    "office.commandbarbutton.picture"};
// Tried only when a host refuses the ordinary put as a member it lacks.
inline constexpr HostMember kButtonPictureByReference{
    Kind::kCommandBarButton,          L"Picture", kPropertyPutRef, 1, kNotInHost,
    "office.commandbarbutton.picture"};
inline constexpr HostMember kButtonDelete{
    Kind::kCommandBarButton, L"Delete", kMethod, 0, kOffice, "office.commandbarbutton.delete"};

}  // namespace member

// The table itself, for the test that holds it to the host's model.
inline constexpr std::array kHostMembers = {
    &member::kActiveProject,
    &member::kProjects,
    &member::kDateSeparator,
    &member::kFieldConstantToFieldName,
    &member::kFieldNameToFieldConstant,
    &member::kCustomFieldGetName,
    &member::kCustomFieldRename,
    &member::kCustomFieldGetFormula,
    &member::kCustomFieldSetFormula,
    &member::kCalculateProject,
    &member::kTableApply,
    &member::kSelectTaskColumn,
    &member::kEditClear,
    &member::kCommandBars,
    &member::kActiveExplorer,
    &member::kExplorerCommandBars,
    &member::kProjectsCount,
    &member::kProjectName,
    &member::kProjectIndex,
    &member::kCurrentTable,
    &member::kSaved,
    &member::kTaskTables,
    &member::kTasks,
    &member::kTablesCount,
    &member::kTablesItem,
    &member::kTableName,
    &member::kTableFields,
    &member::kTableFieldsCount,
    &member::kTableFieldsItem,
    &member::kTableFieldsAdd,
    &member::kTableFieldField,
    &member::kTableFieldIndex,
    &member::kTableFieldDelete,
    &member::kTasksCount,
    &member::kTasksItem,
    &member::kTaskID,
    &member::kOutlineLevel,
    &member::kOutlineChildren,
    &member::kOutlineParent,
    &member::kPredecessorTasks,
    &member::kSuccessorTasks,
    &member::kPredecessors,
    &member::kSuccessors,
    &member::kGetField,
    &member::kSetField,
    &member::kWindowCaption,
    &member::kProgId,
    &member::kBarsAdd,
    &member::kBarsItem,
    &member::kBarName,
    &member::kBarPosition,
    &member::kBarVisible,
    &member::kSetBarVisible,
    &member::kBarControls,
    &member::kFindControl,
    &member::kBarDelete,
    &member::kControlsAdd,
    &member::kControlsCount,
    &member::kControlsItem,
    &member::kButtonTag,
    &member::kSetButtonTag,
    &member::kButtonCaption,
    &member::kSetButtonCaption,
    &member::kButtonTooltipText,
    &member::kSetButtonTooltipText,
    &member::kButtonOnAction,
    &member::kSetButtonOnAction,
    &member::kButtonVisible,
    &member::kSetButtonVisible,
    &member::kButtonEnabled,
    &member::kSetButtonEnabled,
    &member::kButtonPicture,
    &member::kButtonPictureByReference,
    &member::kButtonDelete,
};

// A method call or property read of `entry` (kMethod, kPropertyGet). Fails as AutomationObject
// does, and with kInternalError when `args` are not as many as the entry says.
Variant Call(const AutomationObject& object, const HostMember& entry,
             std::initializer_list<Variant> args = {});
// A property put of `entry` (kPropertyPut, or kPropertyPutRef with an object or Nothing).
void Put(const AutomationObject& object, const HostMember& entry, const Variant& value);

}  // namespace lunavant::winaddin
