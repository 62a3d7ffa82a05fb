# cmake --install: the program, its files, the desktop entry with its icons, the AppStream
# metadata and the udev rule,
# each in its usual place under the prefix (the rule also with the program's files, where the
# window's notice of a keyboard it may not open finds it). An installed program finds its files in
# <prefix>/share/tolvenic; the software update replaces exactly this layout.
include(GNUInstallDirs)

set(TV_INSTALL_DATA ${CMAKE_INSTALL_DATADIR}/tolvenic)

install(TARGETS Tolvenic RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/ DESTINATION ${TV_INSTALL_DATA}
  PATTERN README.md EXCLUDE
  PATTERN desktop EXCLUDE)
# The skin's pictures are drawn at build time beside the program.
install(DIRECTORY ${CMAKE_BINARY_DIR}/bin/skins DESTINATION ${TV_INSTALL_DATA})
install(FILES ${CMAKE_SOURCE_DIR}/data/desktop/tolvenic.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/data/desktop/tolvenic.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The application icon in the icon theme's sizes (drawn with the skin), and one for desktops
# that still look in pixmaps.
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${CMAKE_BINARY_DIR}/bin/skins/default/appicon/tolvenic_${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME tolvenic.png)
endforeach()
install(FILES ${CMAKE_BINARY_DIR}/bin/skins/default/appicon/tolvenic_128.png
  DESTINATION ${CMAKE_INSTALL_DATADIR}/pixmaps RENAME tolvenic.png)
install(FILES ${CMAKE_SOURCE_DIR}/data/udev/70-tolvenic.rules
  DESTINATION lib/udev/rules.d)
