# LibVNCServer (libvncserver for the screen server, libvncclient for the viewer), as the targets
# LibVNCServer::vncserver and LibVNCServer::vncclient. Natively it is Debian's libvncserver-dev;
# for Windows it is the static build that scripts/vnc-libraries makes from Debian's source
# package under build/third-party/<triple>/, outside the MinGW system root.
if(WIN32)
  set(CLUMA_VNC_PREFIX ${CMAKE_SOURCE_DIR}/build/third-party/${MINGW_PREFIX})
  find_package(LibVNCServer 0.9.14 CONFIG PATHS ${CLUMA_VNC_PREFIX}/lib/cmake/LibVNCServer
               NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  if(NOT LibVNCServer_FOUND)
    message(FATAL_ERROR "LibVNCServer for ${MINGW_PREFIX} is not built yet: run scripts/vnc-libraries")
  endif()
else()
  find_package(LibVNCServer 0.9.14 CONFIG)
  if(NOT LibVNCServer_FOUND)
    message(FATAL_ERROR "LibVNCServer is missing: install Debian's libvncserver-dev")
  endif()
endif()
