// SPDX-License-Identifier: MIT
#include "desktop/display_choices.h"

#include <QActionGroup>
#include <QMenu>
#include <QTabWidget>

#include "desktop/display_text.h"
#include "desktop/interface_language.h"
#include "desktop/main_window.h"
#include "desktop/project_view.h"

namespace lunavant::desktop {

namespace {

QAction* addChoice(QMenu& menu, QActionGroup& group, const char* name, const QString& text,
                   int value) {
  QAction* action = menu.addAction(text);
  action->setObjectName(QLatin1String(name));
  action->setCheckable(true);
  action->setData(value);
  group.addAction(action);
  return action;
}

void check(QActionGroup& group, int value) {
  for (QAction* action : group.actions()) action->setChecked(action->data().toInt() == value);
}

}  // namespace

DisplayChoices::DisplayChoices(MainWindow& window, QMenu& view)
    : QObject(&view),
      window_(window),
      languages_(new QActionGroup(this)),
      digits_(new QActionGroup(this)),
      time_axis_(new QActionGroup(this)) {
  QMenu* language_menu = view.addMenu(tr("&Language"));
  language_menu->setObjectName(QStringLiteral("viewLanguage"));
  addChoice(*language_menu, *languages_, "viewLanguageSystem", tr("The &System's Language"),
            static_cast<int>(InterfaceLanguage::kSystem));
  // Each language is named in itself, so that a user who cannot read the interface finds theirs.
  addChoice(*language_menu, *languages_, "viewLanguageArabic", QStringLiteral("العربية"),
            static_cast<int>(InterfaceLanguage::kArabic));
  addChoice(*language_menu, *languages_, "viewLanguageEnglish", QStringLiteral("English"),
            static_cast<int>(InterfaceLanguage::kEnglish));
  connect(languages_, &QActionGroup::triggered, this, [this](QAction* chosen) {
    const auto language = static_cast<InterfaceLanguage>(chosen->data().toInt());
    if (language == chosenInterfaceLanguage()) return;
    setChosenInterfaceLanguage(language);
    // Every window hears of the change and speaks the new language at once; these menus are
    // made again.
    applyInterfaceLanguage();
  });

  QMenu* digits = view.addMenu(tr("&Digits"));
  digits->setObjectName(QStringLiteral("viewDigits"));
  addChoice(*digits, *digits_, "viewDigitsArabicIndic", tr("&Arabic-Indic Digits (١٢٣)"),
            static_cast<int>(DisplayDigits::kArabicIndic));
  addChoice(*digits, *digits_, "viewDigitsLatin", tr("&Latin Digits (123)"),
            static_cast<int>(DisplayDigits::kLatin));
  connect(digits_, &QActionGroup::triggered, this, [this](QAction* chosen) {
    setChosenDisplayDigits(static_cast<DisplayDigits>(chosen->data().toInt()));
    applyToViews();
  });

  QMenu* time_axis = view.addMenu(tr("Time &Axis"));
  time_axis->setObjectName(QStringLiteral("viewTimeAxis"));
  addChoice(*time_axis, *time_axis_, "viewTimeAsLayout", tr("&As the Language Reads"), 0);
  addChoice(*time_axis, *time_axis_, "viewTimeLeftToRight", tr("Always &Left to Right"), 1);
  connect(time_axis_, &QActionGroup::triggered, this, [this](QAction* chosen) {
    setLeftToRightTimeChosen(chosen->data().toInt() == 1);
    applyToViews();
  });
  connect(&view, &QMenu::aboutToShow, this, &DisplayChoices::showChoices);
  showChoices();
}

void DisplayChoices::showChoices() {
  check(*languages_, static_cast<int>(chosenInterfaceLanguage()));
  check(*digits_, static_cast<int>(chosenDisplayDigits()));
  check(*time_axis_, leftToRightTimeChosen() ? 1 : 0);
}

void DisplayChoices::applyToViews() {
  QTabWidget& tabs = window_.tabs();
  for (int i = 0; i < tabs.count(); ++i) {
    if (auto* view = qobject_cast<ProjectView*>(tabs.widget(i))) {
      view->chart().updateTimeDirection();
      view->refresh();
    }
  }
  showChoices();
}

}  // namespace lunavant::desktop
