// SPDX-License-Identifier: MIT
// A "WinIo.dll" that lacks GetPortVal: a library of that name that is not
// the driver. Its start succeeds, so a program that took it for the driver
// would report a successful start.

#include <windows.h>

extern "C" __declspec(dllexport) bool __stdcall InitializeWinIo()
{
    return true;
}

extern "C" __declspec(dllexport) bool __stdcall SetPortVal(WORD /*port*/, DWORD /*value*/, BYTE /*size*/)
{
    return true;
}
