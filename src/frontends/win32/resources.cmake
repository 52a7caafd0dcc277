# The installer's resources, linked into every program that shows its page or
# banner. The banner is painted at build time by banner.cmake.
set(banner_rc ${CMAKE_CURRENT_BINARY_DIR}/banner_bitmap.rc)
add_custom_command(
    OUTPUT ${banner_rc}
    COMMAND ${CMAKE_COMMAND} -DOUTPUT=${banner_rc} -P ${CMAKE_CURRENT_SOURCE_DIR}/banner.cmake
    DEPENDS banner.cmake
    COMMENT "Painting the banner bitmap"
    VERBATIM
)
set_source_files_properties(installer.rc PROPERTIES
    OBJECT_DEPENDS "${banner_rc};${CMAKE_CURRENT_SOURCE_DIR}/installer.manifest;${PROJECT_SOURCE_DIR}/src/wizard/resource_ids.h;${PROJECT_BINARY_DIR}/generated/stashwell_version.h"
)
add_library(stashwell_resources OBJECT installer.rc)
target_include_directories(stashwell_resources PRIVATE ${CMAKE_CURRENT_BINARY_DIR})
target_link_libraries(stashwell_resources PUBLIC stashwell_resource_ids PRIVATE stashwell_version)
