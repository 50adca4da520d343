# Checks that a build compiles each of the project's sources, and every one of them with each
# option of REQUIRED; OPTIONAL names sources that this build does not compile at all.
#
#   cmake -DBUILD=folder -DREQUIRED=-Wall;-Werror [-DOPTIONAL=a.cpp;b.cpp] \
#       -P .ci/compile-options.cmake
#
# Run from the top of the source tree, which git lists.

cmake_minimum_required(VERSION 3.20)

execute_process(COMMAND git ls-files *.cpp OUTPUT_VARIABLE sources
    OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
string(REPLACE "\n" ";" sources "${sources}")
list(REMOVE_ITEM sources ${OPTIONAL})

file(READ ${BUILD}/compile_commands.json commands)
string(JSON count LENGTH "${commands}")
math(EXPR last "${count} - 1")
set(compiled "")
set(problems "")
foreach(index RANGE ${last})
    string(JSON entry GET "${commands}" ${index})
    string(JSON file GET "${entry}" file)
    file(RELATIVE_PATH source ${CMAKE_CURRENT_SOURCE_DIR} ${file})
    if(NOT source IN_LIST sources)
        continue()
    endif()
    list(APPEND compiled ${source})
    string(JSON command GET "${entry}" command)
    separate_arguments(arguments UNIX_COMMAND "${command}")
    foreach(option IN LISTS REQUIRED)
        if(NOT option IN_LIST arguments)
            list(APPEND problems "${BUILD}: ${source} is compiled without ${option}")
        endif()
    endforeach()
endforeach()
foreach(source IN LISTS sources)
    if(NOT source IN_LIST compiled)
        list(APPEND problems "${BUILD}: ${source} is not compiled")
    endif()
endforeach()

if(problems)
    list(JOIN problems "\n" problems)
    message("${problems}")
    message(FATAL_ERROR "${BUILD}: compiled without the options required")
endif()
list(LENGTH REQUIRED options)
list(LENGTH compiled files)
message("${BUILD}: ${files} sources, each compiled with the ${options} required options")
