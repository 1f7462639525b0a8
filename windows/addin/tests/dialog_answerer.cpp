// SPDX-License-Identifier: MIT
// dialog-answerer: plays the user in front of the add-in's dialogs during a test. It runs beside
// the host and works through its steps in order, each on the first visible top-level window whose
// title is the step's title (waiting for it to appear), as a person would: typing into the
// window's drop-down lists and text boxes and pressing its buttons, all with window messages.
//   dialog-answerer [--timeout SECONDS] STEP...
// A step is TITLE followed by any of:  combo:N=TEXT  edit:N=TEXT  expect:TEXT  click:CAPTION
// key:NAME  focus:N  close  and ends at "--"; close presses the window's close box; key: presses
// Enter, Escape, Down, Up or Tab on the control that has the keyboard focus, as the keyboard
// delivers it (through the dialog's message loop); focus:N gives it to the Nth drop-down list. N
// counts the window's drop-down lists (or text boxes) in tab order from 1; CAPTION is a button's
// text without its "&"; expect: requires a static text of the window that holds TEXT. Exit code: 0
// when every step was done, 1 on a timeout or a missing control (named on stderr).
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Found {
  std::wstring class_name;
  std::vector<HWND> windows;
};

std::wstring TextOf(HWND window) {
  wchar_t text[1024] = {};
  SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 5000,
                      nullptr);
  return text;
}

std::wstring WithoutAmpersands(std::wstring text) {
  std::erase(text, L'&');
  return text;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM found) {
  auto& into = *reinterpret_cast<Found*>(found);
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  // Only the window's own controls, not the typing field inside a drop-down list.
  if (_wcsicmp(name, into.class_name.c_str()) == 0 && GetParent(window) != nullptr &&
      GetAncestor(window, GA_PARENT) == GetAncestor(window, GA_ROOT)) {
    into.windows.push_back(window);
  }
  return TRUE;
}

std::vector<HWND> Children(HWND dialog, const wchar_t* class_name) {
  Found found{class_name, {}};
  EnumChildWindows(dialog, &CollectChild, reinterpret_cast<LPARAM>(&found));
  return found.windows;
}

HWND WaitForWindow(const std::wstring& title, DWORD deadline) {
  for (;;) {
    HWND window = FindWindowW(nullptr, title.c_str());
    if (window != nullptr && IsWindowVisible(window)) return window;
    if (GetTickCount() > deadline) return nullptr;
    Sleep(100);
  }
}

UINT VirtualKeyNamed(const std::wstring& name) {
  if (name == L"Enter") return VK_RETURN;
  if (name == L"Escape") return VK_ESCAPE;
  if (name == L"Down") return VK_DOWN;
  if (name == L"Up") return VK_UP;
  if (name == L"Tab") return VK_TAB;
  return 0;
}

// The window of the dialog's thread that has the keyboard focus; the dialog itself when none.
HWND FocusOf(HWND dialog) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) &&
      info.hwndFocus != nullptr) {
    return info.hwndFocus;
  }
  return dialog;
}

int Fail(const std::wstring& what) {
  std::fwprintf(stderr, L"dialog-answerer: %ls\n", what.c_str());
  return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  DWORD seconds = 60;
  int at = 1;
  if (argc > 2 && std::wstring(argv[1]) == L"--timeout") {
    seconds = static_cast<DWORD>(_wtoi(argv[2]));
    at = 3;
  }
  const DWORD deadline = GetTickCount() + seconds * 1000;
  while (at < argc) {
    const std::wstring title = argv[at++];
    HWND dialog = WaitForWindow(title, deadline);
    if (dialog == nullptr) return Fail(L"no window \"" + title + L"\" appeared");
    // The window's own initialisation runs before it is first shown; give it that moment.
    Sleep(300);
    for (; at < argc && std::wstring(argv[at]) != L"--"; ++at) {
      const std::wstring step = argv[at];
      const std::size_t colon = step.find(L':');
      const std::wstring kind = step.substr(0, colon);
      const std::wstring rest = colon == std::wstring::npos ? L"" : step.substr(colon + 1);
      if (kind == L"combo" || kind == L"edit") {
        const std::size_t equals = rest.find(L'=');
        const int index = _wtoi(rest.substr(0, equals).c_str());
        const std::wstring text = equals == std::wstring::npos ? L"" : rest.substr(equals + 1);
        const auto controls = Children(dialog, kind == L"combo" ? L"ComboBox" : L"Edit");
        if (index < 1 || static_cast<std::size_t>(index) > controls.size()) {
          return Fail(title + L": no " + kind + L" " + std::to_wstring(index));
        }
        SendMessageW(controls[static_cast<std::size_t>(index - 1)], WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(text.c_str()));
      } else if (kind == L"expect") {
        bool seen = false;
        for (HWND label : Children(dialog, L"Static")) {
          seen = seen || TextOf(label).find(rest) != std::wstring::npos;
        }
        if (!seen) return Fail(title + L": no text \"" + rest + L"\"");
      } else if (kind == L"click") {
        HWND pressed = nullptr;
        for (HWND button : Children(dialog, L"Button")) {
          if (WithoutAmpersands(TextOf(button)) == rest) pressed = button;
        }
        if (pressed == nullptr) return Fail(title + L": no button \"" + rest + L"\"");
        // Posted, as a mouse click is: the dialog's answer may open the next window.
        PostMessageW(pressed, BM_CLICK, 0, 0);
        Sleep(300);
      } else if (kind == L"key") {
        const UINT key = VirtualKeyNamed(rest);
        if (key == 0) return Fail(L"unknown key \"" + rest + L"\"");
        HWND target = FocusOf(dialog);
        const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
        PostMessageW(target, WM_KEYDOWN, key, 1 | (static_cast<LPARAM>(scan) << 16));
        PostMessageW(target, WM_KEYUP, key,
                     1 | (static_cast<LPARAM>(scan) << 16) | (LPARAM{3} << 30));
        Sleep(300);
      } else if (kind == L"focus") {
        const auto lists = Children(dialog, L"ComboBox");
        const int index = _wtoi(rest.c_str());
        if (index < 1 || static_cast<std::size_t>(index) > lists.size()) {
          return Fail(title + L": no combo " + rest);
        }
        // The dialog moves the focus itself, as a click into the list's text would.
        PostMessageW(dialog, WM_NEXTDLGCTL,
                     reinterpret_cast<WPARAM>(lists[static_cast<std::size_t>(index - 1)]), TRUE);
        Sleep(300);
      } else if (kind == L"close") {
        PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        Sleep(300);
      } else {
        return Fail(L"unknown step \"" + step + L"\"");
      }
    }
    if (at < argc) ++at;  // the "--"
  }
  return 0;
}
