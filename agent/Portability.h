// Compiler-specific spellings kept in one place, so that the rest of the
// library is plain C++ that both GCC (mingw-w64) and MSVC accept.
#pragma once

#if defined(_MSC_VER)
// MSVC: variables between these pragmas go to the ".shared" section, which the
// linker marks read/write/shared.
#define VINTREL_SHARED_BEGIN __pragma(data_seg(".shared"))
#define VINTREL_SHARED_END __pragma(data_seg())
#define VINTREL_SHARED
#pragma comment(linker, "/SECTION:.shared,RWS")
#else
// GCC: the attribute names the section and flags it shared in the PE image.
// Only initialised variables land in it.
#define VINTREL_SHARED_BEGIN
#define VINTREL_SHARED_END
#define VINTREL_SHARED __attribute__((section(".shared"), shared))
#endif

// The agent's exports use the standard Windows calling convention and C names.
#define VINTREL_EXPORT extern "C"
