# The version resource of a Windows program, with the program's icons and its
# manifest when they are given (packaging/windows):
#   cotarel_recursos_windows(programa descripcion [icono [icono_resultado [manifiesto]]])
enable_language(RC)

function(cotarel_recursos_windows programa descripcion)
    set(COTAREL_PROGRAMA ${programa})
    set(COTAREL_DESCRIPCION ${descripcion})
    set(COTAREL_ICONO "")
    if(ARGC GREATER 2)
        set(COTAREL_ICONO "1 ICON \"${ARGV2}\"")
    endif()
    if(ARGC GREATER 3)
        string(APPEND COTAREL_ICONO "\n2 ICON \"${ARGV3}\"")
    endif()
    if(ARGC GREATER 4)
        string(APPEND COTAREL_ICONO "\n1 24 \"${ARGV4}\"") # the manifest (RT_MANIFEST)
    endif()
    configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/recursos.rc.in
        ${CMAKE_CURRENT_BINARY_DIR}/${programa}.rc @ONLY)
    target_sources(${programa} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${programa}.rc)
endfunction()
