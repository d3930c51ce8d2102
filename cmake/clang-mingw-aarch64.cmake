# Cross-compiles for Windows on ARM64 with clang and lld. There is no mingw-w64 runtime for
# this target here: the library is built freestanding (src/freestanding.cpp) on the
# mingw-w64 headers, which serve every architecture, with import libraries for the system
# DLLs made from the export lists of the x64 ones. Only the DLL, the string modules and
# the ARM64 driver program are built (scripts/build.sh --arm64).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ARM64)

set(target aarch64-w64-windows-gnu)
find_program(CLANG_C NAMES clang-14 clang REQUIRED)
find_program(CLANG_CXX NAMES clang++-14 clang++ REQUIRED)
find_program(LLVM_DLLTOOL NAMES llvm-dlltool-14 llvm-dlltool REQUIRED)
find_program(LLVM_NM NAMES llvm-nm-14 llvm-nm REQUIRED)
find_program(LLVM_WINDRES NAMES llvm-windres-14 llvm-windres REQUIRED)
set(CMAKE_C_COMPILER ${CLANG_C})
set(CMAKE_CXX_COMPILER ${CLANG_CXX})
set(CMAKE_C_COMPILER_TARGET ${target})
set(CMAKE_CXX_COMPILER_TARGET ${target})
# GNU windres reads our scripts (llvm-rc rejects numeric control classes) into a .res;
# llvm-windres turns that into an ARM64 object, so both architectures carry the same bytes.
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_USER_MAKE_RULES_OVERRIDE ${CMAKE_CURRENT_LIST_DIR}/clang-mingw-aarch64-rules.cmake)
# Nothing can be linked before the import libraries exist, and nothing needs to be.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

set(mingw /usr/x86_64-w64-mingw32)
execute_process(COMMAND x86_64-w64-mingw32-g++-posix -print-file-name=include
    OUTPUT_VARIABLE gcc_include OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
# Header-only use of the C++ library (<atomic>, <algorithm>, <new>): libstdc++'s headers
# describe Windows the same way on either architecture.
set(flags "-isystem ${gcc_include}/c++ -isystem ${gcc_include}/c++/x86_64-w64-mingw32 \
-isystem ${mingw}/include -fno-stack-protector")
set(CMAKE_C_FLAGS_INIT "${flags}")
set(CMAKE_CXX_FLAGS_INIT "${flags}")

# ARM64 import libraries for the system DLLs, from the names the x64 ones export: the
# same functions under the same names. ntdll's C string and memory functions (the
# compiler's own memcpy and memset among them) come in with ntdll. Each of these DLLs is
# native on every Windows on ARM64 (tests/arm64/check_dlls.sh allows no others).
set(arm64_libraries ${CMAKE_BINARY_DIR}/arm64-lib)
set(system_dlls kernel32 user32 gdi32 advapi32 ntdll comctl32 imm32 ole32 oleacc oleaut32 shell32
    shlwapi uxtheme version)
if(EXISTS ${arm64_libraries}/made-for.txt)
    file(READ ${arm64_libraries}/made-for.txt made_for)
endif()
if(NOT CMAKE_BINARY_DIR MATCHES "CMakeScratch|CMakeTmp" AND NOT "${made_for}" STREQUAL "${system_dlls}")
    file(MAKE_DIRECTORY ${arm64_libraries})
    foreach(dll ${system_dlls})
        set(sources ${mingw}/lib/lib${dll}.a)
        if(dll STREQUAL ntdll)
            list(APPEND sources ${mingw}/lib/libntdllcrt.a)
        endif()
        execute_process(COMMAND ${LLVM_NM} --defined-only --format=just-symbols ${sources}
            OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
        string(REGEX MATCHALL "__imp_[A-Za-z0-9_@?$]+" symbols "${symbols}")
        string(REPLACE "__imp_" "" symbols "${symbols}")
        list(REMOVE_DUPLICATES symbols)
        list(JOIN symbols "\n" exports)
        file(WRITE ${arm64_libraries}/${dll}.def "LIBRARY ${dll}.dll\nEXPORTS\n${exports}\n")
        execute_process(COMMAND ${LLVM_DLLTOOL} -m arm64 -d ${arm64_libraries}/${dll}.def
            -l ${arm64_libraries}/lib${dll}.a COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
    file(WRITE ${arm64_libraries}/made-for.txt "${system_dlls}")
endif()
# The project asks every MinGW link for a static runtime, which means nothing here.
foreach(kind EXE SHARED MODULE)
    set(CMAKE_${kind}_LINKER_FLAGS_INIT
        "-fuse-ld=lld -nostdlib -L${arm64_libraries} -Wno-unused-command-line-argument")
endforeach()
# Only the system's own DLLs: no C runtime, no mingw start-up code.
set(CMAKE_C_STANDARD_LIBRARIES "-lkernel32 -lntdll" CACHE STRING "" FORCE)
set(CMAKE_CXX_STANDARD_LIBRARIES "-lkernel32 -lntdll" CACHE STRING "" FORCE)
set(PRINTDIALOGS_FREESTANDING ON)
# The tools, the benchmark and the GoogleTest programs need a C++ runtime.
set(BUILD_TESTING OFF CACHE BOOL "")
set(PRINTDIALOGS_BUILD_TOOLS OFF CACHE BOOL "")
set(PRINTDIALOGS_BUILD_BENCHMARK OFF CACHE BOOL "")

set(CMAKE_FIND_ROOT_PATH ${mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
