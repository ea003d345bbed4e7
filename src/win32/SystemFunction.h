#pragma once
// System functions that not every Windows the programs run on has are found here, at run
// time, and never imported: a program that imported one would not even load on a system
// without it. Each caller keeps a fallback for a null result.
//
//   using GlobalMemoryStatusExFn = BOOL(WINAPI*)(MEMORYSTATUSEX*);
//   if (auto statusEx = SystemFunction<GlobalMemoryStatusExFn>("kernel32.dll",
//                                                             "GlobalMemoryStatusEx")) ...
#include <type_traits>

namespace tarvesk {

// Finds `function` in the system library `library`: null where this Windows lacks either.
// Code that looks functions up takes one of these, so tests can hand it fakes.
using SystemFunctionFinder = void* (*)(const char* library, const char* function);

// The real finder. A library the process has already loaded is searched as it is. One it
// has not is loaded by name, found as the loader finds the program's imports (the
// manifest's common controls first), on first use; it stays loaded until the program ends,
// so a function found here stays valid.
void* FindSystemFunction(const char* library, const char* function);

// The same, typed: FunctionPointer is the function's pointer type, calling convention
// included, written out by the caller (the SDK headers declare newer functions only for
// newer floors).
template <typename FunctionPointer>
FunctionPointer SystemFunction(const char* library, const char* function,
                               SystemFunctionFinder find = FindSystemFunction) {
    static_assert(std::is_pointer_v<FunctionPointer> &&
                  std::is_function_v<std::remove_pointer_t<FunctionPointer>>);
    return reinterpret_cast<FunctionPointer>(find(library, function));
}

}  // namespace tarvesk
