# Precompiled headers where they pay off: the standard library in every library with several
# sources, Qt in the window layer, GoogleTest in the tests. -DQYR_PCH=OFF builds without them (to
# check that every file includes what it uses).
#
#   qyr_precompile(<target> [QT] [GTEST])
option(QYR_PCH "Precompile the standard library, Qt and GoogleTest headers" ON)

set(QYR_PCH_STD <algorithm> <cstdint> <cstring> <functional> <map> <memory> <mutex> <string> <unordered_map>
    <utility> <vector>)

function(qyr_precompile target)
    if(NOT QYR_PCH)
        return()
    endif()
    cmake_parse_arguments(P "QT;GTEST" "" "" ${ARGN})
    set(headers ${QYR_PCH_STD})
    if(P_QT)
        list(APPEND headers <QApplication> <QImage> <QPainter> <QString> <QWidget>)
    endif()
    if(P_GTEST)
        list(APPEND headers <gtest/gtest.h> <gmock/gmock.h>)
    endif()
    list(TRANSFORM headers REPLACE "^(.+)$" "$<$<COMPILE_LANGUAGE:CXX>:\\1>")
    target_precompile_headers(${target} PRIVATE ${headers})
endfunction()
