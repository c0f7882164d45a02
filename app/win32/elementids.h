// SPDX-License-Identifier: MIT
#pragma once

// The window class and the control identifiers of the native window's
// elements: the window finds its elements by them, and so can a program
// that looks at a running Veltaro from outside.
namespace veltaro::win32 {

inline constexpr wchar_t kFrmmainClass[] = L"VeltaroFrmmain";

inline constexpr int kTxtsignId = 100;
inline constexpr int kLabel3Id = 101;
inline constexpr int kLabel8Id = 102;
inline constexpr int kLblProcessorNameId = 103;
inline constexpr int kLbltempId = 104;

}  // namespace veltaro::win32
