# What `cmake --install` puts under the prefix, and the Debian package that
# `cpack -G DEB` makes of it. The program finds its data from its own place:
# <prefix>/bin/tesselar reads <prefix>/share/tesselar.
include(GNUInstallDirs)
set(TESSELAR_DATA_DIR ${CMAKE_INSTALL_DATADIR}/tesselar)
set(TESSELAR_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/tesselar)

install(TARGETS tesselar-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${TESSELAR_COMPLETION} DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
if(TARGET tesselar)
  install(TARGETS tesselar RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/MapDefs ${PROJECT_SOURCE_DIR}/data/sample
                  ${PROJECT_SOURCE_DIR}/docs/manual
        DESTINATION ${TESSELAR_DATA_DIR})

# The manual is read from the data folder; the documentation folder links to it.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/install-links)
file(CREATE_LINK ../../tesselar/manual ${CMAKE_BINARY_DIR}/install-links/manual SYMBOLIC)
install(FILES ${CMAKE_BINARY_DIR}/install-links/manual DESTINATION ${TESSELAR_DOC_DIR})

install(FILES ${PROJECT_SOURCE_DIR}/data/tesselar.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${PROJECT_SOURCE_DIR}/data/org.tesselar.Tesselar.metainfo.xml
               ${CMAKE_BINARY_DIR}/org.tesselar.Tesselar.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/org.tesselar.Tesselar.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
set(TESSELAR_ICON_DIR ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${PROJECT_SOURCE_DIR}/data/icons/tesselar.svg DESTINATION ${TESSELAR_ICON_DIR}/scalable/apps)
foreach(size 48 256)
  install(FILES ${PROJECT_SOURCE_DIR}/data/icons/tesselar-${size}.png
          DESTINATION ${TESSELAR_ICON_DIR}/${size}x${size}/apps RENAME tesselar.png)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tesselar)
set(CPACK_PACKAGE_VENDOR "Tesselar")
set(CPACK_PACKAGE_CONTACT "Tesselar developers <tesselar@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "map editor for Wolfenstein 3-D engine games")
set(CPACK_PACKAGE_DESCRIPTION "Tesselar edits the maps of games built on the Wolfenstein 3-D engine: it reads a \
game's map set, shows and edits one map at a time, and writes the maps back into the game's own files, \
keeping backups. Includes tesselar-cli, its command-line companion.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads the plugin that talks to the display at run time, so the linked
# libraries do not name it; libqt6multimedia6 brings the plugins through
# which the page browser plays the game's sounds on the audio device.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6multimedia6, libsndfile1, libsamplerate0")
# "&Help" opens the manual through the desktop's opener (xdg-open).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
include(CPack)
