// The Windows-style basic types of the framework and the code built on it.
//
// On Windows these are the very types of the SDK headers (redeclaring a
// typedef to the same type is allowed in C++, and the macros have the same
// bodies), so this header and <windows.h> may be included in either order.
// Elsewhere they keep their 32-bit Windows widths, so the data-file code
// reads and writes the same values in the native build.
#ifndef VA_FRAMEWORK_CORE_TYPES_H
#define VA_FRAMEWORK_CORE_TYPES_H

#include <cassert>
#include <cstddef>
#include <cstdint>

#ifdef _WIN32
typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef unsigned long DWORD;
typedef unsigned int UINT;
typedef long LONG;
typedef unsigned long ULONG;
typedef long long LONGLONG;
typedef unsigned long long ULONGLONG;
#ifdef _WIN64
typedef long long INT_PTR;
typedef unsigned long long UINT_PTR;
typedef long long LONG_PTR;
typedef unsigned long long ULONG_PTR;
#else
typedef int INT_PTR;
typedef unsigned int UINT_PTR;
typedef long LONG_PTR;
typedef unsigned long ULONG_PTR;
#endif
#else
typedef int BOOL;
typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef unsigned int UINT;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef long long LONGLONG;
typedef unsigned long long ULONGLONG;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef intptr_t LONG_PTR;
typedef uintptr_t ULONG_PTR;
#endif

// ANSI build only: TCHAR is char.
typedef char CHAR;
typedef char TCHAR;
typedef CHAR* LPSTR;
typedef const CHAR* LPCSTR;
typedef LPSTR LPTSTR;
typedef LPCSTR LPCTSTR;
typedef void* LPVOID;
typedef const void* LPCVOID;

#ifndef FALSE
#define FALSE 0
#endif
#ifndef TRUE
#define TRUE 1
#endif

// An iteration cursor of the collections; NULL ends an iteration.
struct VaPositionTag;
typedef VaPositionTag* POSITION;

#ifndef ASSERT
#define ASSERT(expr) assert(expr)
#endif

#endif // VA_FRAMEWORK_CORE_TYPES_H
