# The resources every Windows program of Quillet carries: the application icon, which Explorer, the
# Start menu and the taskbar show, and the version information of the file's properties.

# The icon, drawn from the same picture as the Linux menu entry's, at the sizes Windows asks for.
enable_language(RC)

set(QUILLET_ICON ${CMAKE_BINARY_DIR}/packaging/windows/quillet.ico)
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
find_program(ICOTOOL icotool REQUIRED)
add_custom_command(
    OUTPUT ${QUILLET_ICON}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging/windows
    COMMAND ${CMAKE_COMMAND} -DRSVG_CONVERT=${RSVG_CONVERT} -DICOTOOL=${ICOTOOL}
            -DSOURCE=${PROJECT_SOURCE_DIR}/packaging/quillet.svg -DOUTPUT=${QUILLET_ICON}
            -DSIZES=16,24,32,48,64,128,256 -P ${CMAKE_CURRENT_LIST_DIR}/make-icon.cmake
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/quillet.svg ${CMAKE_CURRENT_LIST_DIR}/make-icon.cmake
    COMMENT "Drawing the program icon"
    VERBATIM)
add_custom_target(quillet_icon DEPENDS ${QUILLET_ICON})

# quillet_add_windows_resources(TARGET DESCRIPTION): the icon and the version information, with
# DESCRIPTION as the file's description.
function(quillet_add_windows_resources target description)
    set(QUILLET_RESOURCE_NAME ${target})
    set(QUILLET_RESOURCE_DESCRIPTION ${description})
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
    configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/quillet.rc.in ${rc} @ONLY)
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${QUILLET_ICON})
    target_sources(${target} PRIVATE ${rc})
    add_dependencies(${target} quillet_icon)
endfunction()
