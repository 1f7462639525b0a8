// SPDX-License-Identifier: MIT
#include "addin/pairing/utilities.h"

#include <charconv>

#include "addin/host/global.h"
#include "addin/host/services.h"
#include "addin/pairing/catalogues.h"

namespace lunavant::pairing {

namespace {

// The three lines the error box shows.
std::string ErrorBoxText(const host::ErrorRecord& record) {
  std::string text = "Application : ";
  text += kProductName;
  text += "\r\nError Number : ";
  text += std::to_string(record.number);
  text += "\r\nError Description : ";
  text += record.description;
  return text;
}

}  // namespace

std::string KeyText(std::int64_t number) {
  char digits[24];
  return std::string(digits, std::to_chars(digits, digits + sizeof digits, number).ptr);
}

void ShowError(host::ErrorRecord& record) {
  if (host::Application* app = host::GlobalApplication()) {
    app->Services().Messages().MsgBox(ErrorBoxText(record), host::MsgBoxStyle::kOkExclamation,
                                      MsgTitle());
  }
  record.Clear();
}

}  // namespace lunavant::pairing
