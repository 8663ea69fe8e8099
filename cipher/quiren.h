// quiren.dll: the cipher library of mu-quiren.
//
// Strings crossing this interface are NUL-terminated byte strings in the
// caller's ANSI code page; the library treats every byte as an 8-bit value.
// Every result is a new buffer owned by the library: pass it to
// quiren_release() when done (it accepts a null pointer).
#ifndef QUIREN_CIPHER_QUIREN_H
#define QUIREN_CIPHER_QUIREN_H

#if defined(_WIN32)
#  define QUIREN_CALL __stdcall
#  if defined(QUIREN_BUILDING_LIBRARY)
// The .def file alone names the exports: under MSVC a dllexport here would
// also export the 32-bit decorated names (_name@N) beside the plain ones.
#    define QUIREN_API
#  else
#    define QUIREN_API __declspec(dllimport)
#  endif
#else
#  define QUIREN_CALL
#  if defined(QUIREN_BUILDING_LIBRARY)
#    define QUIREN_API __attribute__((visibility("default")))
#  else
#    define QUIREN_API
#  endif
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Encrypts text under password: the armoured body followed by the mode
// letter "A" (the text itself) or "B" (its compressed form).
QUIREN_API char* QUIREN_CALL wakaranakusuru(const char* text, const char* password);

// Decrypts an armoured body (armour characters only) under password. Only
// the first character of mode is read; "B" expands a compressed payload.
QUIREN_API char* QUIREN_CALL wakaruyounisuru(const char* body, const char* password, const char* mode);

// Releases a result of either function.
QUIREN_API void QUIREN_CALL quiren_release(char* result);

#ifdef __cplusplus
}
#endif

#endif
