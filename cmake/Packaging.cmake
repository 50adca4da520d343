# What `cmake --install` puts where, and the packages that `cpack` makes of a release build: a
# .deb and a source archive on Linux, a .zip for Windows, the same bytes wherever they are made.
# Install components: Unspecified (the program, README.md, NEWS.md), license, manual, and debian
# (copyright, changelog.gz and the compressed manual page), which the .deb takes with Unspecified.

# On Windows the program goes in one folder, with its licence and README beside it.
if(WIN32)
    set(CMAKE_INSTALL_BINDIR . CACHE PATH "User executables (bin)")
endif()
include(GNUInstallDirs)

# The directories that an install makes are 0755 whatever the umask, as its files are 0644 and its
# program 0755: CMake would make them with mkdir, which the umask restricts.
set(destinations ${CMAKE_INSTALL_BINDIR})
if(NOT WIN32)
    list(APPEND destinations ${CMAKE_INSTALL_DOCDIR} ${CMAKE_INSTALL_MANDIR}/man1)
endif()
install(CODE "set(destinations [==[${destinations}]==])" ALL_COMPONENTS)
install(CODE [[
    foreach(destination IN LISTS destinations)
        cmake_path(ABSOLUTE_PATH destination BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}" NORMALIZE)
        set(directory "$ENV{DESTDIR}${destination}")
        set(missing "")
        while(NOT EXISTS "${directory}")
            list(PREPEND missing "${directory}")
            cmake_path(GET directory PARENT_PATH directory)
        endwhile()
        foreach(directory IN LISTS missing)
            file(MAKE_DIRECTORY "${directory}")
            file(CHMOD "${directory}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
                GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
        endforeach()
    endforeach()]] ALL_COMPONENTS)

# The version is said once, in project(); the manual page and the changes must agree with it.
file(STRINGS ${PROJECT_SOURCE_DIR}/man/student-record.1 manual_title REGEX "^\\.TH ")
if(NOT manual_title MATCHES "\"${PROJECT_NAME} ${PROJECT_VERSION}\"")
    message(FATAL_ERROR "man/student-record.1: .TH must name ${PROJECT_NAME} ${PROJECT_VERSION}")
endif()
file(READ ${PROJECT_SOURCE_DIR}/NEWS.md news)
if(NOT news MATCHES "\n## ${PROJECT_VERSION} \\(([^)]+)\\)\n\n(.*)")
    message(FATAL_ERROR "NEWS.md: its first entry must be '## ${PROJECT_VERSION} (DATE)'")
endif()
set(news_date ${CMAKE_MATCH_1})
string(REGEX REPLACE "\n## .*" "" news_entry "${CMAKE_MATCH_2}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/NEWS.md ${PROJECT_SOURCE_DIR}/LICENSE
    ${PROJECT_SOURCE_DIR}/man/student-record.1 ${PROJECT_SOURCE_DIR}/docs/installed-readme.md.in
    ${PROJECT_SOURCE_DIR}/tests/cases/worked-example.out)
# The licence's name, its first line, which the installed README names.
file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE license_name LIMIT_COUNT 1)

# Debian's forms of the licence (its machine-readable copyright format), of the newest entry of
# the changes and of the manual page, made in FOLDER and installed with the component debian.
function(debian_files folder)
    find_program(GZIP gzip REQUIRED)
    file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
    string(REGEX MATCH "Copyright \\(c\\) ([^\n]+)" copyright "${license}")
    set(copyright ${CMAKE_MATCH_1})
    string(REGEX REPLACE "^.*\n(Permission is hereby granted)" "\\1" license "${license}")
    string(REGEX REPLACE "\n+$" "" license "${license}")
    string(REGEX REPLACE "\n\n" "\n.\n" license "${license}")
    string(REPLACE "\n" "\n " license "${license}")
    file(WRITE ${folder}/copyright
        "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
        "Upstream-Name: ${PROJECT_NAME}\n\n"
        "Files: *\nCopyright: ${copyright}\nLicense: Expat\n ${license}\n")

    # Each item of the entry is a bullet of two-space indented lines in NEWS.md, in Markdown.
    string(REGEX REPLACE "\n+$" "" items "${news_entry}")
    string(REPLACE "`" "" items "${items}")
    string(REGEX REPLACE "(^|\n)- " "\\1  * " items "${items}")
    string(REGEX REPLACE "\n  ([^ *])" "\n    \\1" items "${items}")
    file(WRITE ${folder}/changelog
        "${PROJECT_NAME} (${PROJECT_VERSION}) unstable; urgency=medium\n\n${items}\n\n"
        " -- ${CPACK_PACKAGE_CONTACT}  ${news_date} 00:00:00 +0000\n")

        foreach(file IN ITEMS ${folder}/changelog ${PROJECT_SOURCE_DIR}/man/student-record.1)
        get_filename_component(name ${file} NAME)
        execute_process(COMMAND ${GZIP} -9nc INPUT_FILE ${file} OUTPUT_FILE ${folder}/${name}.gz
            COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
    install(FILES ${folder}/copyright ${folder}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR}
        COMPONENT debian EXCLUDE_FROM_ALL)
    install(FILES ${folder}/student-record.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
        COMPONENT debian EXCLUDE_FROM_ALL)
endfunction()

# The project has no mail address of its own; Debian needs one, so it is one of a reserved domain.
set(CPACK_PACKAGE_CONTACT "The student-record authors <student-record@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "ask for a student's names and tuition and report the record")
set(CPACK_PACKAGE_DESCRIPTION [[
student-record asks for a student's first name, last name and tuition
amount, builds a record from the three answers, and prints a record built
with no data beside the record built from the answers, in a fixed bracketed
layout. Every answer is taken as typed; a standard stream that fails, or
memory that runs out, is reported on standard error with exit status 1.]])
set(CPACK_STRIP_FILES ON)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/CPackOptions.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/Reproducible.cmake)

# What is installed has a README of its own, for the person who runs the program, whose examples
# show the worked example's report. On Windows the manual page goes beside the program as text.
file(READ ${PROJECT_SOURCE_DIR}/tests/cases/worked-example.out report)
if(WIN32)
    set(run "This folder, `${PROJECT_NAME}-${PROJECT_VERSION}-win32` or `-win64` as its .zip \
unpacks, holds `student-record.exe`. Run it from a console, Command Prompt or PowerShell, and \
answer its three questions; opened from Explorer, its window closes as soon as the report is \
written. In Command Prompt, these commands write the answers to a file of three lines, and the \
last reads them from it:\n\n```doscon\n> echo Ann>answers.txt\n> echo Lee>>answers.txt\n\
> echo 950.25>>answers.txt\n> student-record.exe <answers.txt\n${report}```")
    find_program(GROFF groff)
    if(GROFF)
        set(manual "`student-record.txt`, beside the program, is its manual page: how it reads \
the answers and what it prints, its exit status and its messages.")
        execute_process(
            COMMAND ${GROFF} -man -Tascii -P-cbou ${PROJECT_SOURCE_DIR}/man/student-record.1
            OUTPUT_FILE ${PROJECT_BINARY_DIR}/student-record.txt COMMAND_ERROR_IS_FATAL ANY)
        set(installed_files ${PROJECT_BINARY_DIR}/student-record.txt)
    else()
        message(WARNING "No groff here to render the manual page as text: what this build "
            "installs and packs lacks it (on Debian and Ubuntu: apt-get install groff-base)")
        set(manual "Its manual page, `man/student-record.1`, is in the source archive.")
    endif()
    set(documents ${CMAKE_INSTALL_BINDIR})
    set(CPACK_GENERATOR ZIP)
else()
    set(run "Run `student-record` in a terminal and answer its three questions, or give it the \
answers on standard input:\n\n```console\n\
$ printf 'Ann\\nLee\\n950.25\\n' | student-record\n${report}```")
    set(manual "Its manual page tells how it reads the answers and what it prints, its exit status \
and its messages:\n\n```sh\nman student-record\n```")
    set(installed_files NEWS.md)
    set(documents ${CMAKE_INSTALL_DOCDIR})
    install(FILES man/student-record.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT manual)
endif()
configure_file(docs/installed-readme.md.in README.md @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/README.md ${installed_files} DESTINATION ${documents})
install(FILES LICENSE DESTINATION ${documents} COMPONENT license)
if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
    set(CPACK_GENERATOR DEB)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION utils)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEB_COMPONENT_INSTALL ON)
    set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
    set(CPACK_COMPONENTS_ALL Unspecified debian)
    set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/DebianStrip.cmake)
    debian_files(${PROJECT_BINARY_DIR}/debian)
endif()

# The source archive: the files of the commit, made by git (cmake/SourceArchive.cmake).
set(CPACK_SOURCE_GENERATOR External)
set(CPACK_EXTERNAL_PACKAGE_SCRIPT ${PROJECT_SOURCE_DIR}/cmake/SourceArchive.cmake)
set(CPACK_SOURCE_PACKAGE_FILE_NAME ${PROJECT_NAME}-${PROJECT_VERSION})

include(CPack)
