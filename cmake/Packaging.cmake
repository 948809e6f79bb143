# The Debian package: cd build && cpack -G DEB  ->  tarifmaster_<version>_amd64.deb
# Its content is what the install rules put under the prefix /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarifmaster)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "TarifMaster developers <tm@example.com>")
set(CPACK_PACKAGE_VENDOR "TarifMaster developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "compulsory motor insurance premium by the 2003 Russian tariff")
set(CPACK_PACKAGE_DESCRIPTION
    "TarifMaster (ТарифМастер) computes the premium of Russian compulsory\n"
    "motor third-party liability insurance by the tariff of Government\n"
    "decree No. 264 of 7 May 2003. The user walks through nine steps, one\n"
    "per tariff factor, picks the vehicle category and gets the premium,\n"
    "which can be saved as a text report or as a document that word\n"
    "processors open. The program speaks Russian.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://example.com)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# Libraries from the binary; then what it loads at run time without linking: Qt's platform plugins,
# Qt's Russian translations and the fonts the window is drawn in.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, fonts-liberation")

include(CPack)
