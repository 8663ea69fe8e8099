# quiren_libcrypto: OpenSSL's libcrypto for whatever links it.
#
# On Linux the system's (Debian's libssl-dev). On Windows a static libcrypto
# the caller names with QUIREN_LIBCRYPTO_ROOT, a folder with include/openssl/
# and lib/: for mingw-w64 the one scripts/libcrypto-for-windows.sh builds from
# Debian's source package (lib/libcrypto.a); for MSVC an OpenSSL built with
# its own Windows build, no-shared (lib/libcrypto.lib, or
# lib/libcrypto_static.lib beside a DLL build). Only the tray program and the
# tool link it; quiren.dll never does.
if(WIN32)
  set(QUIREN_LIBCRYPTO_ROOT "" CACHE PATH
    "Folder of a static OpenSSL libcrypto for Windows (include/openssl, lib/); scripts/libcrypto-for-windows.sh makes one for mingw-w64")
  if(NOT QUIREN_LIBCRYPTO_ROOT)
    message(FATAL_ERROR
      "The Windows build needs a static libcrypto: configure with\n"
      "  -DQUIREN_LIBCRYPTO_ROOT=\"$(scripts/libcrypto-for-windows.sh)\"\n"
      "(it builds one from Debian's openssl source package, once per machine),\n"
      "or, for MSVC, the folder of an OpenSSL built with no-shared (see README.md).")
  endif()
  if(MSVC)
    set(quiren_libcrypto_names libcrypto_static.lib libcrypto.lib)
  else()
    set(quiren_libcrypto_names libcrypto.a)
  endif()
  set(quiren_libcrypto_library "")
  foreach(name IN LISTS quiren_libcrypto_names)
    if(NOT quiren_libcrypto_library AND EXISTS "${QUIREN_LIBCRYPTO_ROOT}/lib/${name}")
      set(quiren_libcrypto_library "${QUIREN_LIBCRYPTO_ROOT}/lib/${name}")
    endif()
  endforeach()
  if(NOT quiren_libcrypto_library OR NOT EXISTS "${QUIREN_LIBCRYPTO_ROOT}/include/openssl/crypto.h")
    message(FATAL_ERROR "QUIREN_LIBCRYPTO_ROOT=${QUIREN_LIBCRYPTO_ROOT} holds no static libcrypto "
      "(include/openssl/crypto.h and lib/ with one of: ${quiren_libcrypto_names})")
  endif()
  add_library(quiren_libcrypto STATIC IMPORTED GLOBAL)
  set_target_properties(quiren_libcrypto PROPERTIES
    IMPORTED_LOCATION "${quiren_libcrypto_library}"
    INTERFACE_INCLUDE_DIRECTORIES "${QUIREN_LIBCRYPTO_ROOT}/include"
    # What a static libcrypto calls in Windows: sockets, the certificate
    # store, the system random source, the desktop (to tell a service from a
    # program) and the registry.
    INTERFACE_LINK_LIBRARIES "ws2_32;crypt32;bcrypt;user32;advapi32")
  message(STATUS "libcrypto: ${quiren_libcrypto_library}")
else()
  find_package(OpenSSL REQUIRED COMPONENTS Crypto)
  add_library(quiren_libcrypto INTERFACE)
  target_link_libraries(quiren_libcrypto INTERFACE OpenSSL::Crypto)
endif()
