// SPDX-License-Identifier: MIT
// Platform services the add-in needs from the process it runs in: message boxes, the mouse
// pointer, regional settings with the platform's date reading, dynamic library loading, picture
// loading and the dialog toolkit.
// Abstract because each front end shows them its own way (Qt widgets, a terminal, a test record).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "addin/host/value.h"

namespace lunavant::host {

class DialogToolkit;

enum class MsgBoxStyle {
  kOkExclamation,                  // one OK button, exclamation icon
  kYesNoExclamationYesFirst,       // Yes and No, exclamation icon, Yes is the default button
  kYesNoCancelExclamationYesFirst  // Yes, No and Cancel, exclamation icon, Yes is the default
};
// kCancel also answers a box the user closed without choosing, where the box has a Cancel button.
enum class MsgBoxResult { kOk, kYes, kNo, kCancel };

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // Modal: returns when the user has answered.
  virtual MsgBoxResult MsgBox(const std::string& prompt, MsgBoxStyle style,
                              const std::string& title) = 0;
};

inline constexpr std::int32_t kPointerDefault = 0;
inline constexpr std::int32_t kPointerBusy = 11;

class MousePointer {
 public:
  virtual ~MousePointer() = default;
  virtual void SetMousePointer(std::int32_t code) = 0;
  virtual std::int32_t CurrentMousePointer() const = 0;
};

// Locale item number of the short-date pattern.
inline constexpr std::int32_t kLocaleShortDate = 31;

class RegionalSettings {
 public:
  virtual ~RegionalSettings() = default;

  virtual std::uint32_t GetUserDefaultLCID() const = 0;
  // Copies the locale item's text, terminating zero included, into `buffer` of `length`
  // characters and returns the number of characters written. With length 0 it writes nothing and
  // returns the size needed. Returns 0 when the locale has no such item or the buffer is too small.
  virtual std::int32_t GetLocaleInfoA(std::uint32_t lcid, std::int32_t item, char* buffer,
                                      std::int32_t length) const = 0;

  // The platform's reading of a date or a time of day, in the user's regional order. A value
  // holding only a time has year, month and day 0. Fails with kTypeMismatch on anything else.
  virtual DateTime ReadDate(std::string_view text) const = 0;
  // The platform's default date-and-time form: the date in the user's short-date pattern, then one
  // blank and the time of day, the time left out at midnight; a time-only value gives the time.
  virtual std::string DefaultDateTimeText(const DateTime& when) const = 0;
};

class Library {
 public:
  virtual ~Library() = default;
  // Fails with kEntryPointNotFound when the library exports no such name.
  virtual void* Symbol(std::string_view name) = 0;
};

class LibraryLoader {
 public:
  virtual ~LibraryLoader() = default;
  // Loads a library by its bare name ("orbelune"); the platform adds its own prefix and suffix and
  // looks beside the add-in module first, then in its usual places. Fails with kFileNotFound when
  // no such file exists and kErrorLoadingLibrary when one exists but cannot be loaded.
  virtual std::unique_ptr<Library> Load(std::string_view name) = 0;
};

// Basic-runtime number of a file that is not a picture the platform can read.
inline constexpr std::int32_t kInvalidPicture = 481;

// A loaded picture, such as a button face. What it holds beyond its size is the platform's.
class Picture {
 public:
  virtual ~Picture() = default;
  virtual std::int32_t Width() const = 0;
  virtual std::int32_t Height() const = 0;
};

class PictureLoader {
 public:
  virtual ~PictureLoader() = default;
  // Loads a picture file by its bare name ("Lunavant_Add.bmp"); the platform looks beside the
  // add-in module first, then in the current directory. Fails with kFileNotFound when no such file
  // exists and kInvalidPicture when the file cannot be read as a picture.
  virtual std::shared_ptr<const Picture> LoadPicture(std::string_view file_name) = 0;
};

class Platform {
 public:
  virtual ~Platform() = default;
  virtual MessageBoxes& Messages() = 0;
  virtual MousePointer& Pointer() = 0;
  virtual RegionalSettings& Regional() = 0;
  virtual LibraryLoader& Libraries() = 0;
  virtual PictureLoader& Pictures() = 0;
  virtual DialogToolkit& Dialogs() = 0;
};

}  // namespace lunavant::host
