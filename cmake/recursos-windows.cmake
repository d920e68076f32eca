# The version resource of a Windows program, with the program's icon when one
# is given (packaging/windows).
enable_language(RC)

function(cotarel_recursos_windows programa descripcion)
    set(COTAREL_PROGRAMA ${programa})
    set(COTAREL_DESCRIPCION ${descripcion})
    set(COTAREL_ICONO "")
    if(ARGC GREATER 2)
        set(COTAREL_ICONO "1 ICON \"${ARGV2}\"")
    endif()
    configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/recursos.rc.in
        ${CMAKE_CURRENT_BINARY_DIR}/${programa}.rc @ONLY)
    target_sources(${programa} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${programa}.rc)
endfunction()
