// SPDX-License-Identifier: MIT
// What a timescale cell can show in the room it has: its whole label ("Ramadan 1446", "1446 AH",
// "16 Ram"), else the label's first word ("Ramadan", "1446", "16"), else the first three letters
// of a word of Latin letters ("Ram"), else nothing. Screen and paper label their cells alike.
#pragma once

#include <QFontMetricsF>
#include <QString>

namespace lunavant::desktop {

inline QString FittingLabel(const QString& label, double room, const QFontMetricsF& metrics) {
  const auto fits = [&](const QString& text) {
    return metrics.horizontalAdvance(text) + 4 <= room;
  };
  if (fits(label)) return label;
  const QString first = label.section(QLatin1Char(' '), 0, 0);
  if (first != label && fits(first)) return first;
  // Three letters abbreviate a Latin month name ("Ram"); an Arabic one cut short is no word.
  if (first.size() > 3 && first.front().isLetter() &&
      first.front().script() == QChar::Script_Latin && fits(first.left(3))) {
    return first.left(3);
  }
  return {};
}

}  // namespace lunavant::desktop
