# -DQUIREN_SANITIZE=ON builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer; any finding aborts the test that caused it.
option(QUIREN_SANITIZE "Build with ASan and UBSan" OFF)
if(QUIREN_SANITIZE)
  if(MSVC)
    message(FATAL_ERROR "QUIREN_SANITIZE is for the native gcc/clang build")
  endif()
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
