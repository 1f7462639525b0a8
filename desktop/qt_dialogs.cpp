// SPDX-License-Identifier: MIT
#include "desktop/qt_dialogs.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <optional>

#include "addin/host/error.h"
#include "desktop/host_text.h"
#include "workbench/model/field_catalog.h"
#include "workbench/ui/command_bars.h"
#include "workbench/ui/messages.h"

namespace lunavant::desktop {

namespace host = lunavant::host;
namespace ui_message = lunavant::workbench::ui_message;

namespace {

// Below this a label's text is no longer read with ease; a text that does not fit even so is cut.
constexpr double kSmallestLabelPoints = 6.0;

}  // namespace

int twipsToPixels(std::int32_t twips, double dots_per_inch) {
  return static_cast<int>(std::lround(twips * dots_per_inch / 1440.0));
}

double QtDialogToolkit::dotsPerInch() const {
  if (dots_per_inch_) return *dots_per_inch_;
  const QScreen* screen = parent_ != nullptr ? parent_->screen() : QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->logicalDotsPerInchY() : 96.0;
}

namespace {

// A drop-down list's entries, as the add-in fills and reads them.
class ComboList final : public host::ListControl {
 public:
  ComboList(QComboBox& combo, bool& programmatic) : combo_(combo), programmatic_(programmatic) {}
  void Append(const std::string& text) override {
    // A first entry would become the text of an editable list; the text stays as it was.
    const bool was_programmatic = programmatic_;
    programmatic_ = true;
    const QString kept = combo_.currentText();
    combo_.addItem(fromHost(text));
    combo_.setEditText(kept);
    programmatic_ = was_programmatic;
  }
  std::int32_t Count() const override { return combo_.count(); }
  std::string Entry(std::int32_t index) const override {
    if (index < 0 || index >= combo_.count()) {
      host::Raise(host::kSubscriptOutOfRange, "Subscript out of range");
    }
    return toHost(combo_.itemText(index));
  }

 private:
  QComboBox& combo_;
  bool& programmatic_;
};

// Enter presses a form's default button wherever the focus is, as in the host's dialogs; an
// editable list would otherwise keep the first Enter for itself. With its drop-down open, Enter
// picks the entry, as always.
class EnterPressesDefault final : public QObject {
 public:
  explicit EnterPressesDefault(QComboBox& combo) : QObject(&combo), combo_(combo) {}

  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if ((key != Qt::Key_Return && key != Qt::Key_Enter) || combo_.view()->isVisible()) {
      return false;
    }
    for (QPushButton* button : combo_.window()->findChildren<QPushButton*>()) {
      if (button->isDefault() && button->isVisible() && button->isEnabled()) {
        button->click();
        return true;
      }
    }
    return false;
  }

 private:
  QComboBox& combo_;
};

// The dialog window: a close by the window's button (or Escape) goes to the form's handlers.
class FormDialog final : public QDialog {
 public:
  FormDialog(QWidget* parent, std::function<void()> on_window_close)
      : QDialog(parent), on_window_close_(std::move(on_window_close)) {}
  void reject() override {
    if (on_window_close_) on_window_close_();
    QDialog::reject();
  }

 private:
  std::function<void()> on_window_close_;
};

}  // namespace

class QtForm final : public host::Form {
 public:
  QtForm(QtDialogToolkit& toolkit, const host::FormSpec& spec, host::FormHandlers& handlers)
      : toolkit_(toolkit), spec_(spec), handlers_(handlers) {
    dialog_ = new FormDialog(toolkit.parent_.data(), [this] { handlers_.CloseByWindow(*this); });
    dialog_->setWindowTitle(fromHost(spec.caption));
    const double dpi = toolkit.dotsPerInch();
    const QSize client(twipsToPixels(spec.client_width, dpi),
                       twipsToPixels(spec.client_height, dpi));
    if (spec.border == host::BorderStyle::kFixedDialog) {
      dialog_->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
      dialog_->setFixedSize(client);
    } else {
      dialog_->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowCloseButtonHint);
      dialog_->resize(client);
    }
    for (const host::ControlSpec& control : spec.controls) {
      const std::string key = Key(control.name);
      if (widgets_.count(key) != 0) {
        delete dialog_;
        host::Raise(host::kInvalidProcedureCall, ui_message::DuplicateControl(control.name));
      }
      QWidget* widget = MakeControl(control);
      widget->setObjectName(fromHost(control.name));
      widget->setGeometry(twipsToPixels(control.left, dpi), twipsToPixels(control.top, dpi),
                          twipsToPixels(control.width, dpi), twipsToPixels(control.height, dpi));
      if (!control.tooltip.empty()) widget->setToolTip(fromHost(control.tooltip));
      widgets_[key] = Entry{control.kind, widget};
    }
    for (const auto& [key, entry] : widgets_) {
      if (entry.kind == host::ControlKind::kLabel)
        FitLabel(*static_cast<QLabel*>(entry.widget), client);
    }
    // A right-to-left interface mirrors the add-in's form as the platform mirrors a dialog: its
    // controls keep their sizes, measured from the right edge, so OK and Cancel trade places as
    // the user expects; inside them the add-in's own texts read as they are written.
    if (dialog_->isRightToLeft()) {
      for (const auto& [key, entry] : widgets_) {
        QRect area = entry.widget->geometry();
        area.moveLeft(client.width() - area.left() - area.width());
        entry.widget->setGeometry(area);
        entry.widget->setLayoutDirection(Qt::LeftToRight);
      }
    }
    // Focus moves by tab index; labels take none.
    std::vector<const host::ControlSpec*> order;
    for (const host::ControlSpec& control : spec.controls) {
      if (control.kind != host::ControlKind::kLabel) order.push_back(&control);
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const auto* a, const auto* b) { return a->tab_index < b->tab_index; });
    for (std::size_t i = 1; i < order.size(); ++i) {
      QWidget::setTabOrder(widgets_[Key(order[i - 1]->name)].widget,
                           widgets_[Key(order[i]->name)].widget);
    }
    if (!order.empty()) first_focus_ = widgets_[Key(order.front()->name)].widget;
  }

  ~QtForm() override { delete dialog_.data(); }

  const host::FormSpec& Spec() const override { return spec_; }

  std::string Text(std::string_view control) const override {
    const Entry& entry = Find(control);
    switch (entry.kind) {
      case host::ControlKind::kLabel:
        return toHost(static_cast<QLabel*>(entry.widget)->text());
      case host::ControlKind::kDropDownList:
        return toHost(static_cast<QComboBox*>(entry.widget)->currentText());
      case host::ControlKind::kTextBox:
        return toHost(static_cast<QLineEdit*>(entry.widget)->text());
      case host::ControlKind::kPushButton:
        return toHost(static_cast<QPushButton*>(entry.widget)->text());
    }
    return {};
  }

  void SetText(std::string_view control, const std::string& text) override {
    const Entry& entry = Find(control);
    const bool was_programmatic = programmatic_;
    programmatic_ = true;
    switch (entry.kind) {
      case host::ControlKind::kLabel:
        static_cast<QLabel*>(entry.widget)->setText(fromHost(text));
        break;
      case host::ControlKind::kDropDownList:
        static_cast<QComboBox*>(entry.widget)->setEditText(fromHost(text));
        break;
      case host::ControlKind::kTextBox:
        static_cast<QLineEdit*>(entry.widget)->setText(fromHost(text));
        break;
      case host::ControlKind::kPushButton:
        static_cast<QPushButton*>(entry.widget)->setText(fromHost(text));
        break;
    }
    programmatic_ = was_programmatic;
  }

  host::ListControl& List(std::string_view control) override {
    const Entry& entry = Find(control);
    if (entry.kind != host::ControlKind::kDropDownList) {
      host::Raise(host::kTypeMismatch, std::string(ui_message::kNotADropDownList));
    }
    auto& list = lists_[Key(control)];
    if (!list)
      list = std::make_unique<ComboList>(*static_cast<QComboBox*>(entry.widget), programmatic_);
    return *list;
  }

  void ShowModal() override {
    if (shown_) {
      host::Raise(host::kInvalidProcedureCall, std::string(ui_message::kFormAlreadyShown));
    }
    shown_ = true;
    std::optional<lunavant::workbench::CommandBars::BusyScope> busy;
    if (toolkit_.bars_ != nullptr) busy.emplace(*toolkit_.bars_);
    handlers_.Activate(*this);
    if (first_focus_ != nullptr) first_focus_->setFocus();
    // The add-in may ask for a form while its busy pointer shows; the form must take the mouse.
    const bool pointer_busy = QApplication::overrideCursor() != nullptr;
    if (pointer_busy) QApplication::setOverrideCursor(Qt::ArrowCursor);
    if (!hide_requested_) dialog_->exec();
    if (pointer_busy) QApplication::restoreOverrideCursor();
    hide_requested_ = false;
    shown_ = false;
  }

  void Hide() override {
    if (!shown_) return;
    if (dialog_->isVisible()) {
      dialog_->done(QDialog::Accepted);
    } else {
      hide_requested_ = true;
    }
  }

  bool IsShown() const override { return shown_; }

  QDialog* dialog() const { return dialog_; }

 private:
  struct Entry {
    host::ControlKind kind;
    QWidget* widget;
  };

  static std::string Key(std::string_view name) {
    std::string key(name);
    for (char& c : key) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return key;
  }

  const Entry& Find(std::string_view control) const {
    auto found = widgets_.find(Key(control));
    if (found == widgets_.end()) {
      host::Raise(host::kInvalidProcedureCall, ui_message::NoSuchControl(control));
    }
    return found->second;
  }

  // A label's text wraps inside the client area instead of being cut: a label specified wider
  // than the room to the right edge (the Add form's first one is) keeps the margin of its left
  // side there too, and a text that then needs more lines than the label has grows the label down
  // to the control below it, or failing that takes a smaller font.
  void FitLabel(QLabel& label, const QSize& client) {
    QRect area = label.geometry();
    area.setWidth(std::min(area.width(), std::max(1, client.width() - 2 * area.left())));
    int bottom = client.height();
    for (const auto& [key, entry] : widgets_) {
      const QRect other = entry.widget->geometry();
      if (entry.widget != &label && other.top() > area.top() && other.left() <= area.right() &&
          other.right() >= area.left()) {
        bottom = std::min(bottom, other.top());
      }
    }
    const int needed = label.heightForWidth(area.width());
    if (needed > area.height())
      area.setHeight(std::max(area.height(), std::min(needed, bottom - area.top())));
    label.setGeometry(area);
    QFont font = label.font();
    while (label.heightForWidth(area.width()) > area.height() &&
           font.pointSizeF() > kSmallestLabelPoints) {
      font.setPointSizeF(std::max(kSmallestLabelPoints, font.pointSizeF() - 0.5));
      label.setFont(font);
    }
  }

  QWidget* MakeControl(const host::ControlSpec& control) {
    const QString text = fromHost(control.text);
    const std::string name = control.name;
    switch (control.kind) {
      case host::ControlKind::kLabel: {
        auto* label = new QLabel(text, dialog_);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
      }
      case host::ControlKind::kDropDownList: {
        auto* combo = new QComboBox(dialog_);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setEditText(text);
        auto* enter = new EnterPressesDefault(*combo);
        combo->installEventFilter(enter);
        combo->lineEdit()->installEventFilter(enter);
        QObject::connect(combo, &QComboBox::currentTextChanged, dialog_, [this, name] {
          if (!programmatic_) handlers_.Change(*this, name);
        });
        return combo;
      }
      case host::ControlKind::kTextBox: {
        auto* edit = new QLineEdit(text, dialog_);
        QObject::connect(edit, &QLineEdit::textChanged, dialog_, [this, name] {
          if (!programmatic_) handlers_.Change(*this, name);
        });
        return edit;
      }
      case host::ControlKind::kPushButton: {
        auto* button = new QPushButton(text, dialog_);
        button->setAutoDefault(false);
        // Forms name no default button; Enter presses OK, as in every dialog of the host.
        button->setDefault(QString(text).remove(QLatin1Char('&')) == QLatin1String("OK"));
        QObject::connect(button, &QPushButton::clicked, dialog_,
                         [this, name] { handlers_.Click(*this, name); });
        return button;
      }
    }
    return new QWidget(dialog_);
  }

  QtDialogToolkit& toolkit_;
  host::FormSpec spec_;
  host::FormHandlers& handlers_;
  QPointer<QDialog> dialog_;
  std::map<std::string, Entry> widgets_;
  std::map<std::string, std::unique_ptr<ComboList>> lists_;
  QWidget* first_focus_ = nullptr;
  bool programmatic_ = false;
  bool shown_ = false;
  bool hide_requested_ = false;
};

std::unique_ptr<host::Form> QtDialogToolkit::CreateForm(const host::FormSpec& spec,
                                                        host::FormHandlers& handlers) {
  auto form = std::make_unique<QtForm>(*this, spec, handlers);
  handlers.Load(*form);
  return form;
}

}  // namespace lunavant::desktop
