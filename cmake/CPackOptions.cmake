# Read by cpack as it makes each package (CPACK_PROJECT_CONFIG_FILE).

get_filename_component(top ${CMAKE_CURRENT_LIST_DIR}/.. REALPATH)
find_program(GIT git)

# The commit of the tree, where the tree is the top of a git checkout of its own, not a folder
# of another repository. What git says when it refuses a checkout is passed on.
if(GIT)
    execute_process(COMMAND ${GIT} -C ${top} rev-parse --show-toplevel
        OUTPUT_VARIABLE checkout ERROR_VARIABLE git_refusal
        OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_STRIP_TRAILING_WHITESPACE)
endif()
if(checkout)
    get_filename_component(checkout ${checkout} REALPATH)
endif()
if(checkout STREQUAL top)
    set(STUDENT_RECORD_GIT_CHECKOUT ${top})
elseif(EXISTS ${top}/.git AND git_refusal)
    set(STUDENT_RECORD_GIT_REFUSAL "git refuses the checkout ${top}:\n${git_refusal}\n")
endif()

# Every package's time stamps: SOURCE_DATE_EPOCH, by default the time of the last commit.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH} AND STUDENT_RECORD_GIT_CHECKOUT)
    execute_process(COMMAND ${GIT} -C ${top} log -1 --format=%ct
        OUTPUT_VARIABLE commit_time OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    set(ENV{SOURCE_DATE_EPOCH} ${commit_time})
elseif(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
    message(FATAL_ERROR "${STUDENT_RECORD_GIT_REFUSAL}The packages take their time stamps from "
        "the commit of a git checkout, and git gives none for ${top}: let git read it, or set "
        "SOURCE_DATE_EPOCH to the time of the release, in seconds since 1970-01-01 00:00 UTC")
endif()
