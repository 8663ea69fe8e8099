# quiren_warnings(target): the project's warning set, always treated as errors.
function(quiren_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /WX /utf-8 /permissive-)
  else()
    target_compile_options(${target} PRIVATE
      -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
      -Wcast-align -Wunused -Woverloaded-virtual -Wnull-dereference
      -Wimplicit-fallthrough -Werror)
  endif()
endfunction()

# quiren_plain_doubles(target): the keystream's double arithmetic must round
# exactly as written on every build, or two builds write different blocks.
function(quiren_plain_doubles target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /fp:precise)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      target_compile_options(${target} PRIVATE /arch:SSE2)
    endif()
  else()
    target_compile_options(${target} PRIVATE -ffp-contract=off)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      target_compile_options(${target} PRIVATE -msse2 -mfpmath=sse)
    endif()
  endif()
endfunction()
