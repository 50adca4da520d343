# Run by cpack on the files of the Debian package before it packs them (CPACK_PRE_BUILD_SCRIPTS).
# CPack's strip leaves the sections that Debian's own dh_strip also removes: .comment, which names
# the compiler of every object linked in, and .note.

if(CPACK_GENERATOR STREQUAL "DEB")
    file(GLOB_RECURSE programs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
    list(FILTER programs INCLUDE REGEX "/bin/[^/]+$")
    foreach(program IN LISTS programs)
        execute_process(COMMAND ${CPACK_OBJCOPY_EXECUTABLE} --remove-section=.comment
            --remove-section=.note ${program} COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
endif()
