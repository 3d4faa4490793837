# Where `cmake --install` puts things, relative to the prefix: programs in bin/, the shared
# libraries in a private folder of lib/, the plugins in a folder of their own below it, data in
# share/. Each installed binary finds the libraries through an $ORIGIN-relative RPATH, so an
# installed tree runs from any prefix. The build tree keeps everything in one folder.
include(GNUInstallDirs)

set(ORVANE_INSTALL_LIBDIR ${CMAKE_INSTALL_LIBDIR}/orvane)
set(ORVANE_INSTALL_PLUGINDIR ${ORVANE_INSTALL_LIBDIR}/plugins)
set(ORVANE_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/orvane)

# orvane_relative_dir(VAR FROM TO): the path from one install folder to another.
function(orvane_relative_dir var from to)
    file(RELATIVE_PATH path /prefix/${from} /prefix/${to})
    string(REGEX REPLACE "/$" "" path "${path}")
    if(path STREQUAL "")
        set(path .)
    endif()
    set(${var} ${path} PARENT_SCOPE)
endfunction()

orvane_relative_dir(ORVANE_PLUGINDIR_FROM_BINDIR ${CMAKE_INSTALL_BINDIR} ${ORVANE_INSTALL_PLUGINDIR})
orvane_relative_dir(_libdir_from_bindir ${CMAKE_INSTALL_BINDIR} ${ORVANE_INSTALL_LIBDIR})
orvane_relative_dir(_libdir_from_plugindir ${ORVANE_INSTALL_PLUGINDIR} ${ORVANE_INSTALL_LIBDIR})

# Shared libraries and plugins are not programs: no execute bits.
set(_orvane_library_permissions OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

# orvane_install_program(TARGET [COMPONENT name]): a program of bin/, told the project's version
# (ORVANE_VERSION) for its --version. A COMPONENT keeps it out of a plain install and the package.
function(orvane_install_program target)
    cmake_parse_arguments(ARG "" "COMPONENT" "" ${ARGN})
    set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN/${_libdir_from_bindir}")
    target_compile_definitions(${target} PRIVATE ORVANE_VERSION="${PROJECT_VERSION}")
    if(ARG_COMPONENT)
        install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
                COMPONENT ${ARG_COMPONENT} EXCLUDE_FROM_ALL)
    else()
        install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
endfunction()

function(orvane_install_library target)
    set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN")
    install(TARGETS ${target} LIBRARY DESTINATION ${ORVANE_INSTALL_LIBDIR}
            PERMISSIONS ${_orvane_library_permissions})
endfunction()

function(orvane_install_plugin target)
    set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN/${_libdir_from_plugindir}")
    install(TARGETS ${target} LIBRARY DESTINATION ${ORVANE_INSTALL_PLUGINDIR}
            PERMISSIONS ${_orvane_library_permissions})
endfunction()
