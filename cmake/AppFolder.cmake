# Assembles the application folder beside the executable: the media tool
# link, the interface fonts, the player's font configuration and the help
# pages. The languages are compiled there by translations/.

find_program(SPLICORA_FFMPEG ffmpeg)
if(NOT SPLICORA_FFMPEG)
    message(WARNING "ffmpeg not found: probing and conversion will not work until it is installed")
endif()

set(_font_sources
    "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf|Arial.ttf"
    "/usr/share/fonts/truetype/lato/Lato-Bold.ttf|Lato-Bold.ttf"
    "/usr/share/fonts/truetype/lato/Lato-Regular.ttf|Lato-Regular.ttf"
    "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc|sum")

set(_app_folder_commands
    COMMAND ${CMAKE_COMMAND} -E make_directory "${SPLICORA_APP_DIR}/font" "${SPLICORA_APP_DIR}/fonts"
    COMMAND ${CMAKE_COMMAND} -E copy_if_different
            "${CMAKE_SOURCE_DIR}/resources/appfolder/fonts.conf" "${SPLICORA_APP_DIR}/fonts/fonts.conf"
    COMMAND ${CMAKE_COMMAND} -E copy_directory
            "${CMAKE_SOURCE_DIR}/resources/appfolder/help" "${SPLICORA_APP_DIR}/help")
foreach(_entry IN LISTS _font_sources)
    string(REPLACE "|" ";" _pair "${_entry}")
    list(GET _pair 0 _src)
    list(GET _pair 1 _dst)
    if(EXISTS "${_src}")
        list(APPEND _app_folder_commands
             COMMAND ${CMAKE_COMMAND} -E copy_if_different "${_src}" "${SPLICORA_APP_DIR}/font/${_dst}")
    else()
        message(STATUS "Font ${_src} not installed: ${_dst} is left out of the application folder")
    endif()
endforeach()
if(SPLICORA_FFMPEG AND NOT WIN32)
    list(APPEND _app_folder_commands
         COMMAND ${CMAKE_COMMAND} -E create_symlink "${SPLICORA_FFMPEG}" "${SPLICORA_APP_DIR}/ffmpeg")
endif()

add_custom_target(app_folder ALL ${_app_folder_commands}
    COMMENT "Assembling the application folder"
    VERBATIM)
add_dependencies(splicora app_folder splicora_translations)
