/* SPDX-License-Identifier: MIT */
/* Dispatch IDs of the reference host's automation objects, shared by the type library (the IDL
   includes this file) and the objects' Invoke. Two kinds, kept apart below: the real host's
   numbers, as its type library (the Project object library from the 2003 release on) gives them,
   for the members an early-bound caller may reach by number; and the reference host's own, for
   everything not checked against that library, chosen clear of the host's numbers on the same
   interface. Callers that bind late, as Lunavant.dll does, ask by name and depend on neither. */
#ifndef LUNAVANT_WINDOWS_AUTOMATION_DISPIDS_H
#define LUNAVANT_WINDOWS_AUTOMATION_DISPIDS_H

/* Ours: members every object has, numbered as Office's own objects number them. */
#define DISPID_LV_APPLICATION 148
#define DISPID_LV_PARENT 150
#define DISPID_LV_ITEM 0
#define DISPID_LV_NEWENUM (-4)

/* Application: the real host's numbers. */
#define DISPID_APP_SETTASKFIELD 4
#define DISPID_APP_CUSTOMFIELDSETFORMULA 36
#define DISPID_APP_FILENEW 101
#define DISPID_APP_FILECLOSE 103
#define DISPID_APP_FILESAVE 106
#define DISPID_APP_EDITCLEAR 205
#define DISPID_APP_TABLEAPPLY 402
#define DISPID_APP_TABLEEDIT 403
#define DISPID_APP_CALCULATEALL 607
#define DISPID_APP_CALCULATEPROJECT 2034
#define DISPID_APP_SELECTTASKCOLUMN 2065
#define DISPID_APP_CUSTOMFIELDRENAME 2378
#define DISPID_APP_PROJECTS 5000
#define DISPID_APP_WINDOWS 5001
#define DISPID_APP_ACTIVEPROJECT 5002
#define DISPID_APP_ACTIVEWINDOW 5003
#define DISPID_APP_CUSTOMFIELDGETNAME 5039
#define DISPID_APP_COMMANDBARS 5041
#define DISPID_APP_CUSTOMFIELDGETFORMULA 5059
#define DISPID_APP_FIELDNAMETOFIELDCONSTANT 5066
#define DISPID_APP_FIELDCONSTANTTOFIELDNAME 5067
#define DISPID_APP_DATESEPARATOR 5104

/* Application: ours. */
#define DISPID_APP_NAME 1
#define DISPID_APP_VERSION 2
#define DISPID_APP_COLUMNDELETE 6005

/* Ours from here on: the collections, projects, tables, windows, tasks and the Office command
   bars carry numbers of the reference host's own. */

/* Projects, Windows, Tasks, TaskDependencies, List */
#define DISPID_COLLECTION_COUNT 1
#define DISPID_COLLECTION_ADD 2

/* Project */
#define DISPID_PROJECT_TASKS 1
#define DISPID_PROJECT_NAME 2
#define DISPID_PROJECT_CURRENTTABLE 3
#define DISPID_PROJECT_SAVED 4
#define DISPID_PROJECT_PROJECTSTART 5
#define DISPID_PROJECT_TASKTABLELIST 35
#define DISPID_PROJECT_TASKTABLES 36
#define DISPID_PROJECT_INDEX 65527

/* Table, TableField */
#define DISPID_TABLE_NAME 1
#define DISPID_TABLE_TABLEFIELDS 2
#define DISPID_TABLEFIELD_FIELD 1
#define DISPID_TABLEFIELD_INDEX 2
#define DISPID_TABLEFIELD_TITLE 3
#define DISPID_TABLEFIELD_DELETE 4

/* Window */
#define DISPID_WINDOW_CAPTION 1
#define DISPID_WINDOW_ACTIVATE 2
#define DISPID_WINDOW_INDEX 3

/* Task */
#define DISPID_TASK_NAME 1
#define DISPID_TASK_ID 2
#define DISPID_TASK_START 3
#define DISPID_TASK_FINISH 4
#define DISPID_TASK_DURATION 5
#define DISPID_TASK_OUTLINELEVEL 6
#define DISPID_TASK_PREDECESSORS 7
#define DISPID_TASK_SUCCESSORS 8
#define DISPID_TASK_GETFIELD 9
#define DISPID_TASK_SETFIELD 10
#define DISPID_TASK_OUTLINECHILDREN 11
#define DISPID_TASK_PREDECESSORTASKS 12
#define DISPID_TASK_SUCCESSORTASKS 13
#define DISPID_TASK_OUTLINEPARENT 14
#define DISPID_TASK_TASKDEPENDENCIES 15
#define DISPID_TASK_UNIQUEID 16
#define DISPID_TASK_PROJECT 17

/* Office command bars */
#define DISPID_BARS_ADD 0x60030002
#define DISPID_BARS_COUNT 0x60030003
#define DISPID_BAR_NAME 0x60030010
#define DISPID_BAR_POSITION 0x60030011
#define DISPID_BAR_VISIBLE 0x60030012
#define DISPID_BAR_CONTROLS 0x60030013
#define DISPID_BAR_FINDCONTROL 0x60030014
#define DISPID_BAR_DELETE 0x60030015
#define DISPID_CONTROLS_ADD 0x60030020
#define DISPID_CONTROLS_COUNT 0x60030021
#define DISPID_BUTTON_TAG 0x60030030
#define DISPID_BUTTON_CAPTION 0x60030031
#define DISPID_BUTTON_TOOLTIPTEXT 0x60030032
#define DISPID_BUTTON_ONACTION 0x60030033
#define DISPID_BUTTON_VISIBLE 0x60030034
#define DISPID_BUTTON_ENABLED 0x60030035
#define DISPID_BUTTON_STYLE 0x60030036
#define DISPID_BUTTON_FACEID 0x60030037
#define DISPID_BUTTON_PICTURE 0x60030038
#define DISPID_BUTTON_DELETE 0x60030039
#define DISPID_BUTTON_EXECUTE 0x6003003A

/* Office's COMAddIn, the add-in's record that the host's add-in manager hands over: Office's
   numbers, as the host driver answers them. */
#define DISPID_ADDIN_DESCRIPTION 0
#define DISPID_ADDIN_PROGID 3
#define DISPID_ADDIN_GUID 4
#define DISPID_ADDIN_CONNECT 6
#define DISPID_ADDIN_OBJECT 7

/* Events: the real host's and Office's numbers, as the event interfaces declare them. */
#define DISPID_EVENT_NEWPROJECT 1
#define DISPID_EVENT_PROJECTBEFORECLOSE 2
#define DISPID_EVENT_PROJECTBEFORESAVE 3
#define DISPID_EVENT_PROJECTCALCULATE 5
#define DISPID_EVENT_PROJECTBEFORETASKCHANGE 9
#define DISPID_EVENT_WINDOWACTIVATE 19
#define DISPID_EVENT_OPEN 1
#define DISPID_EVENT_CLICK 1

#endif
