# The version of every program and the installed layout they rely on, from the project's
# version and the GNU install folders: one generated header, RavlenVersion.h, reached by
# linking ravlen_version.

# The desktop entry's id, also the name of the icon and of the metainfo.
set(RAVLEN_APP_ID org.tamarek.Ravlen)

# The installed programs find their data relative to their own folder, so a tree installed
# under DESTDIR, or moved to another prefix, still finds it.
file(RELATIVE_PATH RAVLEN_DATA_FROM_BINDIR ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/ravlen)
configure_file(${CMAKE_CURRENT_LIST_DIR}/RavlenVersion.h.in ${PROJECT_BINARY_DIR}/generated/RavlenVersion.h @ONLY)

add_library(ravlen_version INTERFACE)
target_include_directories(ravlen_version INTERFACE ${PROJECT_BINARY_DIR}/generated)
