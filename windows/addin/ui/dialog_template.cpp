// SPDX-License-Identifier: MIT
#include "ui/dialog_template.h"

#include <algorithm>
#include <numeric>
#include <string>

#include "text.h"

namespace lunavant::winaddin {
namespace {

// Predefined window classes, as a template names them by ordinal.
constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;
constexpr WORD kComboBoxClass = 0x0085;
// How far an editable list drops down, in dialog units.
constexpr int kDropDownDepth = 96;

void Align(std::vector<WORD>& words) {
  if (words.size() % 2 != 0) words.push_back(0);
}

void AddDword(std::vector<WORD>& words, DWORD value) {
  words.push_back(LOWORD(value));
  words.push_back(HIWORD(value));
}

void AddText(std::vector<WORD>& words, std::wstring_view text) {
  for (wchar_t c : text) words.push_back(static_cast<WORD>(c));
  words.push_back(0);
}

short Units(int pixels, int base, int per_base) {
  return static_cast<short>(MulDiv(pixels, per_base, base));
}

struct ControlStyle {
  WORD window_class;
  DWORD style;
  DWORD extended;
};

ControlStyle StyleOf(host::ControlKind kind) {
  // Each control is drawn only where no control above it lies.
  constexpr DWORD kChild = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  switch (kind) {
    case host::ControlKind::kLabel:
      // Left-aligned static text wraps at word breaks instead of being cut off.
      return {kStaticClass, kChild | SS_LEFT | SS_NOPREFIX, 0};
    case host::ControlKind::kDropDownList:
      return {kComboBoxClass, kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0};
    case host::ControlKind::kTextBox:
      return {kEditClass, kChild | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case host::ControlKind::kPushButton:
      return {kButtonClass, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0};
  }
  return {kStaticClass, kChild, 0};
}

std::optional<std::size_t> ButtonCaptioned(const host::FormSpec& spec, std::wstring_view caption) {
  for (std::size_t i = 0; i < spec.controls.size(); ++i) {
    const host::ControlSpec& control = spec.controls[i];
    std::wstring text = com::Widen(control.text);
    std::erase(text, L'&');
    if (control.kind == host::ControlKind::kPushButton && com::EqualNoCase(text, caption)) return i;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::size_t> DefaultButton(const host::FormSpec& spec) {
  return ButtonCaptioned(spec, L"OK");
}

std::optional<std::size_t> CancelButton(const host::FormSpec& spec) {
  return ButtonCaptioned(spec, L"Cancel");
}

ScreenScale CurrentScreenScale() {
  ScreenScale scale;
  if (HDC screen = GetDC(nullptr)) {
    scale.pixels_per_inch_x = GetDeviceCaps(screen, LOGPIXELSX);
    scale.pixels_per_inch_y = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
  }
  if (scale.pixels_per_inch_x <= 0) scale.pixels_per_inch_x = 96;
  if (scale.pixels_per_inch_y <= 0) scale.pixels_per_inch_y = 96;
  return scale;
}

DialogBaseUnits BaseUnitsOfDialogFont() {
  DialogBaseUnits units;
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return units;
  LOGFONTW description{};
  description.lfHeight = -MulDiv(kDialogFontPoints, GetDeviceCaps(screen, LOGPIXELSY), 72);
  description.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(description.lfFaceName, kDialogFont, LF_FACESIZE);
  if (HFONT font = CreateFontIndirectW(&description)) {
    HGDIOBJ previous = SelectObject(screen, font);
    TEXTMETRICW metrics{};
    SIZE size{};
    constexpr wchar_t kLetters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    if (GetTextMetricsW(screen, &metrics) && GetTextExtentPoint32W(screen, kLetters, 52, &size)) {
      // The dialog manager's own measure: the mean width of the letters, rounded.
      units.x = (size.cx / 26 + 1) / 2;
      units.y = metrics.tmHeight;
    }
    SelectObject(screen, previous);
    DeleteObject(font);
  }
  ReleaseDC(nullptr, screen);
  if (units.x <= 0) units.x = 6;
  if (units.y <= 0) units.y = 13;
  return units;
}

std::vector<std::size_t> TabOrder(const host::FormSpec& spec) {
  std::vector<std::size_t> order(spec.controls.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  // Labels take no focus and lie beneath the controls they overlap, as a form's labels do: they
  // come last, below every other control.
  const auto is_label = [&](std::size_t i) {
    return spec.controls[i].kind == host::ControlKind::kLabel;
  };
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    if (is_label(a) != is_label(b)) return !is_label(a);
    return spec.controls[a].tab_index < spec.controls[b].tab_index;
  });
  return order;
}

DialogTemplate BuildDialogTemplate(const host::FormSpec& spec, WORD first_id,
                                   const ScreenScale& scale, const DialogBaseUnits& units) {
  DialogTemplate layout;
  std::vector<WORD>& words = layout.words();
  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT | DS_MODALFRAME | DS_CENTER;
  if (spec.border == host::BorderStyle::kSizable) style |= WS_THICKFRAME;
  const auto x = [&](std::int32_t twips) { return Units(scale.PixelsX(twips), units.x, 4); };
  const auto y = [&](std::int32_t twips) { return Units(scale.PixelsY(twips), units.y, 8); };

  AddDword(words, style);
  AddDword(words, WS_EX_DLGMODALFRAME);
  words.push_back(static_cast<WORD>(spec.controls.size()));
  words.push_back(0);  // x, y: centred (DS_CENTER)
  words.push_back(0);
  words.push_back(static_cast<WORD>(x(spec.client_width)));
  words.push_back(static_cast<WORD>(y(spec.client_height)));
  words.push_back(0);  // no menu
  words.push_back(0);  // the dialog class
  AddText(words, com::Widen(spec.caption));
  words.push_back(kDialogFontPoints);
  AddText(words, kDialogFont);

  const std::optional<std::size_t> default_button = DefaultButton(spec);
  for (const std::size_t index : TabOrder(spec)) {
    const host::ControlSpec& control = spec.controls[index];
    ControlStyle kind = StyleOf(control.kind);
    if (index == default_button) kind.style = (kind.style & ~BS_PUSHBUTTON) | BS_DEFPUSHBUTTON;
    Align(words);
    AddDword(words, kind.style);
    AddDword(words, kind.extended);
    words.push_back(static_cast<WORD>(x(control.left)));
    words.push_back(static_cast<WORD>(y(control.top)));
    // A label reaching past the client area would be cut at the window's edge: it ends there,
    // and its text wraps within what shows.
    std::int32_t width = control.width;
    if (control.kind == host::ControlKind::kLabel && control.left + width > spec.client_width) {
      width = std::max(spec.client_width - control.left, std::int32_t{0});
    }
    words.push_back(static_cast<WORD>(x(width)));
    const short height = y(control.height);
    words.push_back(static_cast<WORD>(
        control.kind == host::ControlKind::kDropDownList ? height + kDropDownDepth : height));
    words.push_back(static_cast<WORD>(first_id + index));
    words.push_back(0xFFFF);
    words.push_back(kind.window_class);
    AddText(words, com::Widen(control.text));
    words.push_back(0);  // no creation data
  }
  return layout;
}

}  // namespace lunavant::winaddin
