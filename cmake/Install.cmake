# cmake --install: the program looks for its engine library, help/ and adb/
# beside its own executable, so they are installed together into
# <prefix>/lib/korvana; <prefix>/bin holds symbolic links to the executables
# (the program resolves its real path through /proc/self/exe). A desktop
# entry and an icon put Korvana into the desktop's menu.

set(KORVANA_INSTALL_DIR lib/korvana)

install(TARGETS korvana-cli RUNTIME DESTINATION ${KORVANA_INSTALL_DIR})
if(TARGET korvana)
  install(TARGETS korvana RUNTIME DESTINATION ${KORVANA_INSTALL_DIR})
endif()
if(TARGET kumo98)
  install(TARGETS kumo98 LIBRARY DESTINATION ${KORVANA_INSTALL_DIR})
endif()
install(DIRECTORY ${CMAKE_SOURCE_DIR}/help/ DESTINATION ${KORVANA_INSTALL_DIR}/help)
# The default opening-book directory, empty until the user saves positions.
install(DIRECTORY DESTINATION ${KORVANA_INSTALL_DIR}/adb
  DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(KORVANA_LINKED korvana-cli)
if(TARGET korvana)
  list(APPEND KORVANA_LINKED korvana)
endif()
foreach(program ${KORVANA_LINKED})
  # Evaluated at install time, so that --prefix and DESTDIR are honoured.
  install(CODE "
    set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
    file(MAKE_DIRECTORY \"\${bin}\")
    file(REMOVE \"\${bin}/${program}\")
    file(CREATE_LINK \"../${KORVANA_INSTALL_DIR}/${program}\" \"\${bin}/${program}\" SYMBOLIC)
    message(STATUS \"Installing: \${bin}/${program} -> ../${KORVANA_INSTALL_DIR}/${program}\")
  ")
endforeach()

if(TARGET korvana)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/korvana.svg DESTINATION share/icons/hicolor/scalable/apps)
  # The entry names the program by its full installed path: a private prefix need not be on PATH.
  install(CODE "
    set(KORVANA_EXEC \"\${CMAKE_INSTALL_PREFIX}/bin/korvana\")
    set(applications \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/share/applications\")
    configure_file(\"${CMAKE_SOURCE_DIR}/packaging/korvana.desktop.in\" \"\${applications}/korvana.desktop\" @ONLY)
    message(STATUS \"Installing: \${applications}/korvana.desktop\")
  ")
endif()
