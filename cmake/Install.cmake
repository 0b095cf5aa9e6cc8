# Installing the program, and packaging it as a .deb with CPack.
#
# The program finds everything it needs beside its own executable, so the
# application folder is installed whole, as the build lays it out, under
# lib/splicora; bin/ gets only links to the two executables, the window's and
# the command line's. Each resolves its link through /proc/self/exe, so it
# still finds its folder. The desktop entry, the icons and the AppStream
# metadata go where desktops and software centres look for them.

set(SPLICORA_INSTALL_APP_DIR "lib/splicora" CACHE STRING
    "Application folder below the install prefix")
set(SPLICORA_APPSTREAM_ID "com.tarnwick.Splicora")
set(SPLICORA_PROJECT_LICENSE "LicenseRef-proprietary" CACHE STRING
    "SPDX licence expression of the program, for the AppStream metadata")
set(SPLICORA_PACKAGE_MAINTAINER "Tarnwick <splicora@tarnwick.invalid>" CACHE STRING
    "Maintainer field of the .deb")

set(_desktop_src "${CMAKE_SOURCE_DIR}/resources/desktop")
set(_install_gen "${CMAKE_BINARY_DIR}/install")

# The program and what it loads or starts from its own folder. The link to
# the system's ffmpeg stays behind: it only points at a copy on PATH, which
# the program searches anyway, and would dangle on any other system.
install(TARGETS splicora splicora-cli ffplay RUNTIME DESTINATION "${SPLICORA_INSTALL_APP_DIR}")
install(TARGETS Orvelane LIBRARY DESTINATION "${SPLICORA_INSTALL_APP_DIR}")
install(DIRECTORY
        "${SPLICORA_APP_DIR}/font"
        "${SPLICORA_APP_DIR}/fonts"
        "${SPLICORA_APP_DIR}/Lang"
        "${SPLICORA_APP_DIR}/help"
    DESTINATION "${SPLICORA_INSTALL_APP_DIR}")

# A relative link, so the tree can be moved or unpacked under any root.
file(RELATIVE_PATH _bin_to_app "/prefix/bin" "/prefix/${SPLICORA_INSTALL_APP_DIR}")
file(MAKE_DIRECTORY "${_install_gen}/bin")
foreach(_program splicora splicora-cli)
    file(CREATE_LINK "${_bin_to_app}/${_program}" "${_install_gen}/bin/${_program}" SYMBOLIC)
    install(FILES "${_install_gen}/bin/${_program}" DESTINATION bin)
endforeach()

install(FILES "${_desktop_src}/splicora.desktop" DESTINATION share/applications)
install(DIRECTORY "${SPLICORA_ICON_THEME_DIR}/" DESTINATION share/icons/hicolor)

# The release date follows SOURCE_DATE_EPOCH when the packager sets it, so
# the same sources always give the same package.
string(TIMESTAMP SPLICORA_RELEASE_DATE "%Y-%m-%d" UTC)
# Web addresses only when the build names real ones; the shipped help pages
# have none.
function(splicora_appstream_url type address)
    if(address)
        string(REPLACE "&" "&amp;" address "${address}")
        set(SPLICORA_APPSTREAM_URLS
            "${SPLICORA_APPSTREAM_URLS}  <url type=\"${type}\">${address}</url>\n" PARENT_SCOPE)
    endif()
endfunction()
set(SPLICORA_APPSTREAM_URLS "")
splicora_appstream_url(homepage "${SPLICORA_HOMEPAGE_URL}")
splicora_appstream_url(help "${SPLICORA_SUPPORT_URL}")
configure_file("${_desktop_src}/splicora.metainfo.xml.in"
               "${_install_gen}/${SPLICORA_APPSTREAM_ID}.metainfo.xml" @ONLY)
install(FILES "${_install_gen}/${SPLICORA_APPSTREAM_ID}.metainfo.xml" DESTINATION share/metainfo)

# ---------------------------------------------------------------------------
# The .deb: "cpack -G DEB" in the build folder.

set(CPACK_PACKAGE_NAME "splicora")
set(CPACK_PACKAGE_VENDOR "Tarnwick")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "${SPLICORA_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "cut a video or audio file, or join several into one")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Splicora takes media files into a list, previews them, cuts each to a\n"
    "start and an end point and joins them into one file. Cuts and joins of\n"
    "files in one format are lossless; files in different formats are\n"
    "re-encoded to the format of the file chosen for the output.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR "DEB")
set(CPACK_DEBIAN_FILE_NAME "DEB-DEFAULT")
set(CPACK_DEBIAN_PACKAGE_SECTION "video")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${SPLICORA_PACKAGE_MAINTAINER}")
if(SPLICORA_HOMEPAGE_URL)
    set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${SPLICORA_HOMEPAGE_URL}")
endif()
# dpkg-shlibdeps finds the libraries the four program files link to. It
# cannot see what the program starts or loads by name:
# - ffmpeg and ffprobe, run as tools for every probe and job;
# - the toolkit's X11 platform plugin, without which no window opens.
# The interface fonts are not needed: the build copies them into the
# application folder, which the package carries.
# The toolkit's own translations only translate its standard dialogs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "ffmpeg, qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")

set(CPACK_SOURCE_GENERATOR "TXZ")
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build[^/]*/" "/\\\\.cache/")

include(CPack)
