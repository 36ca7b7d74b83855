# kr7d_add_library(<name> <STATIC|SHARED> PREFIX <prefix>[=<folder>]... [SOURCES <files...>])
# One of our libraries, with the house options. Its headers are published under their prefix
# only (<comm/frame.h>), through a folder of links in the build tree: a target sees a
# component's headers only when it links that component, so an include that points up the
# layers, or one without its prefix, does not compile. <folder> defaults to the current one.
function(kr7d_add_library name type)
    cmake_parse_arguments(L "" "" "PREFIX;SOURCES" ${ARGN})
    add_library(${name} ${type} ${L_SOURCES})
    set(root ${CMAKE_BINARY_DIR}/include/${name})
    file(MAKE_DIRECTORY ${root})
    foreach(entry IN LISTS L_PREFIX)
        if(entry MATCHES "^([^=]+)=(.+)$")
            set(prefix ${CMAKE_MATCH_1})
            get_filename_component(folder ${CMAKE_MATCH_2} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
        else()
            set(prefix ${entry})
            set(folder ${CMAKE_CURRENT_SOURCE_DIR})
        endif()
        file(CREATE_LINK ${folder} ${root}/${prefix} SYMBOLIC)
    endforeach()
    target_include_directories(${name} PUBLIC ${root})
    target_link_libraries(${name} PRIVATE kr7d_options)
endfunction()
