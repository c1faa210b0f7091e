# The Debian package made by make package (cpack -G DEB): ravlen_<version>_<arch>.deb,
# installing under /usr, its library dependencies worked out from the programs.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ravlen)
set(CPACK_PACKAGE_VENDOR Tamarek)
set(CPACK_PACKAGE_CONTACT "${RAVLEN_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Whatever the packager's umask, the folders of the package are the usual 0755.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "balancing of trawl otter boards, with a 3D view")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[
Ravlen balances one family of trawl doors (otter boards). For a chosen door
(wing area 4.5 to 14.4 square metres, one to six ballast plates, a small,
medium or large towing bracket, the bridle holes, the bracket pair and the
towing hole), a towing speed, a trawl resistance, a water density and the
directions of the warp and of the bridles, it computes every load on the door
and turns the door until the moments about the towing point vanish: the
balanced attitude, the attack angle and the spreading, resistance and
vertical forces.
.
The package holds the desktop program ravlen (a 3D view of the door, numeric
panel, coefficient graph and dialogs), ravlen-balance (the same door model on
the command line, with a table or JSON output) and ravlen-link (a client of
the balance link through which other programs use a running ravlen), with
the link's C header.]=])

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so no library dependency names them: Qt's platform plugins, without
# which the window cannot open.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
