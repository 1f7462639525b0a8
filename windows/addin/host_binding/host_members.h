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

// A method call, a property read, an ordinary property put, a put-by-reference.
enum class CallKind { kMethod, kGet, kPut, kPutRef };

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

using enum ObjectKind;
using enum CallKind;
using enum Model;

// clang-format off
// Application.
inline constexpr HostMember kActiveProject{
    kApplication, L"ActiveProject", kGet, 0, kHost, "project.application.activeproject"};
inline constexpr HostMember kOpenProjects{
    kApplication, L"Projects", kGet, 0, kHost, "project.application.projects"};
inline constexpr HostMember kDateSeparator{
    kApplication, L"DateSeparator", kGet, 0, kHost, "project.application.dateseparator"};
inline constexpr HostMember kFieldConstantToFieldName{
    kApplication, L"FieldConstantToFieldName", kMethod, 1, kHost,
    "project.application.fieldconstanttofieldname"};
inline constexpr HostMember kFieldNameToFieldConstant{
    kApplication, L"FieldNameToFieldConstant", kMethod, 1, kHost,
    "project.application.fieldnametofieldconstant"};
inline constexpr HostMember kCustomFieldGetName{
    kApplication, L"CustomFieldGetName", kMethod, 1, kHost,
    "project.application.customfieldgetname"};
inline constexpr HostMember kCustomFieldRename{
    kApplication, L"CustomFieldRename", kMethod, 2, kHost, "project.application.customfieldrename"};
inline constexpr HostMember kCustomFieldGetFormula{
    kApplication, L"CustomFieldGetFormula", kMethod, 1, kHost,
    "project.application.customfieldgetformula"};
inline constexpr HostMember kCustomFieldSetFormula{
    kApplication, L"CustomFieldSetFormula", kMethod, 2, kHost,
    "project.application.customfieldsetformula"};
inline constexpr HostMember kCalculateProject{
    kApplication, L"CalculateProject", kMethod, 0, kHost, "project.application.calculateproject"};
// Name: the table's name, "&" first as the host's menus write it.
inline constexpr HostMember kTableApply{
    kApplication, L"TableApply", kMethod, 1, kHost, "project.application.tableapply"};
// Column: the field name of the column; acts only in a sheet view.
inline constexpr HostMember kSelectTaskColumn{
    kApplication, L"SelectTaskColumn", kMethod, 1, kHost, "project.application.selecttaskcolumn"};
// Contents: True, the cells' contents only.
inline constexpr HostMember kEditClear{
    kApplication, L"EditClear", kMethod, 1, kHost, "project.application.editclear"};
inline constexpr HostMember kApplicationCommandBars{
    kApplication, L"CommandBars", kGet, 0, kHost, "project.application.commandbars"};
// Outlook's: the host has no explorer window, so this only ever fails there.
inline constexpr HostMember kActiveExplorer{
    kApplication, L"ActiveExplorer", kMethod, 0, kNotInHost, "outlook.application.activeexplorer"};
inline constexpr HostMember kExplorerCommandBars{
    kExplorer, L"CommandBars", kGet, 0, kNotInHost, "outlook.explorer.commandbars"};

// Projects, Project, Tables, Table, TableFields, TableField.
inline constexpr HostMember kProjectsCount{
    kProjects, L"Count", kGet, 0, kHost, "project.projects.count"};
inline constexpr HostMember kProjectName{
    kProject, L"Name", kGet, 0, kHost, "project.project.name"};
inline constexpr HostMember kProjectIndex{
    kProject, L"Index", kGet, 0, kHost, "project.project.index"};
inline constexpr HostMember kCurrentTable{
    kProject, L"CurrentTable", kGet, 0, kHost, "project.project.currenttable"};
inline constexpr HostMember kSaved{
    kProject, L"Saved", kGet, 0, kHost, "project.project.saved"};
inline constexpr HostMember kTaskTables{
    kProject, L"TaskTables", kGet, 0, kHost, "project.project.tasktables"};
inline constexpr HostMember kProjectTasks{
    kProject, L"Tasks", kGet, 0, kHost, "project.project.tasks"};
inline constexpr HostMember kTablesCount{
    kTables, L"Count", kGet, 0, kHost, "project.tables.count"};
inline constexpr HostMember kTablesItem{
    kTables, L"Item", kGet, 1, kHost, "project.tables.item"};
inline constexpr HostMember kTableName{
    kTable, L"Name", kGet, 0, kHost, "project.table.name"};
inline constexpr HostMember kTableColumns{
    kTable, L"TableFields", kGet, 0, kHost, "project.table.tablefields"};
inline constexpr HostMember kTableFieldsCount{
    kTableFields, L"Count", kGet, 0, kHost, "project.tablefields.count"};
inline constexpr HostMember kTableFieldsItem{
    kTableFields, L"Item", kGet, 1, kHost, "project.tablefields.item"};
// Field, Align, Width, Title, AlignTitle, Before, AutoWrap.
inline constexpr HostMember kTableFieldsAdd{
    kTableFields, L"Add", kMethod, 7, kHost, "project.tablefields.add"};
inline constexpr HostMember kTableFieldField{
    kTableField, L"Field", kGet, 0, kHost, "project.tablefield.field"};
inline constexpr HostMember kTableFieldIndex{
    kTableField, L"Index", kGet, 0, kHost, "project.tablefield.index"};
inline constexpr HostMember kTableFieldDelete{
    kTableField, L"Delete", kMethod, 0, kHost, "project.tablefield.delete"};

// Tasks, Task, Window.
inline constexpr HostMember kTasksCount{
    kTasks, L"Count", kGet, 0, kHost, "project.tasks.count"};
inline constexpr HostMember kTasksItem{
    kTasks, L"Item", kGet, 1, kHost, "project.tasks.item"};
inline constexpr HostMember kTaskID{
    kTask, L"ID", kGet, 0, kHost, "project.task.id"};
inline constexpr HostMember kOutlineLevel{
    kTask, L"OutlineLevel", kGet, 0, kHost, "project.task.outlinelevel"};
inline constexpr HostMember kOutlineChildren{
    kTask, L"OutlineChildren", kGet, 0, kHost, "project.task.outlinechildren"};
inline constexpr HostMember kOutlineParent{
    kTask, L"OutlineParent", kGet, 0, kHost, "project.task.outlineparent"};
inline constexpr HostMember kPredecessorTasks{
    kTask, L"PredecessorTasks", kGet, 0, kHost, "project.task.predecessortasks"};
inline constexpr HostMember kSuccessorTasks{
    kTask, L"SuccessorTasks", kGet, 0, kHost, "project.task.successortasks"};
inline constexpr HostMember kPredecessors{
    kTask, L"Predecessors", kGet, 0, kHost, "project.task.predecessors"};
inline constexpr HostMember kSuccessors{
    kTask, L"Successors", kGet, 0, kHost, "project.task.successors"};
inline constexpr HostMember kGetField{
    kTask, L"GetField", kMethod, 1, kHost, "project.task.getfield"};
inline constexpr HostMember kSetField{
    kTask, L"SetField", kMethod, 2, kHost, "project.task.setfield"};
inline constexpr HostMember kWindowCaption{
    kWindow, L"Caption", kGet, 0, kHost, "project.window.caption"};

// Office: the add-in's record, command bars, their controls and buttons.
inline constexpr HostMember kProgId{
    kAddIn, L"ProgId", kGet, 0, kOffice, "office.comaddin.progid"};
// Name, Position, MenuBar, Temporary.
inline constexpr HostMember kBarsAdd{
    kCommandBars, L"Add", kMethod, 4, kOffice, "office.commandbars.add"};
inline constexpr HostMember kBarsItem{
    kCommandBars, L"Item", kGet, 1, kOffice, "office.commandbars.item"};
inline constexpr HostMember kBarName{
    kCommandBar, L"Name", kGet, 0, kOffice, "office.commandbar.name"};
inline constexpr HostMember kBarPosition{
    kCommandBar, L"Position", kGet, 0, kOffice, "office.commandbar.position"};
inline constexpr HostMember kBarVisible{
    kCommandBar, L"Visible", kGet, 0, kOffice, "office.commandbar.visible"};
inline constexpr HostMember kSetBarVisible{
    kCommandBar, L"Visible", kPut, 1, kOffice, "office.commandbar.visible"};
inline constexpr HostMember kBarControls{
    kCommandBar, L"Controls", kGet, 0, kOffice, "office.commandbar.controls"};
// Type, Id, Tag: by tag alone.
inline constexpr HostMember kFindControl{
    kCommandBar, L"FindControl", kMethod, 3, kOffice, "office.commandbar.findcontrol"};
inline constexpr HostMember kBarDelete{
    kCommandBar, L"Delete", kMethod, 0, kOffice, "office.commandbar.delete"};
inline constexpr HostMember kControlsAdd{
    kCommandBarControls, L"Add", kMethod, 1, kOffice, "office.commandbarcontrols.add"};
inline constexpr HostMember kControlsCount{
    kCommandBarControls, L"Count", kGet, 0, kOffice, "office.commandbarcontrols.count"};
inline constexpr HostMember kControlsItem{
    kCommandBarControls, L"Item", kGet, 1, kOffice, "office.commandbarcontrols.item"};
inline constexpr HostMember kButtonTag{
    kCommandBarButton, L"Tag", kGet, 0, kOffice, "office.commandbarbutton.tag"};
inline constexpr HostMember kSetButtonTag{
    kCommandBarButton, L"Tag", kPut, 1, kOffice, "office.commandbarbutton.tag"};
inline constexpr HostMember kButtonCaption{
    kCommandBarButton, L"Caption", kGet, 0, kOffice, "office.commandbarbutton.caption"};
inline constexpr HostMember kSetButtonCaption{
    kCommandBarButton, L"Caption", kPut, 1, kOffice, "office.commandbarbutton.caption"};
inline constexpr HostMember kButtonTooltipText{
    kCommandBarButton, L"TooltipText", kGet, 0, kOffice, "office.commandbarbutton.tooltiptext"};
inline constexpr HostMember kSetButtonTooltipText{
    kCommandBarButton, L"TooltipText", kPut, 1, kOffice, "office.commandbarbutton.tooltiptext"};
inline constexpr HostMember kButtonOnAction{
    kCommandBarButton, L"OnAction", kGet, 0, kOffice, "office.commandbarbutton.onaction"};
inline constexpr HostMember kSetButtonOnAction{
    kCommandBarButton, L"OnAction", kPut, 1, kOffice, "office.commandbarbutton.onaction"};
inline constexpr HostMember kButtonVisible{
    kCommandBarButton, L"Visible", kGet, 0, kOffice, "office.commandbarbutton.visible"};
inline constexpr HostMember kSetButtonVisible{
    kCommandBarButton, L"Visible", kPut, 1, kOffice, "office.commandbarbutton.visible"};
inline constexpr HostMember kButtonEnabled{
    kCommandBarButton, L"Enabled", kGet, 0, kOffice, "office.commandbarbutton.enabled"};
inline constexpr HostMember kSetButtonEnabled{
    kCommandBarButton, L"Enabled", kPut, 1, kOffice, "office.commandbarbutton.enabled"};
// An ordinary put, as the reference's own example writes `.Picture = picPicture`.
inline constexpr HostMember kButtonPicture{
    kCommandBarButton, L"Picture", kPut, 1, kOffice, "office.commandbarbutton.picture"};
// Tried only when a host refuses the ordinary put as a member it lacks.
inline constexpr HostMember kButtonPictureByReference{
    kCommandBarButton, L"Picture", kPutRef, 1, kNotInHost, "office.commandbarbutton.picture"};
inline constexpr HostMember kButtonDelete{
    kCommandBarButton, L"Delete", kMethod, 0, kOffice, "office.commandbarbutton.delete"};
// clang-format on

}  // namespace member

// The table itself, for the test that holds it to the host's model.
inline constexpr std::array kHostMembers = {
    &member::kActiveProject,
    &member::kOpenProjects,
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
    &member::kApplicationCommandBars,
    &member::kActiveExplorer,
    &member::kExplorerCommandBars,
    &member::kProjectsCount,
    &member::kProjectName,
    &member::kProjectIndex,
    &member::kCurrentTable,
    &member::kSaved,
    &member::kTaskTables,
    &member::kProjectTasks,
    &member::kTablesCount,
    &member::kTablesItem,
    &member::kTableName,
    &member::kTableColumns,
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

// A method call or property read of `entry` (kMethod, kGet). Fails as AutomationObject
// does, and with kInternalError when `args` are not as many as the entry says.
Variant Call(const AutomationObject& object, const HostMember& entry,
             std::initializer_list<Variant> args = {});
// A property put of `entry` (kPut, or kPutRef with an object or Nothing).
void Put(const AutomationObject& object, const HostMember& entry, const Variant& value);

}  // namespace lunavant::winaddin
