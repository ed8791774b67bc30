# Include directories per module, so that an upward include does not compile.
#
# Every module is reached under one prefix ("mfc/CString.h", "opcsdk/OpcDa.h", "model/XVKDataModel.h").
# The build makes one folder per module, include/<prefix>/, holding a single symlink named after the
# prefix that points at the module's source folder; that folder is the module's only include
# directory. A module sees its own headers and, through what it links, those of the layers below;
# a header of a layer above is not on its path. No folder shares a prefix, and the source tree itself
# is never an include directory.
#
#   qyr_module_includes(<target> <prefix> [<source folder>])   (default: the current source folder)
function(qyr_module_includes target prefix)
    set(src ${CMAKE_CURRENT_SOURCE_DIR})
    if(ARGC GREATER 2)
        set(src ${ARGV2})
    endif()
    set(root ${CMAKE_BINARY_DIR}/include/${prefix})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${src} ${root}/${prefix} SYMBOLIC)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY")
        target_include_directories(${target} INTERFACE ${root})
    else()
        target_include_directories(${target} PUBLIC ${root})
    endif()
    set_property(GLOBAL APPEND PROPERTY QYR_MODULE_PREFIXES ${prefix})
endfunction()
