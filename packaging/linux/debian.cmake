# The Linux agent's Debian package, made by CPack beside the tarball (included by
# packaging/CMakeLists.txt): /usr/bin/cluma-agent, its systemd unit enabled and started by the
# maintainer scripts in debian/, the room check /usr/bin/cluma-scan, their man pages,
# copyright and changelog; and the screen of every X session served to the trusted console:
# an autostart entry runs /usr/lib/cluma-agent/cluma-screen-x11vnc, which starts Debian's x11vnc
# (recommended, not required: the agent works without it). The unit reads the machine's own options (the pinned console) from
# /etc/default/cluma-agent, which postinst makes once, commented, and a purge removes. The package's own
# settings apply only while CPack makes the DEB (package_per_generator.cmake).
execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE deb_architecture
                OUTPUT_STRIP_TRAILING_WHITESPACE)
set(deb_file ${CPACK_PACKAGE_DIRECTORY}/cluma-agent_${PROJECT_VERSION}_${deb_architecture}.deb)
set(CLUMA_DEB_FILE ${deb_file} CACHE INTERNAL "This build folder's Debian package")
list(APPEND extra_package_files ${deb_file})

set(CPACK_DEBIAN_PACKAGE_NAME cluma-agent)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${deb_architecture})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "ClumaDeck developers <developers@clumadeck.com>")
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "ClumaDeck node agent
Lets the presenter's ClumaDeck console find this machine and list it by
name: the agent answers the console's search on TCP port 12357 and
remembers that console, so that a student's cluma-agent ask reaches it.
With x11vnc installed, every X session's screen is served on TCP port
5900 to that console alone, so that the presenter can watch and operate
it. cluma-scan searches a subnet as the console does, to check a room.")
# The C library's version from the agent itself; useradd (passwd) makes its system user.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS passwd)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS x11vnc)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_SOURCE_DIR}/linux/debian/postinst
    ${CMAKE_CURRENT_SOURCE_DIR}/linux/debian/prerm ${CMAKE_CURRENT_SOURCE_DIR}/linux/debian/postrm
    ${CMAKE_CURRENT_SOURCE_DIR}/linux/debian/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(deb_folder ${CMAKE_CURRENT_BINARY_DIR}/debian)
configure_file(linux/package_per_generator.cmake.in
               ${CMAKE_CURRENT_BINARY_DIR}/package_per_generator.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_BINARY_DIR}/package_per_generator.cmake)

# The day of this version, in the man pages' headers (the changelog's entry has the same day).
set(CLUMA_RELEASE_DATE 2025-12-01)

# The package's unit starts the agent where the package puts it.
set(AGENT_PATH /usr/bin/cluma-agent)
set(UNIT_INSTALL_STEPS "#\n# Installed, enabled and started by the cluma-agent Debian package.\n#")
configure_file(linux/cluma-agent.service.in ${deb_folder}/cluma-agent.service @ONLY)
configure_file(linux/debian/cluma-agent.1 ${deb_folder}/cluma-agent.1 @ONLY)
configure_file(linux/debian/cluma-scan.1 ${deb_folder}/cluma-scan.1 @ONLY)
configure_file(linux/debian/changelog.in ${deb_folder}/changelog @ONLY)

# Manual pages and changelogs go compressed, without a time stamp in the header.
set(deb_compressed)
foreach(name cluma-agent.1 cluma-scan.1 changelog)
  add_custom_command(OUTPUT ${deb_folder}/${name}.gz
                     COMMAND gzip -9 -n -f -k ${name}
                     DEPENDS ${deb_folder}/${name}
                     WORKING_DIRECTORY ${deb_folder}
                     VERBATIM)
  list(APPEND deb_compressed ${deb_folder}/${name}.gz)
endforeach()

install(TARGETS cluma-agent cluma-scan RUNTIME DESTINATION usr/bin COMPONENT debian)
install(FILES ${deb_folder}/cluma-agent.service DESTINATION lib/systemd/system COMPONENT debian)
install(FILES ${deb_folder}/cluma-agent.1.gz ${deb_folder}/cluma-scan.1.gz
        DESTINATION usr/share/man/man1 COMPONENT debian)
install(FILES linux/debian/copyright ${deb_folder}/changelog.gz
        DESTINATION usr/share/doc/cluma-agent COMPONENT debian)
install(PROGRAMS linux/screen/cluma-screen-x11vnc DESTINATION usr/lib/cluma-agent COMPONENT debian)
install(FILES linux/screen/cluma-screen.desktop DESTINATION etc/xdg/autostart COMPONENT debian)
list(APPEND packaged_inputs cluma-scan ${deb_compressed} linux/debian/postinst linux/debian/prerm
     linux/debian/postrm linux/debian/conffiles linux/debian/copyright linux/debian.cmake
     linux/screen/cluma-screen-x11vnc linux/screen/cluma-screen.desktop)
