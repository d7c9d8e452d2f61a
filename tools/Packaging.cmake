# The Debian package that tools/package.sh builds with cpack: what it says
# about itself, what it carries beside the installed programs (the copyright
# and the changelog Debian asks for), and its dependencies, which
# dpkg-shlibdeps reads off the binaries.
set(ONDRIX_MAINTAINER "Ondrix developers <ondrix@example.org>")
set(ONDRIX_HOMEPAGE "https://ondrix.example.org/")

# A Debian changelog dates its entries as RFC 5322 does, weekday first.
function(ondrix_changelog_date iso out)
    if(NOT iso MATCHES "^([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])$")
        message(FATAL_ERROR "ONDRIX_RELEASE_DATE '${iso}' is not YYYY-MM-DD")
    endif()
    set(year ${CMAKE_MATCH_1})
    set(day_text ${CMAKE_MATCH_3})
    string(REGEX REPLACE "^0" "" month ${CMAKE_MATCH_2})
    string(REGEX REPLACE "^0" "" day ${day_text})
    # Sakamoto's rule: 0 is a Sunday.
    set(offsets 0 3 2 5 0 3 5 1 4 6 2 4)
    math(EXPR index "${month} - 1")
    list(GET offsets ${index} offset)
    set(y ${year})
    if(month LESS 3)
        math(EXPR y "${y} - 1")
    endif()
    math(EXPR weekday "(${y} + ${y} / 4 - ${y} / 100 + ${y} / 400 + ${offset} + ${day}) % 7")
    set(weekdays Sun Mon Tue Wed Thu Fri Sat)
    set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    list(GET weekdays ${weekday} weekday_name)
    list(GET months ${index} month_name)
    set(${out} "${weekday_name}, ${day_text} ${month_name} ${year} 12:00:00 +0000" PARENT_SCOPE)
endfunction()

ondrix_changelog_date(${ONDRIX_RELEASE_DATE} ONDRIX_CHANGELOG_DATE)
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/changelog.in ${CMAKE_BINARY_DIR}/debian/changelog @ONLY)
# A native version (no Debian revision): the changelog is changelog.gz.
ondrix_gzip(${CMAKE_BINARY_DIR}/debian/changelog ${CMAKE_BINARY_DIR}/debian/changelog.gz)
add_custom_target(debian_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/debian/changelog.gz)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/debian/copyright ${CMAKE_BINARY_DIR}/debian/changelog.gz
    DESTINATION ${ONDRIX_INSTALL_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${ONDRIX_PACKAGE_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Ondrix developers")
set(CPACK_PACKAGE_CONTACT ${ONDRIX_MAINTAINER})
set(CPACK_PACKAGE_HOMEPAGE_URL ${ONDRIX_HOMEPAGE})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop client for the RZ450 RF band detector")
set(CPACK_PACKAGE_DESCRIPTION
"Ondrix is the desktop client for the RZ450, a hand-held radio-frequency
band detector used to sweep rooms for hidden phones, transmitters and
jammers. It shows the detector live (band levels against their alarm
thresholds over time, the spectrum of the scan range, a working replica
of the front panel), records and replays what it sends, downloads its
event log, keeps recordings and logs in a folder tree, exports them as
CSV, images and PDF sweep reports, and edits the detector's settings.
.
The package holds the client (OndrixClient), the Ondrix Server, which
shares the detectors attached to a computer over the network (a systemd
unit, not enabled), and ondrixctl, which does the client's work from a
shell or a script. A udev rule gives the user at the desk access to the
detector's USB serial adapter and FTDI chip; the FTDI chip needs the
vendor's D2XX library.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${ONDRIX_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${ONDRIX_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Our own libraries live in the private folder and belong to this package.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${ONDRIX_BIN_DIR})
# Qt's Russian messages, when the user picks Russian.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
# The device group, made by the postinst.
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/postinst.in ${CMAKE_BINARY_DIR}/debian/postinst @ONLY
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_BINARY_DIR}/debian/postinst)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
