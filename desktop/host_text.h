// SPDX-License-Identifier: MIT
// Text between the host, which holds UTF-8 in std::string, and Qt's QString; Arabic names and
// aliases must survive the trip both ways.
#pragma once

#include <QString>
#include <string>

namespace lunavant::desktop {

inline QString fromHost(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string toHost(const QString& text) {
  const QByteArray bytes = text.toUtf8();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace lunavant::desktop
