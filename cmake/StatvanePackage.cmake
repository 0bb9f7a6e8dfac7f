# The Debian package (make package): cpack -G DEB over the install rules.
# Working out the shared-library dependencies needs dpkg-shlibdeps
# (dpkg-dev) and file.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME statvane)
set(CPACK_PACKAGE_VENDOR "Statvane")
set(CPACK_PACKAGE_CONTACT "Statvane Maintainers <maintainers@statvane.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Desktop analyser of web-server access logs")
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Statvane keeps named reports over web-server access logs in the combined"
    "layout (nginx, Apache) and analyses them: unique visitors with reverse DNS,"
    "referring sites, top pages, bytes transferred and popular browsers. Results"
    "show in a window, go to a text report file or are mailed; reports also run"
    "headless from cron with statvane --batch."
    "Licensed under the GNU GPL, version 3 or later (GPL-3.0-or-later).")
# The licence: the full text at the top of the sources; the package carries
# it as /usr/share/doc/statvane/copyright (docs/).
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_HOMEPAGE_URL "http://${STATVANE_MAKER_HOST}/")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# xdg-open opens web addresses with the desktop's default browser.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
set(CPACK_STRIP_FILES ON)
include(CPack)
