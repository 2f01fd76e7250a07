# The Windows Installer packages, made beside the zip (included by packaging/CMakeLists.txt):
#   ClumaDeck-<version>-windows-<processor>.msi        the console, its viewer korvidVi.exe
#                                                      and cluma-scan.exe, for the
#                                                      presenter's PC
#   ClumaDeck-agent-<version>-windows-<processor>.msi  the agent service, the screen server
#                                                      with its launcher service and the
#                                                      student's dialog, for every PC
# make_msi.py runs wixl on the .wxs and applies the .sql beside it. The recipe file written
# here holds each package's command, so the installers' test can make a higher version.
find_program(WIXL wixl REQUIRED)
find_program(MSIBUILD msibuild REQUIRED)
find_program(PYTHON3 python3 REQUIRED)

# The setup actions that make localIp.txt; they go into the console's package, not onto disk.
add_library(ClumaDeckSetup MODULE windows/setup_actions/setup_actions.cpp
                                  windows/setup_actions/setup_actions.def)
set_target_properties(ClumaDeckSetup PROPERTIES PREFIX "")
target_link_libraries(ClumaDeckSetup PRIVATE cluma_setup_text msi advapi32)
target_link_options(ClumaDeckSetup PRIVATE -static -static-libgcc -static-libstdc++ -s
                    -Wl,--kill-at)

# The system folder of the package's processor, where netsh.exe is.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL x86_64)
  set(msi_arch x64)
  set(msi_system_folder System64Folder)
else()
  set(msi_arch x86)
  set(msi_system_folder SystemFolder)
endif()

# The programs go in without their symbol tables, as in the zip.
set(msi_inputs ${CMAKE_CURRENT_BINARY_DIR}/msi)
file(MAKE_DIRECTORY ${msi_inputs})
foreach(program ClumaDeck korvidVi cluma-agent ClumaAsk cluma-scan cluma-screen
                cluma-screen-launcher)
  add_custom_command(OUTPUT ${msi_inputs}/${program}.exe
                     COMMAND ${CMAKE_STRIP} -o ${msi_inputs}/${program}.exe
                             $<TARGET_FILE:${program}>
                     DEPENDS ${program}
                     VERBATIM)
endforeach()

set(make_msi ${CMAKE_CURRENT_SOURCE_DIR}/windows/make_msi.py)
set(console_msi
    ${CPACK_PACKAGE_DIRECTORY}/ClumaDeck-${PROJECT_VERSION}-windows-${CMAKE_SYSTEM_PROCESSOR}.msi)
set(agent_msi
    ${CPACK_PACKAGE_DIRECTORY}/ClumaDeck-agent-${PROJECT_VERSION}-windows-${CMAKE_SYSTEM_PROCESSOR}.msi)
set(assets ${CMAKE_SOURCE_DIR}/res/assets)
set(console_defines Version=${PROJECT_VERSION} Arch=${msi_arch}
    ConsoleProgram=${msi_inputs}/ClumaDeck.exe ViewerProgram=${msi_inputs}/korvidVi.exe
    ScanProgram=${msi_inputs}/cluma-scan.exe
    IpSetPicture=${assets}/ipSet.PNG
    HelpPicture=${assets}/help.png ConsoleIcon=${assets}/globe.ico
    SetupActions=$<TARGET_FILE:ClumaDeckSetup> LicenseText=${CLUMA_LICENSE_TEXT})
set(agent_defines Version=${PROJECT_VERSION} Arch=${msi_arch} SystemFolder=${msi_system_folder}
    AgentProgram=${msi_inputs}/cluma-agent.exe AskProgram=${msi_inputs}/ClumaAsk.exe
    ScreenProgram=${msi_inputs}/cluma-screen.exe
    LauncherProgram=${msi_inputs}/cluma-screen-launcher.exe
    AgentIcon=${assets}/ask.ico LicenseText=${CLUMA_LICENSE_TEXT})
function(_cluma_msi output wxs defines inputs)
  set(arguments)
  foreach(define IN LISTS defines)
    list(APPEND arguments -D ${define})
  endforeach()
  get_filename_component(name ${output} NAME)
  get_filename_component(stem ${wxs} NAME_WE)
  add_custom_command(OUTPUT ${output}
                     COMMAND ${PYTHON3} ${make_msi} ${CMAKE_CURRENT_SOURCE_DIR}/${wxs} ${output}
                             --arch ${msi_arch} ${arguments}
                     DEPENDS ${make_msi} ${wxs} windows/${stem}.sql windows/RoomPassword.wxi
                             ${inputs}
                     COMMENT "Making ${name}"
                     VERBATIM)
endfunction()
_cluma_msi(${console_msi} windows/ClumaDeck.wxs "${console_defines}"
           "${msi_inputs}/ClumaDeck.exe;${msi_inputs}/korvidVi.exe;${msi_inputs}/cluma-scan.exe;ClumaDeckSetup;${CLUMA_BUTTON_IMAGES};${CLUMA_LICENSE_TEXT}")
_cluma_msi(${agent_msi} windows/ClumaDeck-agent.wxs "${agent_defines}"
           "${msi_inputs}/cluma-agent.exe;${msi_inputs}/ClumaAsk.exe;${msi_inputs}/cluma-screen.exe;${msi_inputs}/cluma-screen-launcher.exe;${CLUMA_LICENSE_TEXT}")
set(installer_files ${console_msi} ${agent_msi})

# What the installers' test needs to make the console's package again with another version.
string(REPLACE ";" "\",\"" console_json "${console_defines}")
file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/packages/msi-recipe.json CONTENT
"{\"make_msi\": \"${make_msi}\", \"arch\": \"${msi_arch}\",
 \"console\": {\"wxs\": \"${CMAKE_CURRENT_SOURCE_DIR}/windows/ClumaDeck.wxs\",
             \"defines\": [\"${console_json}\"]}}
")
set(CLUMA_CONSOLE_MSI ${console_msi} CACHE INTERNAL "This build folder's console installer")
set(CLUMA_AGENT_MSI ${agent_msi} CACHE INTERNAL "This build folder's agent installer")
