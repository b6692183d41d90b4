# Installing: the two programs, the desktop entry, the icon in the hicolor
# theme, the AppStream metainfo and a man page for each program; and the
# Debian package made from the same install (cpack -G DEB).
set(VORMEK_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)

foreach(program vormek vormek-query)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()
install(FILES ${VORMEK_PACKAGING_DIR}/man/vormek-query.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

if(TARGET vormek)
  install(FILES ${VORMEK_PACKAGING_DIR}/man/vormek.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${VORMEK_PACKAGING_DIR}/linux/${VORMEK_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${VORMEK_PACKAGING_DIR}/linux/${VORMEK_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  if(TARGET vormek_icon_files)
    install(DIRECTORY ${PROJECT_BINARY_DIR}/tools/icon/hicolor/
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
  endif()
endif()

# The package is the desktop program's; a build without the window makes none.
if(NOT TARGET vormek)
  return()
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vormek)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Vormek)
set(CPACK_PACKAGE_CONTACT "Vormek <vormek@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "timetable of mainland China's passenger trains")
set(CPACK_PACKAGE_DESCRIPTION
    "Direct trains between two stations, the whole run of a train, every train at a station and where to change trains, with fares, filters, sorting, printing and CSV export. The timetable ships inside the program.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://vormek.example.org/)
# The Qt libraries by name (Debian 13 and Ubuntu 24.04 renamed them with a
# t64 suffix), the platform plugins, and a font that shows Chinese.
set(vormek_qt_min "${Qt6_VERSION_MAJOR}.${Qt6_VERSION_MINOR}")
set(vormek_depends "libc6, libstdc++6, zlib1g, libdeflate0")
foreach(lib core gui widgets network printsupport)
  string(APPEND vormek_depends ", libqt6${lib}6 (>= ${vormek_qt_min}) | libqt6${lib}6t64")
endforeach()
string(APPEND vormek_depends ", qt6-qpa-plugins, fonts-arphic-uming | fonts-noto-cjk | fonts-wqy-zenhei")
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${vormek_depends}")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
include(CPack)

# The install and the package, checked as a user's machine would see them.
if(VORMEK_BUILD_TESTS)
  set(check ${PROJECT_SOURCE_DIR}/tests/install/check_install.sh)
  foreach(what files desktop-entry metainfo man-pages deb)
    add_test(NAME Install.${what} COMMAND bash ${check} ${what} ${PROJECT_BINARY_DIR} ${VORMEK_APP_ID})
    set_tests_properties(Install.${what} PROPERTIES SKIP_RETURN_CODE 77)
  endforeach()
endif()
