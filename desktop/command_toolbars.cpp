// SPDX-License-Identifier: MIT
#include "desktop/command_toolbars.h"

#include <QAction>
#include <QImage>
#include <QMainWindow>
#include <QPixmap>
#include <QToolBar>

#include "desktop/host_names.h"
#include "desktop/host_text.h"
#include "workbench/platform/picture_loader.h"
#include "workbench/ui/command_bars.h"

namespace lunavant::desktop {

namespace wb = lunavant::workbench;

namespace {

QIcon IconOf(const std::shared_ptr<const lunavant::host::Picture>& picture) {
  const auto* bitmap = dynamic_cast<const wb::BitmapPicture*>(picture.get());
  if (bitmap == nullptr) return {};
  QImage image(bitmap->Width(), bitmap->Height(), QImage::Format_RGB32);
  for (std::int32_t y = 0; y < bitmap->Height(); ++y) {
    for (std::int32_t x = 0; x < bitmap->Width(); ++x) {
      image.setPixel(x, y, 0xFF000000u | bitmap->Pixel(x, y));
    }
  }
  return QIcon(QPixmap::fromImage(image));
}

}  // namespace

CommandToolbars::CommandToolbars(QMainWindow& window, wb::CommandBars& bars)
    : QObject(&window), window_(window), bars_(bars) {
  sync();
}

QToolBar* CommandToolbars::toolbar(const QString& name) const {
  for (const auto& [bar, shown] : shown_) {
    if (!bar->IsDeleted() && fromHost(bar->Name()) == name) return shown.toolbar;
  }
  return nullptr;
}

QAction* CommandToolbars::buttonAction(const QString& bar_name, const QString& tag) const {
  for (const auto& [bar, shown] : shown_) {
    if (bar->IsDeleted() || fromHost(bar->Name()) != bar_name) continue;
    for (std::size_t i = 0; i < shown.buttons.size(); ++i) {
      if (!shown.buttons[i]->IsDeleted() && fromHost(shown.buttons[i]->Tag()) == tag) {
        return shown.actions[i];
      }
    }
  }
  return nullptr;
}

void CommandToolbars::sync() {
  if (syncing_) return;
  syncing_ = true;
  const std::vector<wb::CommandBar*> live = bars_.Bars();
  // Bars the host no longer has lose their toolbars.
  for (auto it = shown_.begin(); it != shown_.end();) {
    if (std::find(live.begin(), live.end(), it->first) == live.end()) {
      delete it->second.toolbar.data();
      it = shown_.erase(it);
    } else {
      ++it;
    }
  }
  for (wb::CommandBar* bar : live) {
    Shown& shown = shown_[bar];
    if (shown.toolbar == nullptr) {
      auto* toolbar = new QToolBar(
          bar->BuiltIn() ? shownHostName(bar->Name()) : fromHost(bar->Name()), &window_);
      toolbar->setObjectName(fromHost(bar->Name()));
      toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
      window_.addToolBar(Qt::TopToolBarArea, toolbar);
      // Hiding a toolbar from its context menu hides the host's bar.
      connect(toolbar->toggleViewAction(), &QAction::toggled, this, [this, bar](bool on) {
        if (!syncing_ && !bar->IsDeleted()) bar->SetVisible(on);
      });
      // The host's Database bar (sorting, filtering) has no commands in this program: it is kept
      // for the add-ins that count its controls, and not offered to the user.
      if (bar->BuiltIn() && bar->Name() == "Database")
        toolbar->toggleViewAction()->setVisible(false);
      shown.toolbar = toolbar;
    }
    // The host's own bars are named in the user's language, which may have changed.
    if (bar->BuiltIn()) shown.toolbar->setWindowTitle(shownHostName(bar->Name()));
    if (bar->Buttons() != shown.buttons) rebuildButtons(*bar, shown);
    for (std::size_t i = 0; i < shown.buttons.size(); ++i) {
      wb::CommandBarButton& button = *shown.buttons[i];
      QAction* action = shown.actions[i];
      // The host's own buttons speak the user's language; an add-in's speak its own.
      if (bar->BuiltIn()) {
        action->setText(shownHostName(button.Caption()));
        action->setToolTip(shownHostName(button.TooltipText()));
      } else {
        action->setText(fromHost(button.Caption()));
        action->setToolTip(fromHost(button.TooltipText()));
      }
      action->setVisible(button.Visible());
      action->setEnabled(button.Enabled());
      action->setIcon(IconOf(button.GetPicture()));
    }
    shown.toolbar->setVisible(bar->Visible());
  }
  syncing_ = false;
}

void CommandToolbars::rebuildButtons(wb::CommandBar& bar, Shown& shown) {
  shown.toolbar->clear();
  shown.buttons = bar.Buttons();
  shown.actions.clear();
  const QString bar_name = fromHost(bar.Name());
  for (wb::CommandBarButton* button : shown.buttons) {
    QAction* action = shown.toolbar->addAction(fromHost(button->Caption()));
    action->setObjectName(fromHost(button->Tag()));
    connect(action, &QAction::triggered, this, [this, button, bar_name] {
      const QString caption = fromHost(button->Caption());
      auto click = [button] { return button->Click(); };
      if (run_click_ ? run_click_(bar_name, caption, click) : click()) {
        emit buttonClicked(bar_name, caption);
      }
      sync();
    });
    shown.actions.push_back(action);
  }
}

}  // namespace lunavant::desktop
