// SPDX-License-Identifier: MIT
#pragma once

// A stand-in for the port I/O driver library, built as "WinIo.dll": the
// three entry points the program calls, answering the PCI configuration
// mechanism from a simulated northbridge, and a few calls of its own with
// which the tests set it up and look at what it was asked.
//
// The processor it starts with is named by the environment variable
// VELTARO_WINIO_DOUBLE_PROCESSOR, so that a test can start a program on
// any family: "family-10h", "family-15h", "family-15h-other-range",
// "family-15h-model-60h" or "zen" (winiodouble.cpp has their registers).
// Without it, or for a name it does not know, no register is set.

#include <windows.h>

#define WINIO_DOUBLE_EXPORT extern "C" __declspec(dllexport)

WINIO_DOUBLE_EXPORT bool __stdcall InitializeWinIo();
WINIO_DOUBLE_EXPORT bool __stdcall SetPortVal(WORD port, DWORD value, BYTE size);
WINIO_DOUBLE_EXPORT bool __stdcall GetPortVal(WORD port, DWORD* value, BYTE size);

// Test controls: a fresh northbridge with the processor of the environment
// and an empty call log; the result of the next starts; one register of
// the northbridge function; one register behind an index/data pair.
WINIO_DOUBLE_EXPORT void __stdcall WinIoDoubleReset();
WINIO_DOUBLE_EXPORT void __stdcall WinIoDoubleSetStartResult(bool started);
WINIO_DOUBLE_EXPORT void __stdcall WinIoDoubleSetRegister(BYTE offset, DWORD value);
WINIO_DOUBLE_EXPORT void __stdcall WinIoDoubleSetIndexedRegister(DWORD indexAddress, DWORD dataAddress, DWORD index,
                                                                 DWORD value);

// The log: how many starts, and each port call in order (false past the end).
WINIO_DOUBLE_EXPORT DWORD __stdcall WinIoDoubleStartCount();
WINIO_DOUBLE_EXPORT bool __stdcall WinIoDoublePortCall(DWORD index, bool* write, WORD* port, DWORD* value, BYTE* size);
