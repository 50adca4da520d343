# Run by cpack to make the source archive (CPACK_EXTERNAL_PACKAGE_SCRIPT): the files of the commit
# that is checked out, as `git archive` gives them, and nothing else.

if(NOT STUDENT_RECORD_GIT_CHECKOUT)
    message(FATAL_ERROR "${STUDENT_RECORD_GIT_REFUSAL}The source archive holds the files of a "
        "git commit, and git gives none for ${top}: an unpacked one is its own source archive")
endif()

# Directories 0755, files 0644, scripts 0755, whatever the umask; owned by root, dated by git.
set(archive ${CPACK_TEMPORARY_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}.tar.gz)
execute_process(
    COMMAND ${GIT} -C ${top} -c tar.umask=022 archive --format=tar.gz
        --prefix=${CPACK_PACKAGE_FILE_NAME}/ --output=${archive} HEAD
    COMMAND_ERROR_IS_FATAL ANY)
set(CPACK_EXTERNAL_BUILT_PACKAGES ${archive})
