# Where `cmake --install` puts things, under any prefix: the programs with
# their libraries and plug-ins together in one private folder (they load the
# plug-ins from their own folder and find the libraries through RPATH
# $ORIGIN), launchers in bin, the desktop's data in share.
include(GNUInstallDirs)

set(ONDRIX_PACKAGE_NAME ondrix)
set(ONDRIX_INSTALL_PRIVATE_DIR lib/${ONDRIX_PACKAGE_NAME})
set(ONDRIX_INSTALL_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/${ONDRIX_PACKAGE_NAME})
# The application id: the desktop entry, the icon and the metainfo are named
# after it.
set(ONDRIX_APP_ID org.example.Ondrix)
# The group that owns the detector's device nodes: the udev rule gives them
# to it, systemd-sysusers creates it from the file of that name, the
# server's unit joins it.
set(ONDRIX_DEVICE_GROUP ondrix)
set(ONDRIX_SYSUSERS_FILE ${ONDRIX_PACKAGE_NAME}.conf)

find_program(ONDRIX_GZIP gzip REQUIRED)

# Compressed at build time the way Debian wants it: best compression, no
# name and no time stamp inside, so that the bytes depend on the text alone.
function(ondrix_gzip source output)
    get_filename_component(name ${output} NAME_WLE)
    set(copy ${CMAKE_CURRENT_BINARY_DIR}/gzip/${name})
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/gzip
        COMMAND ${CMAKE_COMMAND} -E copy ${source} ${copy}
        COMMAND ${ONDRIX_GZIP} -9nf ${copy}
        COMMAND ${CMAKE_COMMAND} -E rename ${copy}.gz ${output}
        DEPENDS ${source}
        VERBATIM)
endfunction()

# A program, a shared library or a plug-in into the private folder; a
# program also gets its launcher in bin, a relative symbolic link (the
# programs find their folder through the link's target).
function(ondrix_install target)
    install(TARGETS ${target}
        RUNTIME DESTINATION ${ONDRIX_INSTALL_PRIVATE_DIR}
        LIBRARY DESTINATION ${ONDRIX_INSTALL_PRIVATE_DIR})
    get_target_property(type ${target} TYPE)
    if(NOT type STREQUAL "EXECUTABLE")
        return()
    endif()
    file(RELATIVE_PATH target_path /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${ONDRIX_INSTALL_PRIVATE_DIR}/${target})
    set(launcher ${CMAKE_BINARY_DIR}/launchers/${target})
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/launchers)
    file(CREATE_LINK ${target_path} ${launcher} SYMBOLIC)
    install(FILES ${launcher} DESTINATION ${CMAKE_INSTALL_BINDIR})
endfunction()

# A man page of the current folder, e.g. ondrix_install_man(ondrixctl.1).
function(ondrix_install_man page)
    string(REGEX MATCH "[1-9]$" section ${page})
    set(compressed ${CMAKE_CURRENT_BINARY_DIR}/${page}.gz)
    ondrix_gzip(${CMAKE_CURRENT_SOURCE_DIR}/${page} ${compressed})
    add_custom_target(man_${page} ALL DEPENDS ${compressed})
    install(FILES ${compressed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
endfunction()

# A file for the system's services (a udev rule, a systemd unit) into
# `subdir` of the prefix. Debian 12 keeps these under /lib, outside /usr:
# an installation into /usr (the package's) puts them there, as
# GNUInstallDirs does with /etc. The prefix is only known at install time,
# so is everything the file says about it: @ONDRIX_INSTALL_FULL_PRIVATE_DIR@
# stands for the private folder, @ONDRIX_DEVICE_GROUP@ for the group.
function(ondrix_install_system_file file subdir)
    set(source ${CMAKE_CURRENT_SOURCE_DIR}/${file})
    install(CODE "
        set(ondrix_root \"\${CMAKE_INSTALL_PREFIX}\")
        if(ondrix_root STREQUAL \"/usr\")
            set(ondrix_root \"\")
        endif()
        set(ONDRIX_INSTALL_FULL_PRIVATE_DIR \"\${CMAKE_INSTALL_PREFIX}/${ONDRIX_INSTALL_PRIVATE_DIR}\")
        set(ONDRIX_DEVICE_GROUP ${ONDRIX_DEVICE_GROUP})
        file(READ \"${source}\" ondrix_text)
        string(CONFIGURE \"\${ondrix_text}\" ondrix_text @ONLY)
        # One copy per destination: installations may run side by side.
        string(MD5 ondrix_key \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
        set(ondrix_copy \"${CMAKE_CURRENT_BINARY_DIR}/system-files/\${ondrix_key}/${file}\")
        file(WRITE \"\${ondrix_copy}\" \"\${ondrix_text}\")
        file(INSTALL \"\${ondrix_copy}\" DESTINATION \"\${ondrix_root}/${subdir}\")")
endfunction()
