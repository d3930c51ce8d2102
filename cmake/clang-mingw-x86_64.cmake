# Cross-compiles for 64-bit Windows with clang and lld, on the mingw-w64 headers and
# libraries: a second compiler for the same target. clang finds the C headers of the
# mingw-w64 sysroot by itself, but not the C++ headers and runtime of the mingw GCC, so
# they are taken from that GCC (POSIX-thread flavour, as in mingw-w64-x86_64.cmake).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(target x86_64-w64-mingw32)
find_program(CLANG_C NAMES clang-14 clang REQUIRED)
find_program(CLANG_CXX NAMES clang++-14 clang++ REQUIRED)
set(CMAKE_C_COMPILER ${CLANG_C})
set(CMAKE_CXX_COMPILER ${CLANG_CXX})
set(CMAKE_C_COMPILER_TARGET ${target})
set(CMAKE_CXX_COMPILER_TARGET ${target})
set(CMAKE_RC_COMPILER ${target}-windres)

execute_process(COMMAND ${target}-g++-posix -print-file-name=include
    OUTPUT_VARIABLE gcc_include OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
get_filename_component(gcc_libraries ${gcc_include} DIRECTORY)
set(CMAKE_CXX_FLAGS_INIT "-isystem ${gcc_include}/c++ -isystem ${gcc_include}/c++/${target} \
-isystem ${gcc_include}/c++/backward")
# lld resolves archives in any order, so the POSIX threads under libstdc++ can come first.
# Every link gets -static-libgcc -static-libstdc++, which mean nothing to a C program or a
# string module without a runtime: clang would warn at each such link.
foreach(kind EXE SHARED MODULE)
    set(CMAKE_${kind}_LINKER_FLAGS_INIT
        "-fuse-ld=lld -L${gcc_libraries} -lpthread -Wno-unused-command-line-argument")
endforeach()

set(CMAKE_FIND_ROOT_PATH /usr/${target})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test programs run under Wine, through the runner that judges how they ended.
set(CMAKE_CROSSCOMPILING_EMULATOR bash ${CMAKE_CURRENT_LIST_DIR}/wine-test.sh)
