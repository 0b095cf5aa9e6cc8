# Checks the tree that "cmake --install" wrote into PREFIX: every file the
# program and the desktop need is there, nothing else is (no tests, no
# benchmarks, no link to the build machine's ffmpeg), and the desktop entry,
# the AppStream metadata and the icons are what desktops and software centres
# accept.
#
#   cmake -DPREFIX=<tree> -DAPP_DIR=lib/splicora -DVERSION=<x.y.z>
#         -DAPPSTREAM_ID=<id> -DICON_SIZES=16,22,... -P check_layout.cmake

foreach(_var PREFIX APP_DIR VERSION APPSTREAM_ID ICON_SIZES)
    if(NOT ${_var})
        message(FATAL_ERROR "install_layout: ${_var} is not set")
    endif()
endforeach()
string(REPLACE "," ";" ICON_SIZES "${ICON_SIZES}")

set(_failures 0)
macro(fail text)
    message(SEND_ERROR "install_layout: FAILED: ${text}")
    math(EXPR _failures "${_failures} + 1")
endmacro()
macro(skipped text)
    message(STATUS "install_layout: SKIPPED: ${text}")
endmacro()

if(NOT IS_DIRECTORY "${PREFIX}")
    message(FATAL_ERROR "install_layout: FAILED: ${PREFIX} does not exist (did install_prefix run?)")
endif()

set(_app "${PREFIX}/${APP_DIR}")
set(_desktop "${PREFIX}/share/applications/splicora.desktop")
set(_metainfo "${PREFIX}/share/metainfo/${APPSTREAM_ID}.metainfo.xml")
set(_svg "${PREFIX}/share/icons/hicolor/scalable/apps/splicora.svg")

# --- The application folder --------------------------------------------------
foreach(_file splicora splicora-cli ffplay libOrvelane.so fonts/fonts.conf
              Lang/Kelvane/Lang_config help/EN/index.html)
    if(NOT EXISTS "${_app}/${_file}" OR IS_DIRECTORY "${_app}/${_file}")
        fail("${APP_DIR}/${_file} is missing")
    endif()
endforeach()
foreach(_dir font fonts Lang help)
    if(NOT IS_DIRECTORY "${_app}/${_dir}")
        fail("${APP_DIR}/${_dir}/ is missing")
    endif()
endforeach()
# Every language the list offers has its compiled texts.
if(EXISTS "${_app}/Lang/Kelvane/Lang_config")
    file(STRINGS "${_app}/Lang/Kelvane/Lang_config" _languages REGEX "^[A-Z][A-Z]=")
    foreach(_line IN LISTS _languages)
        string(SUBSTRING "${_line}" 0 2 _code)
        if(NOT EXISTS "${_app}/Lang/Kelvane/Lang_${_code}.qm")
            fail("${APP_DIR}/Lang/Kelvane/Lang_${_code}.qm is missing (${_line} is listed)")
        endif()
    endforeach()
endif()
# The program finds ffmpeg on PATH; a link here would point at the build
# machine's copy.
foreach(_tool ffmpeg ffprobe)
    if(EXISTS "${_app}/${_tool}" OR IS_SYMLINK "${_app}/${_tool}")
        fail("${APP_DIR}/${_tool} is installed; the program must find it on PATH")
    endif()
endforeach()
file(GLOB _entries RELATIVE "${_app}" LIST_DIRECTORIES true "${_app}/*")
foreach(_entry IN LISTS _entries)
    if(NOT _entry MATCHES "^(splicora|splicora-cli|ffplay|libOrvelane\\.so|font|fonts|Lang|help)$")
        fail("${APP_DIR}/${_entry} does not belong in the application folder")
    endif()
endforeach()

# --- bin/: relative links into the application folder ------------------------
foreach(_program splicora splicora-cli)
    set(_bin "${PREFIX}/bin/${_program}")
    file(RELATIVE_PATH _expected_link "${PREFIX}/bin" "${_app}/${_program}")
    if(NOT IS_SYMLINK "${_bin}")
        fail("bin/${_program} is missing or not a link")
    else()
        file(READ_SYMLINK "${_bin}" _link)
        if(NOT _link STREQUAL _expected_link)
            fail("bin/${_program} points at '${_link}', not '${_expected_link}'")
        endif()
        file(REAL_PATH "${_bin}" _resolved)
        file(REAL_PATH "${_app}/${_program}" _real_program)
        if(NOT _resolved STREQUAL _real_program)
            fail("bin/${_program} resolves to '${_resolved}', not into ${APP_DIR}/")
        endif()
    endif()
endforeach()

# --- Nothing but the program's files ------------------------------------------
string(REPLACE "." "\\." _id_pattern "${APPSTREAM_ID}")
string(REPLACE "." "\\." _app_pattern "${APP_DIR}")
set(_allowed
    "^bin/splicora$"
    "^bin/splicora-cli$"
    "^${_app_pattern}/"
    "^share/applications/splicora\\.desktop$"
    "^share/icons/hicolor/[0-9]+x[0-9]+/apps/splicora\\.png$"
    "^share/icons/hicolor/scalable/apps/splicora\\.svg$"
    "^share/metainfo/${_id_pattern}\\.metainfo\\.xml$")
file(GLOB_RECURSE _installed RELATIVE "${PREFIX}" "${PREFIX}/*")
foreach(_file IN LISTS _installed)
    set(_known FALSE)
    foreach(_pattern IN LISTS _allowed)
        if(_file MATCHES "${_pattern}")
            set(_known TRUE)
            break()
        endif()
    endforeach()
    if(NOT _known)
        fail("${_file} is installed but is none of the program's files")
    endif()
endforeach()

# --- The program files find their libraries ----------------------------------
find_program(_ldd ldd)
if(_ldd)
    foreach(_file splicora splicora-cli ffplay libOrvelane.so)
        if(EXISTS "${_app}/${_file}")
            execute_process(COMMAND "${_ldd}" "${_app}/${_file}"
                            RESULT_VARIABLE _result OUTPUT_VARIABLE _libs ERROR_VARIABLE _libs)
            if(NOT _result EQUAL 0 OR _libs MATCHES "not found")
                fail("ldd ${APP_DIR}/${_file} does not resolve every library:\n${_libs}")
            endif()
        endif()
    endforeach()
else()
    skipped("ldd missing: the program files' libraries were not checked")
endif()

# --- The desktop entry --------------------------------------------------------
if(NOT EXISTS "${_desktop}")
    fail("share/applications/splicora.desktop is missing")
else()
    # Read whole: values hold ";", which a CMake list would split.
    file(READ "${_desktop}" _entry)
    string(PREPEND _entry "\n")
    foreach(_line "Type=Application" "Name=Splicora" "Exec=splicora %F" "Icon=splicora"
                  "Terminal=false")
        string(FIND "${_entry}" "\n${_line}\n" _at)
        if(_at LESS 0)
            fail("splicora.desktop lacks the line '${_line}'")
        endif()
    endforeach()
    foreach(_key GenericName Comment Keywords Categories MimeType)
        if(NOT _entry MATCHES "\n${_key}=[^\n]")
            fail("splicora.desktop has no ${_key}")
        endif()
    endforeach()
    foreach(_key Name GenericName Comment)
        foreach(_lang de fr es zh_CN)
            if(NOT _entry MATCHES "\n${_key}\\[${_lang}\\]=[^\n]")
                fail("splicora.desktop has no ${_key}[${_lang}]")
            endif()
        endforeach()
    endforeach()
    string(REGEX MATCH "\nCategories=[^\n]*" _categories "${_entry}")
    foreach(_category AudioVideo Video AudioVideoEditing)
        if(NOT _categories MATCHES "[=;]${_category};")
            fail("splicora.desktop is not in the category ${_category}")
        endif()
    endforeach()
    # "Open with" for the common video and audio files the program takes.
    string(REGEX MATCH "\nMimeType=[^\n]*" _types "${_entry}")
    foreach(_type video/mp4 video/x-matroska video/quicktime video/x-msvideo video/webm
                  video/mpeg video/mp2t audio/mpeg audio/mp4 audio/x-wav audio/flac audio/ogg)
        string(FIND "${_types}" "${_type};" _at)
        if(_at LESS 0)
            fail("splicora.desktop does not offer to open ${_type}")
        endif()
    endforeach()

    find_program(_desktop_validate desktop-file-validate)
    if(_desktop_validate)
        execute_process(COMMAND "${_desktop_validate}" "${_desktop}"
                        RESULT_VARIABLE _result OUTPUT_VARIABLE _said ERROR_VARIABLE _said)
        if(NOT _result EQUAL 0 OR _said MATCHES "error:")
            fail("desktop-file-validate rejects splicora.desktop:\n${_said}")
        elseif(NOT _said STREQUAL "")
            message(STATUS "desktop-file-validate: ${_said}")
        endif()
    else()
        skipped("desktop-file-validate missing (package desktop-file-utils): the desktop entry was not validated")
    endif()

    # What "Open with" reads: the cache built from the entry, made in a copy
    # so the installed tree stays as the install left it.
    find_program(_update_desktop update-desktop-database)
    if(_update_desktop)
        get_filename_component(_apps_copy "${PREFIX}/../layout-applications" ABSOLUTE)
        file(REMOVE_RECURSE "${_apps_copy}")
        file(COPY "${_desktop}" DESTINATION "${_apps_copy}")
        execute_process(COMMAND "${_update_desktop}" "${_apps_copy}"
                        RESULT_VARIABLE _result OUTPUT_VARIABLE _said ERROR_VARIABLE _said)
        set(_cache "")
        if(EXISTS "${_apps_copy}/mimeinfo.cache")
            file(READ "${_apps_copy}/mimeinfo.cache" _cache)
        endif()
        foreach(_type video/mp4 audio/mpeg)
            if(NOT _cache MATCHES "\n${_type}=([^\n]*;)?splicora\\.desktop;")
                fail("update-desktop-database does not offer splicora.desktop for ${_type}:\n${_said}")
            endif()
        endforeach()
        file(REMOVE_RECURSE "${_apps_copy}")
    else()
        skipped("update-desktop-database missing (package desktop-file-utils): the MIME cache was not checked")
    endif()
endif()

# --- The AppStream metadata ---------------------------------------------------
if(NOT EXISTS "${_metainfo}")
    fail("share/metainfo/${APPSTREAM_ID}.metainfo.xml is missing")
else()
    file(READ "${_metainfo}" _meta)
    foreach(_needle
            "<id>${APPSTREAM_ID}</id>"
            "<launchable type=\"desktop-id\">splicora.desktop</launchable>"
            "<binary>splicora</binary>"
            "<release version=\"${VERSION}\""
            "<metadata_license>CC0-1.0</metadata_license>"
            "<content_rating")
        string(FIND "${_meta}" "${_needle}" _at)
        if(_at LESS 0)
            fail("${APPSTREAM_ID}.metainfo.xml lacks ${_needle}")
        endif()
    endforeach()
    if(_meta MATCHES "@[A-Z_]+@")
        fail("${APPSTREAM_ID}.metainfo.xml has an unfilled placeholder ${CMAKE_MATCH_0}")
    endif()

    find_program(_appstreamcli appstreamcli)
    if(_appstreamcli)
        execute_process(COMMAND "${_appstreamcli}" validate --no-net "${_metainfo}"
                        RESULT_VARIABLE _result OUTPUT_VARIABLE _said ERROR_VARIABLE _said)
        if(NOT _result EQUAL 0)
            fail("appstreamcli validate --no-net rejects ${APPSTREAM_ID}.metainfo.xml:\n${_said}")
        else()
            string(STRIP "${_said}" _said)
            message(STATUS "appstreamcli: ${_said}")
        endif()
    else()
        skipped("appstreamcli missing (package appstream): the metadata was not validated")
    endif()
endif()

# --- The icons ----------------------------------------------------------------
# A PNG starts with its 8-byte signature and the IHDR chunk, whose width and
# height are big-endian 32-bit numbers at bytes 16 and 20.
foreach(_size IN LISTS ICON_SIZES)
    set(_png "${PREFIX}/share/icons/hicolor/${_size}x${_size}/apps/splicora.png")
    if(NOT EXISTS "${_png}")
        fail("share/icons/hicolor/${_size}x${_size}/apps/splicora.png is missing")
        continue()
    endif()
    file(SIZE "${_png}" _bytes)
    if(_bytes LESS 33)
        fail("the ${_size}x${_size} icon has only ${_bytes} bytes")
        continue()
    endif()
    file(READ "${_png}" _head LIMIT 24 HEX)
    string(SUBSTRING "${_head}" 0 16 _signature)
    string(SUBSTRING "${_head}" 32 8 _width_hex)
    string(SUBSTRING "${_head}" 40 8 _height_hex)
    math(EXPR _width "0x${_width_hex}")
    math(EXPR _height "0x${_height_hex}")
    if(NOT _signature STREQUAL "89504e470d0a1a0a")
        fail("the ${_size}x${_size} icon is not a PNG")
    elseif(NOT _width EQUAL _size OR NOT _height EQUAL _size)
        fail("the ${_size}x${_size} icon is ${_width} x ${_height} pixels")
    endif()
endforeach()
if(NOT EXISTS "${_svg}")
    fail("share/icons/hicolor/scalable/apps/splicora.svg is missing")
else()
    file(READ "${_svg}" _drawing)
    if(NOT _drawing MATCHES "<svg [^>]*viewBox=\"0 0 [0-9]+ [0-9]+\"" OR NOT _drawing MATCHES "</svg>")
        fail("splicora.svg is not a whole SVG drawing with a viewBox")
    endif()
endif()

if(_failures GREATER 0)
    message(FATAL_ERROR "install_layout: ${_failures} check(s) failed in ${PREFIX}")
endif()
message(STATUS "install_layout: every check passed in ${PREFIX}")
