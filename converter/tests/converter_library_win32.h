// SPDX-License-Identifier: MIT
// The converter as a Windows caller sees it: Orbelune.dll loaded by name and its two entry points
// bound by name through stdcall pointers, as a classic Basic Declare Function binds them. These
// pointer types do not come from orbelune.h on purpose: a DLL built with another convention must
// not get a matching one for free.
#pragma once

#include <windows.h>

#include <cstdint>
#include <stdexcept>
#include <string>

#include "converter_calls.h"

namespace lunavant::converter::testing {

using G2HAFunction = int32_t(__stdcall*)(int32_t, int32_t, int32_t, int32_t*, int32_t*, int32_t*,
                                         int32_t*);
using H2GAFunction = int32_t(__stdcall*)(int32_t*, int32_t*, int32_t*, int32_t*, int32_t*, int32_t*,
                                         int32_t*);

class ConverterLibrary : public ConverterCalls<G2HAFunction, H2GAFunction> {
 public:
  static constexpr const char* kName = "Orbelune.dll";

  // The DLL stays loaded for the rest of the process, as it does in a Windows caller.
  static const ConverterLibrary& Get() {
    static const ConverterLibrary library;
    return library;
  }

 private:
  ConverterLibrary() {
    // By name only: Windows looks in the program's folder first, as it does for the add-in.
    handle_ = LoadLibraryA(kName);
    if (handle_ == nullptr)
      throw std::runtime_error(std::string("cannot load ") + kName + ": error " +
                               std::to_string(GetLastError()));
    g2ha_ =
        reinterpret_cast<G2HAFunction>(reinterpret_cast<void*>(GetProcAddress(handle_, "G2HA")));
    h2ga_ =
        reinterpret_cast<H2GAFunction>(reinterpret_cast<void*>(GetProcAddress(handle_, "H2GA")));
    if (g2ha_ == nullptr || h2ga_ == nullptr)
      throw std::runtime_error(std::string(kName) + " exports no G2HA or no H2GA");
  }

  HMODULE handle_ = nullptr;
};

#if defined(__i386__)
// Bytes that a call of `entry` with seven 32-bit arguments leaves on the stack: 0 when the callee
// removes them itself, as stdcall requires, 28 when it leaves them to the caller, as cdecl does.
// A compiled call through a stdcall pointer cannot tell: the caller's frame pointer hides the
// difference until something else breaks, so the stack pointer is read around the call itself.
inline uint32_t BytesLeftOnTheStack(void* entry, const uint32_t (&arguments)[7]) {
  uint32_t left = 0;
  uint32_t result = 0;
  asm volatile(
      "movl %%esp, %%esi\n\t"
      "pushl 24(%[arguments])\n\t"
      "pushl 20(%[arguments])\n\t"
      "pushl 16(%[arguments])\n\t"
      "pushl 12(%[arguments])\n\t"
      "pushl 8(%[arguments])\n\t"
      "pushl 4(%[arguments])\n\t"
      "pushl (%[arguments])\n\t"
      "call *%[entry]\n\t"
      "xchgl %%esi, %%esp\n\t"  // back to the stack as it was; esi holds it as the callee left it
      "negl %%esi\n\t"
      "addl %%esp, %%esi\n\t"
      : "=a"(result), "=&S"(left)
      : [entry] "r"(entry), [arguments] "r"(arguments)
      : "ecx", "edx", "memory", "cc");
  static_cast<void>(result);
  return left;
}
#endif

}  // namespace lunavant::converter::testing
