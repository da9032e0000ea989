# Windows resources shared by the programs: every .exe carries the project's
# version (Explorer's Details tab, installers' upgrade checks).

set(ORADEL_VERSION_INFO_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/version_info.rc.in)

# The project's version as the four numbers Windows takes; missing parts count as 0.
set(ORADEL_VERSION_NUMBERS "")
foreach(part MAJOR MINOR PATCH TWEAK)
    if("${PROJECT_VERSION_${part}}" STREQUAL "")
        list(APPEND ORADEL_VERSION_NUMBERS 0)
    else()
        list(APPEND ORADEL_VERSION_NUMBERS ${PROJECT_VERSION_${part}})
    endif()
endforeach()
list(JOIN ORADEL_VERSION_NUMBERS "," ORADEL_RC_VERSION_COMMAS)
list(JOIN ORADEL_VERSION_NUMBERS "." ORADEL_VERSION_FOUR_PARTS)

# Adds a version resource to `target` (an executable) describing it as `description`.
function(oradel_add_version_info target description)
    set(ORADEL_RC_TARGET ${target})
    set(ORADEL_RC_FILE_NAME ${target}.exe)
    set(ORADEL_RC_DESCRIPTION "${description}")
    set(resource ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
    configure_file(${ORADEL_VERSION_INFO_TEMPLATE} ${resource} @ONLY)
    target_sources(${target} PRIVATE ${resource})
endfunction()
