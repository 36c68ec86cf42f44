# What `cmake --install` puts where, and the Debian package CPack makes of the same install.
#
# Everything is relative to the install prefix: the programs find the bundled game directory at
# <bindir>/../share/velnor, so an install tree can be moved whole. No installed file names a path
# of the source or build tree (scripts/check-install greps for them).
include(GNUInstallDirs)

# Where the game is published (the metainfo's homepage and screenshots, the package's Homepage),
# its license and who answers for the package. Set them at configure time for a release.
set(VELNOR_HOMEPAGE "https://velnor.example" CACHE STRING
    "The game's web page; its screenshots/ holds race.png and car-selection.png from docs/")
set(VELNOR_LICENSE "LicenseRef-proprietary" CACHE STRING "The game's license, an SPDX expression")
set(VELNOR_LICENSE_TEXT
    " All rights reserved: no license to copy, change or share Velnor has been granted yet."
    CACHE STRING "The license's text in the package's copyright file, one line, indented")
set(VELNOR_MAINTAINER "Velnor maintainers <maintainers@users.noreply.c-seed-c8ea882f.example>"
    CACHE STRING "The package's maintainer: name <mail>")
# The date of this version's release, fixed so that two builds of it give the same files.
set(VELNOR_RELEASE_DATE 2026-12-07)
set(VELNOR_RELEASE_DATE_RFC2822 "Mon, 07 Dec 2026 12:00:00 +0000")

# Folders made by the install are rwxr-xr-x whatever the umask (a group-writable folder in the
# package is a packaging fault).
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(velnor_generated ${CMAKE_CURRENT_BINARY_DIR}/install)
set(velnor_docdir ${CMAKE_INSTALL_DATADIR}/doc/velnor)

# The programs go to <prefix>/bin, or to <prefix>/games for the Debian package (Debian keeps
# games there): cpack's VelnorPackage.cmake sets VELNOR_INSTALL_BINDIR=games in its environment
# for the install it packs. Either way the bundled game directory is <bindir>/../share/velnor.
install(CODE "set(velnor_bindir ${CMAKE_INSTALL_BINDIR})
if(\"\$ENV{VELNOR_INSTALL_BINDIR}\" STREQUAL \"games\")
  set(velnor_bindir games)
endif()")
install(TARGETS velnor velnor-tool RUNTIME DESTINATION "\${velnor_bindir}")

# The bundled game directory. Only the kinds of file the game ships: a records file or ghosts
# that a run from the source tree left in data/ stay out.
install(DIRECTORY data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/velnor
        FILES_MATCHING PATTERN "*.car" PATTERN "*.rod" PATTERN "*.mod" PATTERN "title.bmp"
                       PATTERN "*.mp3")

install(FILES resources/org.velnor.Velnor.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(resources/org.velnor.Velnor.metainfo.xml.in
               ${velnor_generated}/org.velnor.Velnor.metainfo.xml @ONLY)
install(FILES ${velnor_generated}/org.velnor.Velnor.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The icon in the hicolor theme, every size and the scalable one, drawn by the window icon's own
# code at build time.
add_executable(velnor-icon-files src/app/icon_files_main.cpp)
target_link_libraries(velnor-icon-files PRIVATE velnor_icon_files)
set(velnor_icons)
foreach(size 16 22 24 32 48 64 128 256)
    list(APPEND velnor_icons ${velnor_generated}/hicolor/${size}x${size}/apps/org.velnor.Velnor.png)
endforeach()
list(APPEND velnor_icons ${velnor_generated}/hicolor/scalable/apps/org.velnor.Velnor.svg)
add_custom_command(OUTPUT ${velnor_icons}
                   COMMAND velnor-icon-files ${velnor_generated}/hicolor
                   DEPENDS velnor-icon-files
                   COMMENT "Drawing the icon theme's pictures")
add_custom_target(velnor_icons ALL DEPENDS ${velnor_icons})
install(DIRECTORY ${velnor_generated}/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# Manual pages in section 6 (games), compressed as Debian's policy wants them; and the package's
# copyright and changelog.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(velnor_compressed)
foreach(page velnor.6 velnor-tool.6)
    configure_file(resources/man/${page}.in ${velnor_generated}/${page} @ONLY)
    list(APPEND velnor_compressed ${velnor_generated}/${page}.gz)
endforeach()
configure_file(resources/debian/changelog.in ${velnor_generated}/changelog @ONLY)
configure_file(resources/debian/copyright.in ${velnor_generated}/copyright @ONLY)
list(APPEND velnor_compressed ${velnor_generated}/changelog.gz)
foreach(file ${velnor_compressed})
    string(REGEX REPLACE "\\.gz$" "" plain ${file})
    # -n: no name or time stamp inside, so the same page gives the same bytes.
    add_custom_command(OUTPUT ${file} COMMAND ${GZIP_PROGRAM} -9nf -k ${plain} DEPENDS ${plain})
endforeach()
add_custom_target(velnor_compressed_docs ALL DEPENDS ${velnor_compressed})
install(FILES ${velnor_generated}/velnor.6.gz ${velnor_generated}/velnor-tool.6.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${velnor_generated}/copyright ${velnor_generated}/changelog.gz
        DESTINATION ${velnor_docdir})

# `cpack -G DEB` in the build directory: velnor_<version>_amd64.deb.
set(CPACK_PACKAGE_NAME velnor)
set(CPACK_PACKAGE_VENDOR "The Velnor developers")
set(CPACK_PACKAGE_CONTACT ${VELNOR_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "car-driving time-trial simulator")
# The package's long description under the summary; lines of at most 80 characters.
set(CPACK_PACKAGE_DESCRIPTION [[Pick a stored car and automatic or manual transmission, pick a course, and
drive three laps in a 3D view while an instrument panel shows speed, engine
speed, gear, lap and race clock. The car moves by a model computed from its
technical data. The three best races of every course are kept, and a run
can be saved as the course's ghost, which drives beside you next time.
Cars, courses, records and ghosts are plain text files: velnor-tool looks
at them and drives races without a window.]])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VELNOR_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${VELNOR_HOMEPAGE})
# The libraries from dpkg-shlibdeps, and what no library scan finds: a Japanese font for the
# menus and panels, Mesa's drivers for the 3D view.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic | fonts-japanese-gothic")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libgl1-mesa-dri")
set(CPACK_GENERATOR DEB)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/VelnorPackage.cmake)
include(CPack)
