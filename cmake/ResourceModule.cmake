# add_resource_module(NAME SCRIPT...): NAME.dll carrying only the resources of its
# scripts, as a driver ships its strings. It has no code, so it needs neither the C
# runtime nor an entry point: about 5 KB instead of about 90 with the runtime linked in.
function(add_resource_module name)
    add_library(${name} MODULE ${ARGN})
    set_target_properties(${name} PROPERTIES PREFIX "" LINKER_LANGUAGE C)
    if(MINGW)
        # No entry point: AddressOfEntryPoint 0. GNU ld and lld both take the image base's
        # own symbol, at offset 0; lld would read a bare 0 as a symbol's name.
        target_link_options(${name} PRIVATE -nostdlib -Wl,-e,__ImageBase)
    elseif(MSVC)
        target_link_options(${name} PRIVATE /NOENTRY)
    endif()
endfunction()
