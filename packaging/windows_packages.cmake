# The Windows packages, made from the cross-built programs:
#   oradel-msi  oradel-VERSION-windows-x64.msi, the per-user installer (oradel.wxs, wixl)
#   oradel-zip  oradel-VERSION-windows-x64.zip, the portable folder
# Both take the window oradel.exe when this build makes it.
set(ORADEL_WINDOWS_PACKAGE oradel-${PROJECT_VERSION}-windows-x64)
install(FILES ${ORADEL_GUIDES} DESTINATION ${CMAKE_INSTALL_BINDIR} OPTIONAL)

if(NOT TARGET oradel-guide)
    message(WARNING "No user guide: the Windows packages are NOT built.")
    return()
endif()

set(program_files $<TARGET_FILE:oradel-convert> ${ORADEL_GUIDES})
# What a pilot reads beside the programs: the guides above, the changelog and the example list.
set(changelog ${PROJECT_SOURCE_DIR}/CHANGELOG.md)
set(example ${PROJECT_SOURCE_DIR}/examples/sites.txt)
set(program_targets oradel-convert oradel-guide)
set(defines -D Version=${PROJECT_VERSION})
if(ORADEL_HOMEPAGE)
    list(APPEND defines -D HomePage=${ORADEL_HOMEPAGE})
endif()
if(TARGET oradel)
    list(APPEND program_files $<TARGET_FILE:oradel>)
    list(APPEND program_targets oradel)
    list(APPEND defines -D WithWindow=1)
else()
    message(WARNING "The window oradel.exe is not built: the Windows packages hold only oradel-convert.exe.")
endif()

# The portable zip: one folder with the programs, the guides, the changelog and the example list.
set(zip_root ${CMAKE_CURRENT_BINARY_DIR}/zip)
set(zip_folder ${zip_root}/${ORADEL_WINDOWS_PACKAGE})
set(zip ${CMAKE_CURRENT_BINARY_DIR}/${ORADEL_WINDOWS_PACKAGE}.zip)
add_custom_command(OUTPUT ${zip}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${zip_root}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${zip_folder}/examples
    COMMAND ${CMAKE_COMMAND} -E copy ${program_files} ${changelog} ${zip_folder}
    COMMAND ${CMAKE_COMMAND} -E copy ${example} ${zip_folder}/examples
    COMMAND ${CMAKE_COMMAND} -E rm -f ${zip}
    COMMAND ${CMAKE_COMMAND} -E chdir ${zip_root}
            ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip ${ORADEL_WINDOWS_PACKAGE}
    DEPENDS ${program_targets} ${ORADEL_GUIDES} ${changelog} ${example}
    COMMENT "Packing ${ORADEL_WINDOWS_PACKAGE}.zip"
    VERBATIM)
add_custom_target(oradel-zip DEPENDS ${zip})

# The installer: wixl finds the files that oradel.wxs names in the folder of the .wxs.
find_program(ORADEL_WIXL wixl)
if(NOT ORADEL_WIXL)
    message(WARNING "wixl not found: the Windows installer is NOT built. scripts/package.sh installs it.")
    return()
endif()
set(msi_folder ${CMAKE_CURRENT_BINARY_DIR}/msi)
set(msi ${CMAKE_CURRENT_BINARY_DIR}/${ORADEL_WINDOWS_PACKAGE}.msi)
add_custom_command(OUTPUT ${msi}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${msi_folder}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${msi_folder}
    COMMAND ${CMAKE_COMMAND} -E copy ${program_files} ${changelog} ${example}
            ${CMAKE_CURRENT_SOURCE_DIR}/oradel.wxs ${CMAKE_CURRENT_SOURCE_DIR}/oradel.installed
            ${msi_folder}
    COMMAND ${ORADEL_WIXL} -a x64 ${defines} -o ${msi}
            ${msi_folder}/oradel.wxs
    DEPENDS ${program_targets} ${ORADEL_GUIDES} ${changelog} ${example}
            ${CMAKE_CURRENT_SOURCE_DIR}/oradel.wxs ${CMAKE_CURRENT_SOURCE_DIR}/oradel.installed
    COMMENT "Building ${ORADEL_WINDOWS_PACKAGE}.msi"
    VERBATIM)
add_custom_target(oradel-msi DEPENDS ${msi})
