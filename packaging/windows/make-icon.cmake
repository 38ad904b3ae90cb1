# Draws SOURCE (an SVG) at every size in SIZES (separated by commas) and packs the pictures into the icon OUTPUT. Run by
# WindowsResources.cmake as cmake -P. The 256-pixel picture is kept as PNG, as Windows expects.
get_filename_component(folder ${OUTPUT} DIRECTORY)
set(small)
set(large)
string(REPLACE "," ";" sizes ${SIZES})
foreach(size ${sizes})
    set(picture ${folder}/quillet-${size}.png)
    execute_process(COMMAND ${RSVG_CONVERT} --width=${size} --height=${size} --output=${picture} ${SOURCE}
                    COMMAND_ERROR_IS_FATAL ANY)
    if(size GREATER_EQUAL 256)
        list(APPEND large --raw=${picture})
    else()
        list(APPEND small ${picture})
    endif()
endforeach()
execute_process(COMMAND ${ICOTOOL} --create --output=${OUTPUT} ${small} ${large} COMMAND_ERROR_IS_FATAL ANY)
