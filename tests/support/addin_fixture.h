// SPDX-License-Identifier: MIT
// The base fixture of the add-in's tests: a reference host with the converter beside the add-in,
// the short-date pattern and date separator pinned, the host's global object set, and the add-in's
// process-wide state as in a fresh process.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "addin/codec/converter_binding.h"
#include "addin/host/global.h"
#include "addin/pairing/pair_registry.h"
#include "workbench/application.h"
#include "workbench/recording_ui.h"
#include "workbench/regional_settings.h"

namespace lunavant::testing {

// Task date fields and custom text fields the tests use, by the host's identifiers.
inline constexpr host::FieldId kStart = 188743715;
inline constexpr host::FieldId kFinish = 188743716;
inline constexpr host::FieldId kEarlyStart = 188743717;
inline constexpr host::FieldId kCreated = 188743773;
inline constexpr host::FieldId kConstraintDate = 188743698;
inline constexpr host::FieldId kName = 188743694;
inline constexpr host::FieldId kText1 = 188743731;
inline constexpr host::FieldId kText2 = 188743734;
inline constexpr host::FieldId kText3 = 188743737;

inline workbench::FrontEndServices ServicesWithConverter() {
  workbench::FrontEndServices services;
  services.library_folders.push_back(LUNAVANT_CONVERTER_DIR);
  return services;
}

class AddinTest : public ::testing::Test {
 protected:
  explicit AddinTest(workbench::FrontEndServices services = ServicesWithConverter())
      : app_(std::move(services)) {
    ResetAddinState();
    PinRegionalSettings("dd/MM/yyyy", "/");
    host::SetGlobalApplication(&app_);
  }
  ~AddinTest() override {
    host::SetGlobalApplication(nullptr);
    ResetAddinState();
  }

  static void ResetAddinState() {
    pairing::ResetProcessState();
    codec::detail::UnloadConverter();
  }

  void PinRegionalSettings(const std::string& short_date, const std::string& separator) {
    app_.Regional().OverrideShortDatePattern(short_date);
    app_.Regional().OverrideDateSeparator(separator);
  }

  const std::vector<workbench::ShownMessage>& Shown() { return app_.RecordedMessages()->Shown(); }
  // The whole texts of the boxes shown so far, in order.
  std::vector<std::string> ShownTexts() {
    std::vector<std::string> texts;
    for (const workbench::ShownMessage& message : Shown()) texts.push_back(message.prompt);
    return texts;
  }
  static std::string ErrorBox(std::int32_t number, const std::string& description) {
    return "Application : Lunavant\r\nError Number : " + std::to_string(number) +
           "\r\nError Description : " + description;
  }

  workbench::Application app_;
};

}  // namespace lunavant::testing
