// SPDX-License-Identifier: MIT
// The language the desktop speaks: the user's choice (Arabic, English, or the system's), kept in
// the user's settings, and the catalogues that carry it out: the desktop's own and Qt's (file and
// print dialogs, standard buttons). An Arabic interface is laid out right to left, since its
// catalogue says so. The add-in's captions and messages are its own texts and are not translated.
//
//   QApplication qt(argc, argv);
//   applyInterfaceLanguage();  // before the first window is made
#pragma once

#include <QLocale>

namespace lunavant::desktop {

enum class InterfaceLanguage { kSystem, kArabic, kEnglish };

// The user's choice; kSystem when none is saved (or an unknown one is).
InterfaceLanguage chosenInterfaceLanguage();
void setChosenInterfaceLanguage(InterfaceLanguage language);

// The locale the interface uses for `language` when the system's locale is `system`.
QLocale interfaceLocale(InterfaceLanguage language, const QLocale& system = QLocale::system());

// Installs the catalogues for `locale` in the application, replacing any installed before, and
// makes `locale` the default for the display (names of days and months, digits). A language with
// no catalogue of the desktop's shows English. Windows made before keep their texts until they are
// made again.
void installInterfaceLanguage(const QLocale& locale);

// installInterfaceLanguage() for the user's choice.
void applyInterfaceLanguage();

// The language the interface speaks now.
InterfaceLanguage currentInterfaceLanguage();

}  // namespace lunavant::desktop
