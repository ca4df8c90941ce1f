# The Debian package, built by CPack (scripts/package.sh). Its dependencies
# are read off the binary by dpkg-shlibdeps.

set(CORVINAL_MAINTAINER "The Corvinal developers <corvinal@example.org>")
# The Debian revision: the first packaging of each version.
set(CORVINAL_DEBIAN_REVISION 1)
set(CORVINAL_DEBIAN_VERSION ${PROJECT_VERSION}-${CORVINAL_DEBIAN_REVISION})

# The changelog's date is the release day, written as RFC 5322 wants it;
# the day of the week is Sakamoto's.
function(corvinal_changelog_date IsoDate Out)
  string(REGEX MATCH "^([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])$" Match "${IsoDate}")
  if(NOT Match)
    message(FATAL_ERROR "CORVINAL_RELEASE_DATE \"${IsoDate}\" is not YYYY-MM-DD")
  endif()
  math(EXPR Y "${CMAKE_MATCH_1}")
  math(EXPR M "${CMAKE_MATCH_2}")
  math(EXPR D "${CMAKE_MATCH_3}")
  set(Offsets 0 3 2 5 0 3 5 1 4 6 2 4)
  math(EXPR I "${M} - 1")
  list(GET Offsets ${I} T)
  set(YY ${Y})
  if(M LESS 3)
    math(EXPR YY "${Y} - 1")
  endif()
  math(EXPR W "(${YY} + ${YY} / 4 - ${YY} / 100 + ${YY} / 400 + ${T} + ${D}) % 7")
  set(Days Sun Mon Tue Wed Thu Fri Sat)
  set(Months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
  list(GET Days ${W} Day)
  list(GET Months ${I} Month)
  set(${Out} "${Day}, ${CMAKE_MATCH_3} ${Month} ${Y} 00:00:00 +0000" PARENT_SCOPE)
endfunction()

corvinal_changelog_date(${CORVINAL_RELEASE_DATE} CORVINAL_CHANGELOG_DATE)
configure_file(${PROJECT_SOURCE_DIR}/data/changelog.Debian.in
  ${CMAKE_BINARY_DIR}/changelog.Debian @ONLY)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME corvinal)
set(CPACK_PACKAGE_VENDOR "The Corvinal developers")
set(CPACK_PACKAGE_CONTACT ${CORVINAL_MAINTAINER})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "adaptation pathways map editor")
set(CPACK_PACKAGE_DESCRIPTION [[
Corvinal helps planners who must act under deep uncertainty, such as
sea-level rise or drought. They list the actions they could take, each with
its tipping point, chain the actions into pathways, and Corvinal draws the
whole plan as a metro map, with an axis of the driving condition and a time
axis for every scenario.

Maps are saved as .pathway files and exported as PNG, SVG or PDF, also from
the command line without a display.]])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CORVINAL_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_RELEASE ${CORVINAL_DEBIAN_REVISION})
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt picks its Wayland platform when the session is Wayland and the plugin
# is there; without it the window goes through XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# corvinal_<version>-<revision>_<arch>.deb
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)

# What Debian asks of a package beyond a plain install: compressed manual
# pages, the Debian changelog, a binary without the compiler's notes and the
# lintian overrides. Done on the staging folder, so that `cmake --install`
# keeps the files as they are.
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/DebianStaging.cmake)
set(CPACK_CORVINAL_DEBIAN_CHANGELOG ${CMAKE_BINARY_DIR}/changelog.Debian)
set(CPACK_CORVINAL_DOCDIR ${CORVINAL_INSTALL_DOCDIR})
set(CPACK_CORVINAL_STRIP ${CMAKE_STRIP})
set(CPACK_CORVINAL_LINTIAN_OVERRIDES ${PROJECT_SOURCE_DIR}/data/corvinal.lintian-overrides)

include(CPack)
