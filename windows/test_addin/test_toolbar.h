// SPDX-License-Identifier: MIT
// The test add-in's toolbar: a bar "Test" added through the host's CommandBars, with two
// buttons. A click on "Mark" is logged and marks the active project's first task (Text1), so a
// test sees that the click reached the add-in and that the add-in can write through the host.
// A click on "Leave" sets the add-in's COMAddIn.Connect to False, as a user unticking the add-in
// does, so the host disconnects it.
#pragma once

#include <oaidl.h>

#include <vector>

#include "com_ptr.h"
#include "event_sink.h"

namespace lunavant::test_addin {

inline constexpr wchar_t kToolbarName[] = L"Test";
inline constexpr wchar_t kMarkCaption[] = L"Mark";
inline constexpr wchar_t kLeaveCaption[] = L"Leave";
inline constexpr wchar_t kMarkField[] = L"Text1";
inline constexpr wchar_t kMarkText[] = L"Marked by the test add-in";

class TestToolbar {
 public:
  // Adds the bar and listens to its buttons; `addin` is the host's COMAddIn of this add-in.
  // Throws ComError when the host refuses.
  void Install(IDispatch* application, IDispatch* addin);
  // Removes the bar; failures are logged, never thrown, since it runs at disconnection.
  void Remove();

 private:
  // Adds a button that calls `on_click` when clicked.
  void AddButton(IDispatch* controls, const wchar_t* caption, void (TestToolbar::*on_click)());
  void OnMark();
  void OnLeave();

  com::ComPtr<IDispatch> application_;
  com::ComPtr<IDispatch> addin_;
  com::ComPtr<IDispatch> bar_;
  std::vector<com::ComPtr<IDispatch>> buttons_;
  std::vector<com::Advice> click_advices_;
};

}  // namespace lunavant::test_addin
