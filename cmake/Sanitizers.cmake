# TARNWICK_SANITIZE selects a sanitizer build:
#   address  AddressSanitizer with UndefinedBehaviorSanitizer and leak checks
#   thread   ThreadSanitizer
#   fuzzer   clang only: address and undefined behaviour with libFuzzer's
#            coverage; the fuzz targets in tests/fuzz link libFuzzer itself
# Every report ends the run: no error is recovered from, so a test that
# triggers one fails.
set(TARNWICK_SANITIZE "" CACHE STRING "Sanitizer build: address, thread, fuzzer or empty")
set_property(CACHE TARNWICK_SANITIZE PROPERTY STRINGS "" address thread fuzzer)

# Line tables only: enough for readable reports, cheap to build.
set(tarnwick_sanitize_common -g1 -fno-omit-frame-pointer)

if(TARNWICK_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all ${tarnwick_sanitize_common})
  add_link_options(-fsanitize=address,undefined)
elseif(TARNWICK_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread ${tarnwick_sanitize_common})
  add_link_options(-fsanitize=thread)
elseif(TARNWICK_SANITIZE STREQUAL "fuzzer")
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "TARNWICK_SANITIZE=fuzzer needs clang++ (libFuzzer)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                      ${tarnwick_sanitize_common})
  add_link_options(-fsanitize=address,undefined)
elseif(NOT TARNWICK_SANITIZE STREQUAL "")
  message(FATAL_ERROR "TARNWICK_SANITIZE must be address, thread, fuzzer or empty")
endif()
