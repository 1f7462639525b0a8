// SPDX-License-Identifier: MIT
// The base fixture of the add-in's tests: the workbench fixture, with the converter library beside
// the add-in and the add-in's process-wide state as in a fresh process.
#pragma once

#include <string>
#include <vector>

#include "addin/codec/converter_binding.h"
#include "addin/host/field_ids.h"
#include "addin/pairing/catalogues.h"
#include "addin/pairing/pair_registry.h"
#include "tests/support/workbench_fixture.h"
#include "workbench/platform/library_loader.h"

namespace lunavant::test_support {

// Task date fields and custom text fields the tests use, by the host's identifiers.
using host::field::kBaselineStart;
using host::field::kEarlyStart;
using host::field::kFinish;
using host::field::kName;
using host::field::kStart;
using host::field::kText1;
using host::field::kText2;

enum class Converter { kBesideTheAddIn, kMissing };

// The catalogues and the message title filled as the event object's construction fills them, for
// the tests of the folders below the event object. A member of the fixture, built after it.
struct FilledCatalogues {
  FilledCatalogues() { pairing::InitCatalogues(); }
};

class AddinTest : public WorkbenchTest {
 protected:
  explicit AddinTest(Converter converter = Converter::kBesideTheAddIn) {
    ResetAddinState();
    if (converter == Converter::kBesideTheAddIn) {
      app_.Libraries().AddSearchFolderFirst(LUNAVANT_CONVERTER_DIR);
    }
  }
  ~AddinTest() override { ResetAddinState(); }

  static void ResetAddinState() {
    pairing::ResetProcessState();
    codec::detail::UnloadConverter();
  }

  void PinRegionalSettings(const std::string& short_date, const std::string& separator) {
    app_.Regional().OverrideShortDatePattern(short_date);
    app_.Regional().OverrideDateSeparator(separator);
  }

  const std::vector<workbench::ShownMessage>& Shown() { return Messages().Shown(); }
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
};

}  // namespace lunavant::test_support
