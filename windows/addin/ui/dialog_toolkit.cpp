// SPDX-License-Identifier: MIT
#include "ui/dialog_toolkit.h"

#include <commctrl.h>

#include <cwctype>
#include <optional>
#include <string>
#include <vector>

#include "addin/host/error.h"
#include "module.h"
#include "text.h"
#include "ui/dialog_template.h"

namespace lunavant::winaddin {
namespace {

[[noreturn]] void RaiseInvalidCall() {
  host::Raise(host::kInvalidProcedureCall, "Invalid procedure call or argument");
}

bool SameName(std::string_view a, std::string_view b) {
  return com::EqualNoCase(com::Widen(a), com::Widen(b));
}

std::wstring WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
  const int read = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(read > 0 ? read : 0));
  return text;
}

// The text of the list's entry at `index`.
std::wstring EntryText(HWND combo, LRESULT index) {
  const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == CB_ERR) return {};
  std::wstring entry(static_cast<std::size_t>(length) + 1, L'\0');
  SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(entry.data()));
  entry.resize(wcslen(entry.c_str()));
  return entry;
}

// Makes the entry the list shows its current one, so the arrow keys move on from it rather than
// start again at the top. A text that is no entry, letter for letter, leaves the list as it is.
void SelectShownEntry(HWND combo, const std::wstring& text) {
  LRESULT from = -1;
  for (;;) {
    const LRESULT found = SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(from),
                                       reinterpret_cast<LPARAM>(text.c_str()));
    if (found == CB_ERR || found <= from) return;
    if (EntryText(combo, found) == text) {
      SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
      return;
    }
    from = found;
  }
}

class Win32Form;

// A drop-down list's entries, kept while the form is not shown and mirrored into the combo box
// while it is.
class Win32List final : public host::ListControl {
 public:
  Win32List(Win32Form& form, std::size_t index) : form_(form), index_(index) {}
  void Append(const std::string& text) override;
  std::int32_t Count() const override { return static_cast<std::int32_t>(entries_.size()); }
  std::string Entry(std::int32_t index) const override {
    if (index < 0 || index >= Count()) {
      host::Raise(host::kSubscriptOutOfRange, "Subscript out of range");
    }
    return entries_[static_cast<std::size_t>(index)];
  }
  const std::vector<std::string>& Entries() const { return entries_; }

 private:
  Win32Form& form_;
  std::size_t index_;
  std::vector<std::string> entries_;
};

class Win32Form final : public host::Form {
 public:
  Win32Form(const host::FormSpec& spec, host::FormHandlers& handlers)
      : spec_(spec), handlers_(handlers) {
    for (std::size_t i = 0; i < spec_.controls.size(); ++i) {
      for (std::size_t j = 0; j < i; ++j) {
        if (SameName(spec_.controls[i].name, spec_.controls[j].name)) RaiseInvalidCall();
      }
      texts_.push_back(spec_.controls[i].text);
      lists_.emplace_back(*this, i);
    }
  }
  Win32Form(const Win32Form&) = delete;
  Win32Form& operator=(const Win32Form&) = delete;
  ~Win32Form() override { Hide(); }

  const host::FormSpec& Spec() const override { return spec_; }

  std::string Text(std::string_view control) const override {
    const std::size_t index = IndexOf(control);
    if (HWND window = ControlWindow(index)) return com::Narrow(WindowText(window));
    return texts_[index];
  }

  void SetText(std::string_view control, const std::string& text) override {
    const std::size_t index = IndexOf(control);
    texts_[index] = text;
    if (HWND window = ControlWindow(index)) {
      const bool was_quiet = quiet_;
      quiet_ = true;
      const std::wstring wide = com::Widen(text);
      SetWindowTextW(window, wide.c_str());
      if (spec_.controls[index].kind == host::ControlKind::kDropDownList) {
        SelectShownEntry(window, wide);
      }
      quiet_ = was_quiet;
    }
  }

  host::ListControl& List(std::string_view control) override {
    const std::size_t index = IndexOf(control);
    if (spec_.controls[index].kind != host::ControlKind::kDropDownList) {
      host::Raise(host::kTypeMismatch, "Type mismatch");
    }
    return lists_[index];
  }

  void ShowModal() override {
    if (dialog_ != nullptr) RaiseInvalidCall();
    // The common controls' window classes, registered once, before the first dialog.
    [[maybe_unused]] static const bool common_controls = [] {
      INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
      return InitCommonControlsEx(&classes) != FALSE;
    }();
    const DialogTemplate layout =
        BuildDialogTemplate(spec_, kFirstControlId, CurrentScreenScale(), BaseUnitsOfDialogFont());
    const INT_PTR shown =
        DialogBoxIndirectParamW(com::ModuleInstance(), layout.get(), OwnerWindow(),
                                &Win32Form::Procedure, reinterpret_cast<LPARAM>(this));
    dialog_ = nullptr;
    if (shown == -1) {
      host::Raise(host::kInvalidProcedureCall,
                  "The dialog \"" + spec_.caption + "\" cannot be shown: " +
                      com::DescribeHresult(HRESULT_FROM_WIN32(GetLastError())));
    }
  }

  void Hide() override {
    if (dialog_ == nullptr) return;
    KeepTexts();
    HWND dialog = dialog_;
    dialog_ = nullptr;
    EndDialog(dialog, IDOK);
  }

  bool IsShown() const override { return dialog_ != nullptr; }

  HWND ControlWindow(std::size_t index) const {
    if (dialog_ == nullptr) return nullptr;
    return GetDlgItem(dialog_, kFirstControlId + static_cast<int>(index));
  }

 private:
  std::size_t IndexOf(std::string_view control) const {
    for (std::size_t i = 0; i < spec_.controls.size(); ++i) {
      if (SameName(spec_.controls[i].name, control)) return i;
    }
    RaiseInvalidCall();
  }

  // What the user typed stays readable after the dialog has closed.
  void KeepTexts() {
    for (std::size_t i = 0; i < spec_.controls.size(); ++i) {
      if (HWND window = ControlWindow(i)) texts_[i] = com::Narrow(WindowText(window));
    }
  }

  void Fill(HWND dialog) {
    dialog_ = dialog;
    quiet_ = true;
    HWND tooltips =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr,
                        com::ModuleInstance(), nullptr);
    if (tooltips != nullptr) SendMessageW(tooltips, TTM_SETMAXTIPWIDTH, 0, 400);
    for (std::size_t i = 0; i < spec_.controls.size(); ++i) {
      HWND window = ControlWindow(i);
      if (window == nullptr) continue;
      const host::ControlSpec& control = spec_.controls[i];
      if (control.kind == host::ControlKind::kDropDownList) {
        for (const std::string& entry : lists_[i].Entries()) {
          SendMessageW(window, CB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(com::Widen(entry).c_str()));
        }
      }
      const std::wstring text = com::Widen(texts_[i]);
      SetWindowTextW(window, text.c_str());
      if (control.kind == host::ControlKind::kDropDownList) SelectShownEntry(window, text);
      if (tooltips != nullptr && !control.tooltip.empty()) AddTooltip(tooltips, window, control);
    }
    quiet_ = false;
  }

  void AddTooltip(HWND tooltips, HWND window, const host::ControlSpec& control) {
    tooltip_texts_.push_back(com::Widen(control.tooltip));
    std::vector<HWND> targets{window};
    // A drop-down list's typing field is a window of its own, over most of the list.
    COMBOBOXINFO parts{};
    parts.cbSize = sizeof parts;
    if (control.kind == host::ControlKind::kDropDownList && GetComboBoxInfo(window, &parts) &&
        parts.hwndItem != nullptr) {
      targets.push_back(parts.hwndItem);
    }
    for (HWND target : targets) {
      TTTOOLINFOW tool{};
      tool.cbSize = sizeof tool;
      tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
      tool.hwnd = GetParent(target);
      tool.uId = reinterpret_cast<UINT_PTR>(target);
      tool.lpszText = tooltip_texts_.back().data();
      SendMessageW(tooltips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
  }

  void Command(WORD id, WORD notification, HWND from) {
    if (id < kFirstControlId || id >= kFirstControlId + spec_.controls.size()) return;
    const std::size_t index = id - kFirstControlId;
    const host::ControlSpec& control = spec_.controls[index];
    if (control.kind == host::ControlKind::kPushButton && notification == BN_CLICKED) {
      handlers_.Click(*this, control.name);
      return;
    }
    if (quiet_) return;
    if (control.kind == host::ControlKind::kDropDownList && notification == CBN_SELCHANGE) {
      // The list tells of a pick before its text shows it; the text is made the pick first.
      const LRESULT picked = SendMessageW(from, CB_GETCURSEL, 0, 0);
      if (picked != CB_ERR) {
        const std::wstring entry = EntryText(from, picked);
        quiet_ = true;
        SetWindowTextW(from, entry.c_str());
        quiet_ = false;
      }
      handlers_.Change(*this, control.name);
    } else if ((control.kind == host::ControlKind::kDropDownList &&
                notification == CBN_EDITCHANGE) ||
               (control.kind == host::ControlKind::kTextBox && notification == EN_CHANGE)) {
      handlers_.Change(*this, control.name);
    }
  }

  void CloseByWindow() {
    handlers_.CloseByWindow(*this);
    Hide();
  }

  // Enter presses the default button and Escape the Cancel button, as a click would; a form
  // without a Cancel button closes on Escape as by its close box.
  void PressDefault() {
    if (const auto button = DefaultButton(spec_)) {
      handlers_.Click(*this, spec_.controls[*button].name);
    }
  }
  void PressCancel() {
    if (const auto button = CancelButton(spec_)) {
      handlers_.Click(*this, spec_.controls[*button].name);
    } else {
      CloseByWindow();
    }
  }

  void MakeDefaultButtonTheDialogs(HWND dialog) {
    if (const auto button = DefaultButton(spec_)) {
      SendMessageW(dialog, DM_SETDEFID, kFirstControlId + static_cast<WPARAM>(*button), 0);
    }
  }

  static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM w, LPARAM l) {
    auto* form = reinterpret_cast<Win32Form*>(GetWindowLongPtrW(dialog, DWLP_USER));
    try {
      switch (message) {
        case WM_INITDIALOG:
          form = reinterpret_cast<Win32Form*>(l);
          SetWindowLongPtrW(dialog, DWLP_USER, l);
          form->Fill(dialog);
          form->MakeDefaultButtonTheDialogs(dialog);
          form->handlers_.Activate(*form);
          return TRUE;
        case WM_COMMAND:
          if (form == nullptr) return FALSE;
          // The dialog manager's own commands, from no control: Escape, and Enter when it finds no
          // default button.
          if (LOWORD(w) == IDCANCEL && l == 0) {
            form->PressCancel();
          } else if (LOWORD(w) == IDOK && l == 0) {
            form->PressDefault();
          } else {
            form->Command(LOWORD(w), HIWORD(w), reinterpret_cast<HWND>(l));
          }
          return TRUE;
        case WM_CLOSE:
          if (form != nullptr) form->CloseByWindow();
          return TRUE;
        default:
          return FALSE;
      }
    } catch (...) {
      // Handlers keep their own error styles; nothing may unwind through the dialog manager.
      return TRUE;
    }
  }

  host::FormSpec spec_;
  host::FormHandlers& handlers_;
  std::vector<std::string> texts_;
  std::vector<Win32List> lists_;
  std::vector<std::wstring> tooltip_texts_;
  HWND dialog_ = nullptr;
  // Set while the form writes into its own controls: a program's change raises no Change.
  bool quiet_ = false;
};

void Win32List::Append(const std::string& text) {
  entries_.push_back(text);
  if (HWND window = form_.ControlWindow(index_)) {
    SendMessageW(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(com::Widen(text).c_str()));
  }
}

}  // namespace

HWND OwnerWindow() {
  HWND active = GetActiveWindow();
  return active != nullptr && IsWindowVisible(active) ? active : nullptr;
}

std::unique_ptr<host::Form> Win32DialogToolkit::CreateForm(const host::FormSpec& spec,
                                                           host::FormHandlers& handlers) {
  auto form = std::make_unique<Win32Form>(spec, handlers);
  handlers.Load(*form);
  return form;
}

}  // namespace lunavant::winaddin
