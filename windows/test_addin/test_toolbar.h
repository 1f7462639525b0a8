// SPDX-License-Identifier: MIT
// The test add-in's toolbar: a bar "Test" with one button "Mark", added through the host's
// CommandBars. A click is logged and marks the active project's first task (Text1), so a test
// sees that the click reached the add-in and that the add-in can write through the host.
#pragma once

#include <oaidl.h>

#include "com_ptr.h"
#include "event_sink.h"

namespace lunavant::test_addin {

inline constexpr wchar_t kToolbarName[] = L"Test";
inline constexpr wchar_t kButtonCaption[] = L"Mark";
inline constexpr wchar_t kMarkField[] = L"Text1";
inline constexpr wchar_t kMarkText[] = L"Marked by the test add-in";

class TestToolbar {
 public:
  // Adds the bar and listens to its button. Throws ComError when the host refuses.
  void Install(IDispatch* application);
  // Removes the bar; failures are logged, never thrown, since it runs at disconnection.
  void Remove();

 private:
  void OnClick();

  com::ComPtr<IDispatch> application_;
  com::ComPtr<IDispatch> bar_;
  com::ComPtr<IDispatch> button_;
  com::Advice click_advice_;
};

}  // namespace lunavant::test_addin
