# Packages, made by `make package`: a .deb on Linux (CPack DEB); on Windows
# (a cross build, `make windows-package`) a zip (CPack ZIP) and an installer
# made with NSIS (target windows_installer). All carry the three programs, the
# README and the font licence; where the update's firmware image goes is said
# in the README, in FIRMWARE.txt beside the Windows programs and on the
# installer's last page.

set(VANTOR_PROGRAMS vantor)
foreach(program VantorFlash ORV_KDM9Update)
  if(TARGET ${program})
    list(APPEND VANTOR_PROGRAMS ${program})
  endif()
endforeach()

if(WIN32)
  # Packaging takes the programs `make windows-build` made; it builds no test.
  set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)
  install(TARGETS ${VANTOR_PROGRAMS} RUNTIME DESTINATION .)
  install(FILES README.md data/FONT-LICENSE.txt data/windows/FIRMWARE.txt DESTINATION .)
  # The installer installs for the user alone (no elevation), into a folder of
  # their own, from the stripped installation staged in installer-stage/.
  set(VANTOR_STAGE "${CMAKE_BINARY_DIR}/installer-stage")
  set(VANTOR_INSTALLER "${CMAKE_BINARY_DIR}/VantorFlash-${PROJECT_VERSION}-setup.exe")
  configure_file(data/windows/installer.nsi.in "${CMAKE_BINARY_DIR}/installer.nsi" @ONLY)
  find_program(VANTOR_MAKENSIS makensis)
  if(VANTOR_MAKENSIS)
    add_custom_target(windows_installer
      COMMAND "${CMAKE_COMMAND}" -E rm -rf "${VANTOR_STAGE}"
      COMMAND "${CMAKE_COMMAND}" --install "${CMAKE_BINARY_DIR}" --prefix "${VANTOR_STAGE}" --strip
      COMMAND "${VANTOR_MAKENSIS}" -V2 "${CMAKE_BINARY_DIR}/installer.nsi"
      DEPENDS ${VANTOR_PROGRAMS} VERBATIM)
  endif()
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME "VantorFlash-${PROJECT_VERSION}-windows")
else()
  include(GNUInstallDirs)
  install(TARGETS ${VANTOR_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES README.md data/FONT-LICENSE.txt DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vantorflash)
  if(TARGET VantorFlash)
    install(FILES data/linux/vantorflash.desktop data/linux/orv_kdm9update.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    foreach(size 16 32 48 64 128 256)
      foreach(name vantorflash orv_kdm9update)
        install(FILES data/icons/vantor_${size}.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
                RENAME ${name}.png)
      endforeach()
    endforeach()
  endif()
endif()

set(CPACK_PACKAGE_NAME "vantorflash")
set(CPACK_PACKAGE_VENDOR "Vantor")
set(CPACK_PACKAGE_CONTACT "Vantor developers <vantor@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "ORV KDM-9 flash ECM tools: live data, logs, VE learn, bank flashing, firmware update")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "VantorFlash")
set(CPACK_RESOURCE_FILE_LICENSE "${CMAKE_CURRENT_SOURCE_DIR}/data/FONT-LICENSE.txt")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_SECTION "electronics")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The Qt runtime and the C++ runtime, found from the programs' own links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window programs need a platform plugin to show a window at all.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fontconfig, qt6-qpa-plugins")

include(CPack)
