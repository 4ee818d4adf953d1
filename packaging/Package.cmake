# The Debian package (make deb): cpack -G DEB in the build folder.
set(CPACK_PACKAGE_NAME nelo)
set(CPACK_PACKAGE_VERSION 1.00)
set(CPACK_PACKAGE_VENDOR Vantor)
set(CPACK_PACKAGE_CONTACT "Vantor <nelo@vantor.co.jp>")
set(CPACK_PACKAGE_HOMEPAGE_URL ${NELO_HOMEPAGE})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beyond the libraries: the fonts the window and the printout name, Qt's own dialogs in
# Japanese, and the plug-in that puts a Qt window on the screen.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, fonts-ipafont-mincho, qt6-translations-l10n, qt6-qpa-plugins")
# Installed with it unless asked not to: the completion installed for both programs works
# only with bash-completion, and on a Wayland session (Debian's GNOME by default) the
# window is a native Wayland window only with Qt's Wayland plug-in; without it, it runs
# through Xwayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "bash-completion, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Japanese personal notebook: memos, schedules, calculator
Nelo is a Japanese-language personal notebook for one person. You type one
line at a time and Nelo answers in Japanese: it stores memos, registers and
lists schedules, calculates with variables and clock times, answers date
questions, converts between the Western year and the Japanese era, and
converts traditional units to metric.

This package holds the desktop program nelo (Qt 6) and the terminal
program nelo-cli; both work on the same notebook files (*.nel).")
include(CPack)
