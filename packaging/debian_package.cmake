# The Debian package oradel_VERSION_amd64.deb: both programs, the desktop entry
# and the icons and the installed copy's marker (src/ui installs those), and
# here the man pages, the user guides, the example list and the files Debian
# asks of every package.

# Debian wants man pages and changelogs compressed with gzip -9n (no name, no time).
function(oradel_gzip input output)
    execute_process(COMMAND gzip -9nc ${input} OUTPUT_FILE ${output} RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "gzip could not compress ${input}")
    endif()
endfunction()

set(ORADEL_PACKAGE_MAINTAINER "Oradel developers <oradel@example.org>"
    CACHE STRING "Maintainer field of the Debian package: Name <address>")
string(TIMESTAMP ORADEL_PACKAGE_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)

set(man_pages)
foreach(page oradel.1 oradel-convert.1)
    configure_file(${page}.in ${CMAKE_CURRENT_BINARY_DIR}/${page} @ONLY)
    oradel_gzip(${CMAKE_CURRENT_BINARY_DIR}/${page} ${CMAKE_CURRENT_BINARY_DIR}/${page}.gz)
    list(APPEND man_pages ${CMAKE_CURRENT_BINARY_DIR}/${page}.gz)
endforeach()
# A package that is its own upstream (a native package) carries a changelog in
# Debian's format as changelog.gz; it points to CHANGELOG.md, which says what
# each version brings.
configure_file(changelog.Debian.in ${CMAKE_CURRENT_BINARY_DIR}/changelog @ONLY)
oradel_gzip(${CMAKE_CURRENT_BINARY_DIR}/changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
oradel_gzip(${PROJECT_SOURCE_DIR}/CHANGELOG.md ${CMAKE_CURRENT_BINARY_DIR}/CHANGELOG.md.gz)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/CHANGELOG.md)

install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES copyright ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz ${CMAKE_CURRENT_BINARY_DIR}/CHANGELOG.md.gz
        DESTINATION ${ORADEL_DOC_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/examples/sites.txt DESTINATION ${ORADEL_DOC_DIR}/examples)
if(TARGET oradel-guide)
    install(FILES ${ORADEL_GUIDES} DESTINATION ${ORADEL_DOC_DIR})
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME oradel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "waypoint converter for paragliding pilots and drivers")
# The summary above is the description's first line; CPack puts it there.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Oradel converts files of named waypoints through one plain-text point list
that can be written and edited by hand. It imports the waypoint export of the
XCTrack flight app and the GPX export of Navitel Navigator, and exports the
list to XCTrack, LK8000 and Navitel Navigator waypoint files and to one
self-contained web page with weather, map and terrain links for every point.
.
The package holds the window (oradel) and the command line (oradel-convert).")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${ORADEL_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
if(ORADEL_HOMEPAGE)
    set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${ORADEL_HOMEPAGE})
endif()
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window opens outputs, the guide and the home page through Qt, which uses
# xdg-open on most desktops.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
