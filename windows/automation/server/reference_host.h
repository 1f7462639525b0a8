// SPDX-License-Identifier: MIT
// How a client finds the reference host's automation server: its ProgID, class, module and the
// interfaces of the events it raises. A host driver creates the Application with
//   CoCreateInstance(CLSID from kReferenceHostProgId, ..., IID_IDispatch, ...)
// in a single-threaded apartment; an event sink answers QueryInterface for the event interface it
// advises on. The event interfaces are the real host's, so a sink written for it needs no change.
#pragma once

#include <guiddef.h>

namespace lunavant::windows {

inline constexpr wchar_t kReferenceHostProgId[] = L"Lunavant.ReferenceHost";
inline constexpr wchar_t kReferenceHostModule[] = L"LunavantHost.dll";
inline constexpr wchar_t kReferenceHostDescription[] = L"Lunavant reference host";

// {85948780-39AE-42E4-BBF6-0E42BE6EBCF8}
inline constexpr GUID kReferenceHostClsid = {
    0x85948780, 0x39AE, 0x42E4, {0xBB, 0xF6, 0x0E, 0x42, 0xBE, 0x6E, 0xBC, 0xF8}};
// The type library embedded in the module. {7F0893F9-1922-4E1C-832C-81EBD3F4DD85}
inline constexpr GUID kReferenceHostTypeLibrary = {
    0x7F0893F9, 0x1922, 0x4E1C, {0x83, 0x2C, 0x81, 0xEB, 0xD3, 0xF4, 0xDD, 0x85}};

// Application events: NewProject, ProjectBeforeClose, ProjectBeforeSave, ProjectCalculate,
// ProjectBeforeTaskChange, WindowActivate.
inline constexpr GUID kApplicationEventsIid = {
    0x5066D7C4, 0x1ED7, 0x48C4, {0xAC, 0xE7, 0x29, 0x9E, 0x10, 0x9D, 0x36, 0x8C}};
// A project's own events: Open.
inline constexpr GUID kProjectEventsIid = {
    0xF81DD3C0, 0x5089, 0x11CF, {0xA4, 0x9D, 0x00, 0xAA, 0x00, 0x57, 0x4C, 0x74}};
// A command-bar button's events: Click.
inline constexpr GUID kCommandBarButtonEventsIid = {
    0x000C0351, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

}  // namespace lunavant::windows
