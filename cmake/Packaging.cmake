# Installing and packaging Brindle. Included after src/, so the Brindle target exists.
#   Windows: the executable's resources (icon group 101, manifest, version record).
#   Linux:   `cmake --install` puts the program on the PATH as brindle, with its desktop entry,
#            hicolor icons, manual page and documents; `cmake --build <dir> --target package`
#            (or cpack --config <dir>/CPackConfig.cmake) makes brindle_<version>_amd64.deb.

set (BRINDLE_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set (BRINDLE_ICON_DIR ${CMAKE_SOURCE_DIR}/resources/icon)
set (BRINDLE_WINDOWS_RESOURCES_DIR ${CMAKE_SOURCE_DIR}/resources/windows)
set (BRINDLE_ICON_SIZES 16 32 48 64 128 256)

# The resource script's defines; the packaging tests compile it with the same ones.
set (BRINDLE_RC_DEFINITIONS
     BRINDLE_VERSION_MAJOR=${PROJECT_VERSION_MAJOR}
     BRINDLE_VERSION_MINOR=${PROJECT_VERSION_MINOR}
     BRINDLE_VERSION_PATCH=${PROJECT_VERSION_PATCH}
     BRINDLE_VERSION_STRING="${PROJECT_VERSION}")

if (WIN32)
    enable_language (RC)
    target_sources (Brindle PRIVATE ${BRINDLE_WINDOWS_RESOURCES_DIR}/brindle.rc)
    # The script names brindle.ico and brindle.manifest relative to its own folder.
    target_include_directories (Brindle PRIVATE ${BRINDLE_WINDOWS_RESOURCES_DIR})
    target_compile_definitions (Brindle PRIVATE ${BRINDLE_RC_DEFINITIONS})

    # The manifest comes from the resource script, so the linker must not add its own.
    if (MSVC)
        target_link_options (Brindle PRIVATE /MANIFEST:NO)
    endif()
    return()
endif()

if (NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
    return()
endif()

include (GNUInstallDirs)

# Resolve all symbols at start-up so the relocations can be made read-only, as Debian's
# hardened builds do.
target_link_options (Brindle PRIVATE -Wl,-z,relro -Wl,-z,now)

set (CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
     OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# Compressed copies of the manual page and change log, as Debian installs them (-n: no name
# or time stamp in the gzip header, so the package is reproducible).
find_program (BRINDLE_GZIP gzip REQUIRED)
set (packaging_out ${CMAKE_BINARY_DIR}/packaging)
file (MAKE_DIRECTORY ${packaging_out})

add_custom_command (OUTPUT ${packaging_out}/brindle.1.gz
    COMMAND ${BRINDLE_GZIP} -9 -n -c ${BRINDLE_PACKAGING_DIR}/brindle.1 > ${packaging_out}/brindle.1.gz
    DEPENDS ${BRINDLE_PACKAGING_DIR}/brindle.1
    COMMENT "Compressing the manual page")
add_custom_command (OUTPUT ${packaging_out}/changelog.gz
    COMMAND ${BRINDLE_GZIP} -9 -n -c ${BRINDLE_PACKAGING_DIR}/changelog > ${packaging_out}/changelog.gz
    DEPENDS ${BRINDLE_PACKAGING_DIR}/changelog
    COMMENT "Compressing the change log")
add_custom_target (brindle_packaging_files ALL
    DEPENDS ${packaging_out}/brindle.1.gz ${packaging_out}/changelog.gz)

# The build's own program stays bin/Brindle; the installed one is brindle. install (PROGRAMS)
# does not strip, so strip here when the install asks for it (cmake --install --strip, CPack).
install (PROGRAMS $<TARGET_FILE:Brindle> DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME brindle)
install (CODE "
    if (CMAKE_INSTALL_DO_STRIP)
        execute_process (COMMAND \"${CMAKE_STRIP}\" --strip-unneeded --remove-section=.comment --remove-section=.note
                                 \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/brindle\"
                         COMMAND_ERROR_IS_FATAL ANY)
    endif()")

install (FILES ${BRINDLE_PACKAGING_DIR}/brindle.desktop
         DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

foreach (size IN LISTS BRINDLE_ICON_SIZES)
    install (FILES ${BRINDLE_ICON_DIR}/brindle-${size}.png
             DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
             RENAME brindle.png)
endforeach()
install (FILES ${BRINDLE_ICON_DIR}/brindle.svg
         DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

install (FILES ${packaging_out}/brindle.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# Documents: Debian's machine-readable copyright (which points to the GPL text in
# /usr/share/common-licenses) and compressed change log, then the README and licence.
set (brindle_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/brindle)
install (FILES ${BRINDLE_PACKAGING_DIR}/copyright DESTINATION ${brindle_doc_dir})
install (FILES ${packaging_out}/changelog.gz DESTINATION ${brindle_doc_dir})
install (FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION ${brindle_doc_dir})

# The Debian package.
set (CPACK_GENERATOR DEB)
set (CPACK_PACKAGE_NAME brindle)
set (CPACK_PACKAGE_VENDOR "larkspur audio")
set (CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set (CPACK_PACKAGE_CONTACT "larkspur audio <support@larkspuraudio.example>")
set (CPACK_PACKAGE_DESCRIPTION_SUMMARY "firmware updater for the Lantern Reverb guitar pedal")
set (CPACK_PACKAGE_INSTALL_DIRECTORY brindle)
set (CPACK_PACKAGING_INSTALL_PREFIX /usr)
set (CPACK_STRIP_FILES ON)
set (CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)

set (CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set (CPACK_DEBIAN_PACKAGE_NAME brindle)
set (CPACK_DEBIAN_PACKAGE_MAINTAINER "larkspur audio <support@larkspuraudio.example>")
set (CPACK_DEBIAN_PACKAGE_SECTION sound)
set (CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set (CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://larkspuraudio.example/brindle")
# CPack puts the summary above this as the synopsis line.
set (CPACK_DEBIAN_PACKAGE_DESCRIPTION "Brindle sends new firmware to the Lantern Reverb pedal by larkspur audio.
The pedal, started in its update mode, shows up as a USB-MIDI device; the
program sends the firmware image to it as MIDI System Exclusive messages
and shows the progress of the transfer.
.
The firmware is built into the program; a SysEx file can take its place.
Command-line options start the update without user action and quit when
it is done, for use from scripts.")

# Libraries the program links are found by dpkg-shlibdeps. JUCE opens the X11 libraries at
# run time (libX11 and libXext always; Xrandr, Xinerama and Xcursor when present) and reads
# the font directories from fontconfig's fonts.conf, so those are named here.
set (CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set (CPACK_DEBIAN_PACKAGE_DEPENDS
     "libx11-6, libxext6, libxrandr2, libxinerama1, libxcursor1, fontconfig-config, fonts-dejavu-core | fonts-liberation2")

include (CPack)
