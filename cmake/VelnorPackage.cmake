# Read by cpack for each package it makes, before it runs the install it packs (in the same
# process: the environment carries over to the install script).
if(CPACK_GENERATOR STREQUAL "DEB")
    # Debian keeps the programs of the games section in /usr/games.
    set(ENV{VELNOR_INSTALL_BINDIR} games)
endif()
