// SPDX-License-Identifier: MIT
#include "addin/base/utilities.h"

#include <charconv>
#include <utility>

#include "addin/host/global.h"
#include "addin/host/services.h"

namespace lunavant::base {

namespace {

std::string g_msg_title;

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

const std::string& MsgTitle() { return g_msg_title; }

void SetMsgTitle(std::string title) { g_msg_title = std::move(title); }

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

}  // namespace lunavant::base
