# Installing: the two programs, the desktop entry, the icon in the hicolor
# theme, the AppStream metainfo, a gzipped man page for each program, the
# query tool's bash completion and each package's copyright and changelog;
# and the two Debian packages made from the same install (cpack -G DEB):
#   vormek-query  the query tool alone (component "query"): no Qt, no font
#   vormek        the window (component "window"), which depends on it
set(VORMEK_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
# The Debian revision of the packages: their version is upstream-revision.
set(VORMEK_DEB_REVISION 1)
set(VORMEK_DEB_VERSION ${PROJECT_VERSION}-${VORMEK_DEB_REVISION})

# Man pages and the changelog go in gzipped, without a name or time stamp in
# the header, so that the same sources give the same bytes.
set(vormek_dist ${PROJECT_BINARY_DIR}/packaging)
configure_file(${VORMEK_PACKAGING_DIR}/debian/changelog.in ${vormek_dist}/changelog.Debian @ONLY)
set(vormek_gzipped)
foreach(source ${VORMEK_PACKAGING_DIR}/man/vormek-query.1 ${VORMEK_PACKAGING_DIR}/man/vormek.1
               ${vormek_dist}/changelog.Debian)
  get_filename_component(name ${source} NAME)
  add_custom_command(OUTPUT ${vormek_dist}/${name}.gz
                     COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" gzip ${source} ${vormek_dist}/${name}.gz
                     DEPENDS ${source} VERBATIM)
  list(APPEND vormek_gzipped ${vormek_dist}/${name}.gz)
endforeach()
add_custom_target(vormek_packaging_files ALL DEPENDS ${vormek_gzipped})
# A build of the programs alone can be installed and packed as well.
add_dependencies(vormek-query vormek_packaging_files)

# Each package's copyright and changelog, and its lintian overrides: the
# packages are not uploaded to Debian, so their first changelog entry closes
# no bug asking for them there.
function(vormek_install_docs component package)
  install(FILES ${VORMEK_PACKAGING_DIR}/debian/copyright ${vormek_dist}/changelog.Debian.gz
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} COMPONENT ${component})
  file(WRITE ${vormek_dist}/${package}.overrides
       "# Not uploaded to Debian: no bug asks for the package there.\n"
       "${package}: initial-upload-closes-no-bugs\n")
  install(FILES ${vormek_dist}/${package}.overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
          RENAME ${package} COMPONENT ${component})
endfunction()

install(TARGETS vormek-query RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT query)
install(FILES ${vormek_dist}/vormek-query.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT query)
# Where bash-completion loads a command's completion from when first needed.
install(FILES ${VORMEK_PACKAGING_DIR}/bash-completion/vormek-query
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions COMPONENT query)
vormek_install_docs(query vormek-query)

if(TARGET vormek)
  install(TARGETS vormek RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT window)
  install(FILES ${vormek_dist}/vormek.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT window)
  install(FILES ${VORMEK_PACKAGING_DIR}/linux/${VORMEK_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT window)
  install(FILES ${VORMEK_PACKAGING_DIR}/linux/${VORMEK_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT window)
  if(TARGET vormek_icon_files)
    add_dependencies(vormek vormek_icon_files)
    install(DIRECTORY ${PROJECT_BINARY_DIR}/tools/icon/hicolor/
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor COMPONENT window)
  endif()
  vormek_install_docs(window vormek)
  set(CPACK_COMPONENTS_ALL query window)
else()
  set(CPACK_COMPONENTS_ALL query)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vormek)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE ${VORMEK_DEB_REVISION})
set(CPACK_PACKAGE_VENDOR Vormek)
set(CPACK_PACKAGE_CONTACT "Vormek <vormek@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://vormek.example.org/)
# The libraries each program links, with their versions, from the binaries
# themselves (dpkg-shlibdeps); what a program loads or shows by name is added.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

# The first line of each description is its synopsis; the lines stay within
# 80 columns.
set(CPACK_DEBIAN_QUERY_PACKAGE_NAME vormek-query)
set(CPACK_DEBIAN_QUERY_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_QUERY_DESCRIPTION
    "timetable of mainland China's passenger trains, command line
The query tool of the Vormek timetable: direct trains between two stations,
the whole run of a train, every train at a station, where to change trains
and multi-leg connections, with fares, filters and sorting, as CSV, an
aligned table or JSON on standard output, train graphs as SVG or PNG, with
completion for bash. The
timetable ships inside the program; another one can be read from a folder of
table texts. It needs neither Qt nor a font; only the train graph as PNG
draws with a Chinese font, where one is installed.")
# graph --png looks for these faces.
set(CPACK_DEBIAN_QUERY_PACKAGE_SUGGESTS "fonts-arphic-uming | fonts-noto-cjk | fonts-wqy-zenhei")

set(CPACK_DEBIAN_WINDOW_PACKAGE_NAME vormek)
set(CPACK_DEBIAN_WINDOW_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_WINDOW_DESCRIPTION
    "timetable of mainland China's passenger trains
The window of the Vormek timetable: direct trains between two stations, the
whole run of a train, every train at a station and where to change trains,
with fares, filters, sorting, printing and CSV export. The timetable ships
inside the program. The query tool comes with it in vormek-query.")
# Beside the libraries: the query tool, Qt's platform plugins, and a font that
# shows Chinese; Qt's own dialogs in Chinese come from the translations.
set(CPACK_DEBIAN_WINDOW_PACKAGE_DEPENDS
    "vormek-query (= ${VORMEK_DEB_VERSION}), qt6-qpa-plugins, fonts-arphic-uming | fonts-noto-cjk | fonts-wqy-zenhei")
set(CPACK_DEBIAN_WINDOW_PACKAGE_RECOMMENDS "qt6-translations-l10n")
include(CPack)

# The install and the packages, checked as a user's machine would see them.
# The query tool's completion needs its package alone.
if(VORMEK_BUILD_TESTS)
  add_test(NAME Install.bash-completion COMMAND bash ${PROJECT_SOURCE_DIR}/tests/install/check_install.sh
                                                bash-completion ${PROJECT_BINARY_DIR} ${VORMEK_APP_ID})
endif()
if(VORMEK_BUILD_TESTS AND TARGET vormek)
  set(check ${PROJECT_SOURCE_DIR}/tests/install/check_install.sh)
  foreach(what files desktop-entry metainfo man-pages deb lintian)
    add_test(NAME Install.${what} COMMAND bash ${check} ${what} ${PROJECT_BINARY_DIR} ${VORMEK_APP_ID})
    set_tests_properties(Install.${what} PROPERTIES SKIP_RETURN_CODE 77)
  endforeach()
endif()
