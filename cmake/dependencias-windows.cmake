# The libraries of a cross-build for Windows, built here from sources that
# Debian provides, since Debian has no MinGW builds of them: expat from its
# Debian source package (COTAREL_EXPAT_FUENTES, fetched by scripts/windows.sh),
# GoogleTest from /usr/src/googletest, and the header-only JSON library.

set(COTAREL_EXPAT_FUENTES "" CACHE PATH "expat's source folder (the one with CMakeLists.txt)")
if(NOT EXISTS "${COTAREL_EXPAT_FUENTES}/CMakeLists.txt")
    message(FATAL_ERROR "COTAREL_EXPAT_FUENTES must name expat's source folder; scripts/windows.sh fetches it")
endif()
enable_language(C)
# Built from its three sources with a configuration of our own (expat_config.h
# beside this file), as Debian configures it: DTDs and namespaces on.
add_library(expat STATIC
    ${COTAREL_EXPAT_FUENTES}/lib/xmlparse.c
    ${COTAREL_EXPAT_FUENTES}/lib/xmlrole.c
    ${COTAREL_EXPAT_FUENTES}/lib/xmltok.c)
target_include_directories(expat PRIVATE ${CMAKE_CURRENT_LIST_DIR}/expat)
target_include_directories(expat SYSTEM PUBLIC ${COTAREL_EXPAT_FUENTES}/lib)
target_compile_definitions(expat PUBLIC XML_STATIC PRIVATE HAVE_EXPAT_CONFIG_H)
add_library(EXPAT::EXPAT ALIAS expat)

# Only the library's own folder goes on the include path, not the rest of the
# build machine's /usr/include.
find_file(COTAREL_JSON_HPP nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
get_filename_component(carpeta_json "${COTAREL_JSON_HPP}" DIRECTORY)
file(MAKE_DIRECTORY "${CMAKE_BINARY_DIR}/json")
file(CREATE_LINK "${carpeta_json}" "${CMAKE_BINARY_DIR}/json/nlohmann" SYMBOLIC)
add_library(nlohmann_json INTERFACE)
target_include_directories(nlohmann_json SYSTEM INTERFACE "${CMAKE_BINARY_DIR}/json")
add_library(nlohmann_json::nlohmann_json ALIAS nlohmann_json)
set(nlohmann_json_FOUND TRUE)

if(BUILD_TESTING)
    set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest googletest EXCLUDE_FROM_ALL SYSTEM)
    set(GTest_FOUND TRUE)
endif()
