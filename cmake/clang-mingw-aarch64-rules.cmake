# Resource scripts for ARM64 (see clang-mingw-aarch64.cmake): GNU windres writes the
# resources, llvm-windres wraps them in an object for the target.
set(CMAKE_RC_COMPILE_OBJECT
    "<CMAKE_RC_COMPILER> -O res <DEFINES> <INCLUDES> <FLAGS> <SOURCE> <OBJECT>.res"
    "${LLVM_WINDRES} -J res -O coff --target=aarch64-w64-mingw32 <OBJECT>.res <OBJECT>")
