# Resource scripts: each module keeps one ".rc"-like text (string tables, menus, accelerators,
# dialog templates, bitmaps). The build embeds the text and every file it names into a generated
# source that registers the module with the resource chain of platform/mfc when it is loaded.
#
#   qyr_add_resources(<target> <module-name> <file.rc>)
#
# A script without a VERSIONINFO gets one with the build's version, so that every module of one
# build (programs, libraries and language libraries) carries the same fixed file version.
set(QYR_FILE_VERSION 1 0 0 0)
string(REPLACE ";" "," QYR_FILE_VERSION_COMMAS "${QYR_FILE_VERSION}")
string(REPLACE ";" "." QYR_FILE_VERSION_DOTS "${QYR_FILE_VERSION}")
function(qyr_version_record out module)
    set(${out} "
1 VERSIONINFO
FILEVERSION ${QYR_FILE_VERSION_COMMAS}
PRODUCTVERSION ${QYR_FILE_VERSION_COMMAS}
BEGIN
    BLOCK \"StringFileInfo\"
    BEGIN
        BLOCK \"040904B0\"
        BEGIN
            VALUE \"CompanyName\", \"Quendrel\"
            VALUE \"FileVersion\", \"${QYR_FILE_VERSION_DOTS}\"
            VALUE \"InternalName\", \"${module}\"
            VALUE \"ProductName\", \"Quendrel HMI\"
            VALUE \"ProductVersion\", \"${QYR_FILE_VERSION_DOTS}\"
        END
    END
    BLOCK \"VarFileInfo\"
    BEGIN
        VALUE \"Translation\", 0x409, 1200
    END
END
" PARENT_SCOPE)
endfunction()

function(qyr_add_resources target module rcfile)
    get_filename_component(rc_abs ${rcfile} ABSOLUTE)
    get_filename_component(rc_dir ${rc_abs} DIRECTORY)
    set(out ${CMAKE_CURRENT_BINARY_DIR}/${module}_resources.cpp)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${rc_abs})
    file(READ ${rc_abs} rc_text)
    if(NOT rc_text MATCHES "VERSIONINFO")
        qyr_version_record(version ${module})
        string(APPEND rc_text "${version}")
    endif()
    # Files named by BITMAP/ICON/CURSOR/AVI/PNG/CompsRes lines: NAME TYPE "relative/path"
    string(REGEX MATCHALL "\n[ \t]*[A-Za-z0-9_]+[ \t]+(BITMAP|ICON|CURSOR|AVI|PNG|CompsRes|RCDATA)[ \t]+\"[^\"]+\"" file_lines "\n${rc_text}")
    set(blobs "")
    set(table "")
    set(i 0)
    foreach(line IN LISTS file_lines)
        string(REGEX REPLACE ".*\"([^\"]+)\".*" "\\1" rel "${line}")
        get_filename_component(path ${rc_dir}/${rel} ABSOLUTE)
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${path})
        file(READ ${path} hex HEX)
        string(LENGTH "${hex}" hexlen)
        math(EXPR size "${hexlen} / 2")
        string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
        string(APPEND blobs "static const unsigned char kBlob${i}[] = {${bytes} 0};\n")
        string(APPEND table "    {\"${rel}\", kBlob${i}, ${size}},\n")
        math(EXPR i "${i} + 1")
    endforeach()
    if(i EQUAL 0)
        set(table "    {nullptr, nullptr, 0},\n")
    endif()
    file(CONFIGURE OUTPUT ${out} CONTENT
"// Generated from ${rcfile}; do not edit.
#include \"mfc/ResourceModule.h\"
static const char kText[] = R\"QYRRC(@rc_text@)QYRRC\";
@blobs@
static const AFX_RESOURCE_FILE kFiles[] = {
@table@};
// Registered before any other static of the module, which may load resources.
__attribute__((init_priority(1000))) static const AfxResourceRegistrar kRegistrar(\"${module}\", kText, kFiles, ${i});
" @ONLY)
    target_sources(${target} PRIVATE ${out})
endfunction()
