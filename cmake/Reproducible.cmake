# Run by cpack on each package that it has made (CPACK_POST_BUILD_SCRIPTS), to take out what CPack
# leaves of the machine: the umask's modes, the building user, the file system's order of entries,
# the local time zone (in a .zip) and the size of directories on disk (in a .deb's Installed-Size).

foreach(package IN LISTS CPACK_PACKAGE_FILES)
    if(package MATCHES "\\.deb$")
        # Unpacked and packed again by dpkg-deb, which sorts the entries and gives them to root.
        set(tree ${CPACK_TOPLEVEL_DIRECTORY}/reproducible)
        file(REMOVE_RECURSE ${tree})
        execute_process(COMMAND dpkg-deb -R ${package} ${tree} COMMAND_ERROR_IS_FATAL ANY)
        execute_process(COMMAND chmod -R u=rwX,go=rX ${tree} COMMAND_ERROR_IS_FATAL ANY)

        # The installed size in KiB as dpkg-gencontrol counts it: each file rounded up to a KiB,
        # and one for each directory, whatever its size on disk.
        file(GLOB_RECURSE entries LIST_DIRECTORIES true RELATIVE ${tree} ${tree}/*)
        list(FILTER entries EXCLUDE REGEX "^DEBIAN(/|$)")
        set(kib 0)
        foreach(entry IN LISTS entries)
            if(IS_DIRECTORY ${tree}/${entry})
                math(EXPR kib "${kib} + 1")
            else()
                file(SIZE ${tree}/${entry} size)
                math(EXPR kib "${kib} + (${size} + 1023) / 1024")
            endif()
        endforeach()
        file(READ ${tree}/DEBIAN/control control)
        string(REGEX REPLACE "\nInstalled-Size: [0-9]+\n" "\nInstalled-Size: ${kib}\n"
            control "${control}")
        file(WRITE ${tree}/DEBIAN/control "${control}")

        # dpkg-deb moves only later times back to SOURCE_DATE_EPOCH: every entry is dated 2100.
        execute_process(COMMAND find ${tree} -exec touch -h -d @4102444800 {} +
            COMMAND_ERROR_IS_FATAL ANY)

        execute_process(
            COMMAND dpkg-deb --root-owner-group -Zgzip -z9 --build ${tree} ${package}
            OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
    elseif(package MATCHES "\\.zip$")
        # Sorted, dated SOURCE_DATE_EPOCH (a .zip keeps local time: here UTC), modes 0644, 0755.
        find_program(STRIP_NONDETERMINISM strip-nondeterminism REQUIRED)
        execute_process(
            COMMAND ${CMAKE_COMMAND} -E env TZ=UTC0 ${STRIP_NONDETERMINISM} --type zip
                --timestamp $ENV{SOURCE_DATE_EPOCH} ${package}
            COMMAND_ERROR_IS_FATAL ANY)
    endif()
endforeach()
