#pragma once
// Windows only: the function behind both version queries (VersionQueries.h).
#ifdef _WIN32

#include <windows.h>

namespace vorlu::platform {

// GetVersionExA unless replaced. Every current Windows answers the extended structure, so a
// test puts a function of its own here to reach the registry fallback of the systems that
// refused it (Windows 9x, NT 4 before Service Pack 6), passing the basic query through.
using GetVersionExAFunction = BOOL(WINAPI*)(LPOSVERSIONINFOA);

// Returns the function replaced; nullptr puts GetVersionExA back. Not for use while another
// thread queries the version.
GetVersionExAFunction replaceGetVersionExA(GetVersionExAFunction function);

} // namespace vorlu::platform

#endif
