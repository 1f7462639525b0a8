// SPDX-License-Identifier: MIT
#include "desktop/interface_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QSettings>
#include <QTranslator>
#include <memory>

#include "desktop/display_text.h"

// Outside any namespace, as the resource's initialiser is declared.
static void initTranslationResources() { Q_INIT_RESOURCE(desktop_translations); }

namespace lunavant::desktop {

namespace {

const char* const kLanguageKey = "interface/language";

// Read by lupdate into every catalogue: Qt lays out the application right to left when the
// installed catalogue translates this text as "RTL".
[[maybe_unused]] const char* const kLayoutDirection =
    QT_TRANSLATE_NOOP("QGuiApplication", "QT_LAYOUT_DIRECTION");

// The translators in force; the application holds them only by address.
std::unique_ptr<QTranslator> g_desktop_translator;
std::unique_ptr<QTranslator> g_qt_translator;
bool g_arabic = false;

void removeTranslator(std::unique_ptr<QTranslator>& translator) {
  if (translator) QCoreApplication::removeTranslator(translator.get());
  translator.reset();
}

// A translator of `name` for `locale` from `folder`; null when there is none.
std::unique_ptr<QTranslator> loadedTranslator(const QLocale& locale, const QString& name,
                                              const QString& folder) {
  auto translator = std::make_unique<QTranslator>();
  if (!translator->load(locale, name, QStringLiteral("_"), folder)) return nullptr;
  return translator;
}

}  // namespace

InterfaceLanguage chosenInterfaceLanguage() {
  const QString saved = QSettings().value(kLanguageKey).toString();
  if (saved == QLatin1String("ar")) return InterfaceLanguage::kArabic;
  if (saved == QLatin1String("en")) return InterfaceLanguage::kEnglish;
  return InterfaceLanguage::kSystem;
}

void setChosenInterfaceLanguage(InterfaceLanguage language) {
  QSettings settings;
  switch (language) {
    case InterfaceLanguage::kArabic:
      settings.setValue(kLanguageKey, QStringLiteral("ar"));
      break;
    case InterfaceLanguage::kEnglish:
      settings.setValue(kLanguageKey, QStringLiteral("en"));
      break;
    case InterfaceLanguage::kSystem:
      settings.remove(kLanguageKey);
      break;
  }
}

QLocale interfaceLocale(InterfaceLanguage language, const QLocale& system) {
  switch (language) {
    case InterfaceLanguage::kArabic:
      // The system's own Arabic country when it has one (its weekend, its formats), else Saudi
      // Arabia's, whose calendar is Umm al-Qura.
      return system.language() == QLocale::Arabic ? system
                                                  : QLocale(QLocale::Arabic, QLocale::SaudiArabia);
    case InterfaceLanguage::kEnglish:
      return system.language() == QLocale::English
                 ? system
                 : QLocale(QLocale::English, QLocale::UnitedStates);
    case InterfaceLanguage::kSystem:
      break;
  }
  return system;
}

void installInterfaceLanguage(const QLocale& locale) {
  initTranslationResources();
  removeTranslator(g_desktop_translator);
  removeTranslator(g_qt_translator);
  g_desktop_translator =
      loadedTranslator(locale, QStringLiteral("lunavant"), QStringLiteral(":/translations"));
  g_arabic = g_desktop_translator != nullptr && locale.language() == QLocale::Arabic;
  // Qt's own dialogs only in a language the desktop speaks, so that a window never mixes two.
  if (g_desktop_translator) {
    g_qt_translator = loadedTranslator(locale, QStringLiteral("qtbase"),
                                       QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (g_qt_translator) QCoreApplication::installTranslator(g_qt_translator.get());
    QCoreApplication::installTranslator(g_desktop_translator.get());
  }
  reloadDisplayChoices();
  // A language without a catalogue is shown in English, names of days and months too, so that
  // no window mixes two languages.
  QLocale::setDefault(g_desktop_translator || locale.language() == QLocale::English
                          ? locale
                          : QLocale(QLocale::English, locale.territory()));
}

void applyInterfaceLanguage() {
  installInterfaceLanguage(interfaceLocale(chosenInterfaceLanguage()));
}

InterfaceLanguage currentInterfaceLanguage() {
  return g_arabic ? InterfaceLanguage::kArabic : InterfaceLanguage::kEnglish;
}

}  // namespace lunavant::desktop
