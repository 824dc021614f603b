# Shipped files beside the reference databases: help pages and setup.ini go to the root of the
# shipped folder (the user's RootFolder is seeded from it).
file(GLOB_RECURSE NYLUXORA_HELP_FILES RELATIVE ${PROJECT_SOURCE_DIR}/data/help
  ${PROJECT_SOURCE_DIR}/data/help/*)
set(NYLUXORA_SHIPPED_OUTPUTS)
foreach(f ${NYLUXORA_HELP_FILES})
  set(out ${NYLUXORA_SHARE_DIR}/help/${f})
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/data/help/${f} ${out}
    DEPENDS ${PROJECT_SOURCE_DIR}/data/help/${f})
  list(APPEND NYLUXORA_SHIPPED_OUTPUTS ${out})
endforeach()
add_custom_command(OUTPUT ${NYLUXORA_SHARE_DIR}/setup.ini
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/data/setup.ini ${NYLUXORA_SHARE_DIR}/setup.ini
  DEPENDS ${PROJECT_SOURCE_DIR}/data/setup.ini)
list(APPEND NYLUXORA_SHIPPED_OUTPUTS ${NYLUXORA_SHARE_DIR}/setup.ini)
add_custom_target(nyluxora_shipped_files ALL DEPENDS ${NYLUXORA_SHIPPED_OUTPUTS})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/help DESTINATION ${CMAKE_INSTALL_DATADIR}/nyluxora)
install(FILES ${PROJECT_SOURCE_DIR}/data/setup.ini DESTINATION ${CMAKE_INSTALL_DATADIR}/nyluxora)
