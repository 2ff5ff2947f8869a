# The Debian package: `cpack -G DEB` in a release build folder (`make package` does it all).
# Installed under /usr, the programs find their data in /usr/share/veldrune.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME veldrune)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "VELDRUNE maintainers")
set(CPACK_PACKAGE_CONTACT "VELDRUNE maintainers <maintainers@veldrune.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Fastening cycle time and motor load calculator")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # veldrune_<version>_<architecture>.deb
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CPACK_PACKAGE_CONTACT})
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The summary above becomes the first line.
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "VELDRUNE plans screw-fastening stations built on electric nutrunners.\n"
    "For one fastening cycle it computes the revolutions and time of the\n"
    "initial, free-run and tightening phases and the total time of the cycle,\n"
    "and it simulates the motor's thermal load at the station's cycle time to\n"
    "show whether the chosen tool is overloaded. It comes as a window\n"
    "(veldrune) and a batch calculator for station files (veldrune-calc), with\n"
    "a tool catalogue and English and German caption templates.")
# dpkg-shlibdeps finds the Qt libraries the programs link. It cannot see what they load at
# run time: the platform plugins that open the window, and a font with Arial's metrics, in
# which the window and the printed report are laid out.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation2")

# Each release opens the changelog and the AppStream releases; a version raised without them
# would ship last release's notes.
set(release_notes ${PROJECT_SOURCE_DIR}/data/debian/changelog
                  ${PROJECT_SOURCE_DIR}/data/org.veldrune.Veldrune.metainfo.xml)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${release_notes})
foreach(notes ${release_notes})
    file(READ ${notes} text)
    string(REGEX MATCH "veldrune \\(([^)]+)\\)|<release version=\"([^\"]+)\"" newest "${text}")
    if(NOT "${CMAKE_MATCH_1}${CMAKE_MATCH_2}" STREQUAL PROJECT_VERSION)
        message(WARNING "${notes} does not begin with release ${PROJECT_VERSION}")
    endif()
endforeach()

include(CPack)
