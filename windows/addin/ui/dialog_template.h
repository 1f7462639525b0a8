// SPDX-License-Identifier: MIT
// A dialog template built in memory (DLGTEMPLATE and its DLGITEMTEMPLATEs), from a form's
// description in twips: positions and sizes become dialog units of the template's font, so the
// dialog shows at the size the form asks for on any screen.
//
//   DialogTemplate layout = BuildDialogTemplate(spec, kFirstControlId);
//   DialogBoxIndirectParamW(instance, layout.get(), owner, procedure, parameter);
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "addin/host/dialogs.h"

namespace lunavant::winaddin {

// The font of every dialog: what Windows' own dialogs use.
inline constexpr wchar_t kDialogFont[] = L"MS Shell Dlg";
inline constexpr WORD kDialogFontPoints = 8;

// Twips as pixels of the screen (LOGPIXELSX/Y).
struct ScreenScale {
  int pixels_per_inch_x = 96;
  int pixels_per_inch_y = 96;
  int PixelsX(std::int32_t twips) const { return MulDiv(twips, pixels_per_inch_x, 1440); }
  int PixelsY(std::int32_t twips) const { return MulDiv(twips, pixels_per_inch_y, 1440); }
};
ScreenScale CurrentScreenScale();

// The font's dialog base units in pixels: a dialog unit is a quarter of `x` across and an eighth
// of `y` down.
struct DialogBaseUnits {
  int x = 6;
  int y = 13;
};
DialogBaseUnits BaseUnitsOfDialogFont();

class DialogTemplate {
 public:
  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }
  std::vector<WORD>& words() { return words_; }

 private:
  std::vector<WORD> words_;  // DWORD-aligned where items start, as the dialog manager needs
};

// The push buttons Enter and Escape press: the one captioned "OK" and the one captioned "Cancel",
// as in every dialog of the host; none when the form has no such button.
std::optional<std::size_t> DefaultButton(const host::FormSpec& spec);
std::optional<std::size_t> CancelButton(const host::FormSpec& spec);

// The order controls are laid out in, top to bottom, and tabbed through: by tab index, the labels
// last, beneath the controls they may overlap.
std::vector<std::size_t> TabOrder(const host::FormSpec& spec);

// The template of `spec`: the caption, the client area, and each control with the identifier
// `first_id` + its position in spec.controls, in tab order. A label wider than the client area
// ends at its edge, so its text wraps instead of being cut. The default button is drawn as one.
DialogTemplate BuildDialogTemplate(const host::FormSpec& spec, WORD first_id,
                                   const ScreenScale& scale, const DialogBaseUnits& units);

}  // namespace lunavant::winaddin
