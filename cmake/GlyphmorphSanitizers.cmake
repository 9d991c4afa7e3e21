# SPDX-FileCopyrightText: 2026 glyphmorph developers
# SPDX-License-Identifier: LGPL-2.1-or-later
# AddressSanitizer and UndefinedBehaviorSanitizer for everything the project compiles, and the
# coverage instrumentation libFuzzer needs. Included before any target is defined.
#
# Sets GLYPHMORPH_SANITIZER_FLAGS (what a program built against the library must be compiled and
# linked with) and GLYPHMORPH_SANITIZER_ENVIRONMENT (what every test runs with).

set(GLYPHMORPH_SANITIZER_FLAGS "")
set(GLYPHMORPH_SANITIZER_ENVIRONMENT "")

# Fuzz targets without ASan only find crashes; and the library's coverage hooks need a sanitizer
# runtime in every program that loads it.
if(GLYPHMORPH_BUILD_FUZZERS AND NOT GLYPHMORPH_SANITIZE)
    message(STATUS "GLYPHMORPH_BUILD_FUZZERS turns on GLYPHMORPH_SANITIZE")
    set(GLYPHMORPH_SANITIZE ON CACHE BOOL
        "Build everything with AddressSanitizer and UBSan (clang)" FORCE)
endif()

if(NOT GLYPHMORPH_SANITIZE)
    return()
endif()

if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "GLYPHMORPH_SANITIZE and GLYPHMORPH_BUILD_FUZZERS need clang "
        "(cmake -DCMAKE_CXX_COMPILER=clang++ ...), not ${CMAKE_CXX_COMPILER_ID}")
endif()

# Undefined behaviour fails the test that meets it instead of scrolling past in its output.
set(GLYPHMORPH_SANITIZER_FLAGS
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
if(GLYPHMORPH_BUILD_FUZZERS)
    list(APPEND GLYPHMORPH_SANITIZER_FLAGS -fsanitize=fuzzer-no-link)
endif()
add_compile_options(${GLYPHMORPH_SANITIZER_FLAGS})
add_link_options(${GLYPHMORPH_SANITIZER_FLAGS})

# Qt, fontconfig and the platform plugins keep allocations for the life of the process; the file
# names those third-party libraries only, so a leak in the project's own code is still reported.
set(GLYPHMORPH_LSAN_SUPPRESSIONS ${CMAKE_CURRENT_LIST_DIR}/lsan.supp)
set(GLYPHMORPH_SANITIZER_ENVIRONMENT
    "ASAN_OPTIONS=detect_leaks=1"
    "LSAN_OPTIONS=suppressions=${GLYPHMORPH_LSAN_SUPPRESSIONS}:print_suppressions=0"
    "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
