# Read by cpack as it makes each package (CPACK_PROJECT_CONFIG_FILE), so that it sees the source
# tree as it is then.

get_filename_component(top ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
find_program(GIT git)

# The time stamps of every file in a package, which CPack takes from SOURCE_DATE_EPOCH: by default
# the time of the last commit, so that the same commit gives the same package.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH} AND GIT)
    execute_process(COMMAND ${GIT} -C ${top} log -1 --format=%ct
        OUTPUT_VARIABLE commit_time OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(commit_time)
        set(ENV{SOURCE_DATE_EPOCH} ${commit_time})
    endif()
endif()

# The source archive holds what git tracks: whatever else a build or an editor left in the tree
# stays out. A tree that is not a git checkout (an unpacked archive) goes in as it is.
if(GIT)
    execute_process(COMMAND ${GIT} -C ${top} ls-files --others --directory
        OUTPUT_VARIABLE untracked OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    string(REPLACE "\n" ";" untracked "${untracked}")
    foreach(path IN LISTS untracked)
        string(REGEX REPLACE "([][+.*?()^$|\\])" "\\\\\\1" pattern "${top}/${path}")
        list(APPEND CPACK_IGNORE_FILES "^${pattern}")
    endforeach()
endif()
