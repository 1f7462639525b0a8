// SPDX-License-Identifier: MIT
// The dialog toolkit of the desktop program: a form description becomes a QDialog whose client
// area and controls have the described size and place, converted from twips (1/1440 inch) to
// pixels through the screen's logical resolution; the tab order follows the tab indexes, and a
// fixed dialog border gives a window that cannot be resized and has no minimise or maximise
// button. While a form is shown the host counts as busy.
#pragma once

#include <QPointer>
#include <QWidget>
#include <optional>

#include "addin/host/dialogs.h"

namespace lunavant::workbench {
class CommandBars;
}

namespace lunavant::desktop {

// Twips to pixels at `dots_per_inch`, rounded to the nearest pixel.
int twipsToPixels(std::int32_t twips, double dots_per_inch);

class QtDialogToolkit final : public lunavant::host::DialogToolkit {
 public:
  // `bars` (may be null) counts as busy while a form is shown; it must outlive the toolkit.
  explicit QtDialogToolkit(lunavant::workbench::CommandBars* bars = nullptr) : bars_(bars) {}
  void setBusyBars(lunavant::workbench::CommandBars* bars) { bars_ = bars; }

  // Forms are centred on `parent` when it is set.
  void setParent(QWidget* parent) { parent_ = parent; }
  // Converts at this resolution instead of the screen's; empty goes back to the screen's.
  void setDotsPerInch(std::optional<double> dots_per_inch) { dots_per_inch_ = dots_per_inch; }
  // The logical resolution forms are laid out at.
  double dotsPerInch() const;

  std::unique_ptr<lunavant::host::Form> CreateForm(const lunavant::host::FormSpec& spec,
                                                   lunavant::host::FormHandlers& handlers) override;

 private:
  friend class QtForm;
  lunavant::workbench::CommandBars* bars_;
  QPointer<QWidget> parent_;
  std::optional<double> dots_per_inch_;
};

}  // namespace lunavant::desktop
