# `cmake --install` lays the program out the usual Linux way, and CPack makes a
# Debian package of that layout:
#   bin/                          quilo-converter, quilo-convert
#   lib/quilo-converter/          the run-time libraries the programs load
#   share/quilo-converter/        identity file, profile definitions, shipped settings, help
#   share/applications, share/metainfo, share/icons/hicolor   the desktop's entries
# The programs find the two folders relative to their own (src/platform/program_folders.cpp).

if(TARGET quilo-converter)
  install(TARGETS quilo-converter RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(TARGETS quilo-convert RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS Tranzel authoring discwriter videodl LIBRARY DESTINATION ${QUILO_INSTALL_LIBRARY_DIR})

install(FILES ${QUILO_PROGRAM_DIR}/WinVersion.bin
              ${CMAKE_SOURCE_DIR}/data/PfDef.dll
              ${CMAKE_SOURCE_DIR}/data/PfSetting.ini
              ${CMAKE_SOURCE_DIR}/data/Option.ini
              ${CMAKE_SOURCE_DIR}/data/ProductLinks.ini
        DESTINATION ${QUILO_INSTALL_FILES_DIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/help/ DESTINATION ${QUILO_INSTALL_FILES_DIR}/help)

configure_file(${CMAKE_SOURCE_DIR}/data/desktop/quilo-converter.desktop.in
               ${QUILO_DESKTOP_DIR}/${QUILO_APP_ID}.desktop @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/data/desktop/quilo-converter.metainfo.xml.in
               ${QUILO_DESKTOP_DIR}/${QUILO_APP_ID}.metainfo.xml @ONLY)
if(TARGET quilo-converter)
  install(FILES ${QUILO_DESKTOP_DIR}/${QUILO_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${QUILO_DESKTOP_DIR}/${QUILO_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  # Drawn at build time from the skin's program icon (src/skin/tools/make_icons.cpp).
  install(DIRECTORY ${QUILO_DESKTOP_DIR}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quilo-converter)
set(CPACK_PACKAGE_VENDOR Quilo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Quilo <support@quilo-converter.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "video converter for devices, the web and DVD")
set(CPACK_PACKAGE_DESCRIPTION
    "Converts video files and web videos into 43 output targets (containers, HD formats, device\n"
    "families, audio-only formats and DVD), with trimming, cropping, saved profiles, DVD authoring\n"
    "and burning, and a command-line converter.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.quilo-converter.org/video-converter/)
# The linked libraries (Qt, FFmpeg, libburn, libjpeg) are found by dpkg-shlibdeps; what the
# programs load or run by name is listed here: MediaInfo, Qt's X11 platform plugin, the
# DVD tools, the web-video downloader and the desktop's opener.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libmediainfo0v5, qt6-qpa-plugins, dvdauthor, genisoimage, yt-dlp, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core")
include(CPack)
