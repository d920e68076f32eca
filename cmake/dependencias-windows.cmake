# The libraries of a Windows build. expat may be built here from its sources
# (COTAREL_EXPAT_FUENTES: the folder with lib/xmlparse.c), as the cross-build
# from Debian does with Debian's own source package, since Debian has no MinGW
# build of it; otherwise an installed expat is looked for. The cross-build also
# takes GoogleTest from /usr/src/googletest and the header-only JSON library
# from the build machine.

set(COTAREL_EXPAT_FUENTES "" CACHE PATH "expat's source folder (the one with lib/xmlparse.c)")
if(COTAREL_EXPAT_FUENTES)
    enable_language(C)
    # Built from its three sources with a configuration of our own
    # (expat/expat_config.h beside this file): DTDs and namespaces on, as in
    # Debian's own build.
    add_library(expat STATIC
        ${COTAREL_EXPAT_FUENTES}/lib/xmlparse.c
        ${COTAREL_EXPAT_FUENTES}/lib/xmlrole.c
        ${COTAREL_EXPAT_FUENTES}/lib/xmltok.c)
    target_include_directories(expat PRIVATE ${CMAKE_CURRENT_LIST_DIR}/expat)
    target_include_directories(expat SYSTEM PUBLIC ${COTAREL_EXPAT_FUENTES}/lib)
    target_compile_definitions(expat PUBLIC XML_STATIC PRIVATE HAVE_EXPAT_CONFIG_H)
    add_library(EXPAT::EXPAT ALIAS expat)
else()
    find_package(EXPAT REQUIRED)
endif()

# The header-only JSON library: a folder holding nlohmann/json.hpp, or an
# installed package. The cross-build takes the build machine's, with only the
# library's own folder on the include path, not the rest of /usr/include.
set(COTAREL_JSON_INCLUDE "" CACHE PATH "A folder holding nlohmann/json.hpp")
if(CMAKE_CROSSCOMPILING AND NOT COTAREL_JSON_INCLUDE)
    find_file(COTAREL_JSON_HPP nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
    get_filename_component(carpeta_json "${COTAREL_JSON_HPP}" DIRECTORY)
    file(MAKE_DIRECTORY "${CMAKE_BINARY_DIR}/json")
    file(CREATE_LINK "${carpeta_json}" "${CMAKE_BINARY_DIR}/json/nlohmann" SYMBOLIC)
    set(COTAREL_JSON_INCLUDE "${CMAKE_BINARY_DIR}/json")
endif()
if(COTAREL_JSON_INCLUDE)
    add_library(nlohmann_json INTERFACE)
    target_include_directories(nlohmann_json SYSTEM INTERFACE "${COTAREL_JSON_INCLUDE}")
    add_library(nlohmann_json::nlohmann_json ALIAS nlohmann_json)
endif()

if(CMAKE_CROSSCOMPILING AND BUILD_TESTING)
    set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest googletest EXCLUDE_FROM_ALL SYSTEM)
endif()
