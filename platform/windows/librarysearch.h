// SPDX-License-Identifier: MIT
#pragma once

namespace veltaro {

// From here on, libraries that the process loads by name come from the
// system's folders and the program's own folder only, never from the
// current folder or the search path: the program runs as administrator,
// and a library planted where it is started would run with those rights.
// Systems without the call (Windows 7 before its 2011 update) keep their
// default order; the port driver library is loaded by full path there.
void restrictLibrarySearch();

}  // namespace veltaro
