# Each library of the installer sees only the layers it may use. Its include
# root is a folder of the build holding one link, named as the layer is
# included ("store", "platform/hosted"), to the layer's sources, or to some
# of its files; a library reaches the layers below it only through the roots
# of the libraries it links. An include of any other layer finds no file, and
# the build fails.
function(stashwell_layer_root target scope layer)
    set(root ${PROJECT_BINARY_DIR}/layers/${target})
    set(link ${root}/${layer})
    if(ARGN)
        file(MAKE_DIRECTORY ${link})
        foreach(file IN LISTS ARGN)
            file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR}/${file} ${link}/${file} SYMBOLIC)
        endforeach()
    else()
        cmake_path(GET link PARENT_PATH parent)
        file(MAKE_DIRECTORY ${parent})
        file(REMOVE ${link})
        file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${link} SYMBOLIC)
    endif()
    target_include_directories(${target} ${scope} ${root})
endfunction()
