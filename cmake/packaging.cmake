# Packages, made by `make package`: a .deb on Linux (CPack DEB); on Windows
# (a cross build) a zip and an NSIS installer. Both carry the three programs,
# the README and the font licence; where the update's firmware image goes is
# said in the README and on the installer's last page.

set(VANTOR_PROGRAMS vantor)
foreach(program VantorFlash ORV_KDM9Update)
  if(TARGET ${program})
    list(APPEND VANTOR_PROGRAMS ${program})
  endif()
endforeach()

if(WIN32)
  install(TARGETS ${VANTOR_PROGRAMS} RUNTIME DESTINATION .)
  install(FILES README.md data/FONT-LICENSE.txt DESTINATION .)
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
