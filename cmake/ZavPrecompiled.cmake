# Precompiled headers, built once per kind and shared by every target of that kind: most of
# a test's or a dialog's compile time is spent parsing the same Qt and GoogleTest headers.
# Off with -DZAV_PCH=OFF (for example to check that every file includes what it uses).
option(ZAV_PCH "Share precompiled headers between targets" ON)
if(ZAV_PCH)
    # A header that no longer matches its users' flags would be parsed again in silence.
    add_compile_options(-Winvalid-pch)
endif()

set(ZAV_PCH_STD <algorithm> <functional> <memory> <optional> <string> <vector>)
set(ZAV_PCH_QT_WIDGETS
    <QApplication> <QComboBox> <QDialog> <QDir> <QFile> <QFileInfo> <QKeyEvent> <QLabel>
    <QLineEdit> <QPushButton> <QRadioButton> <QString> <QTabWidget> <QTextEdit> <QTimer>
    <QWidget>)

# Creates the target that owns the precompiled header of one kind. Its compile flags are
# the users' flags: GCC takes a precompiled header only where they agree.
function(zav_pch_kind kind)
    if(NOT ZAV_PCH)
        return()
    endif()
    cmake_parse_arguments(PCH "" "" "LIBS;HEADERS" ${ARGN})
    set(target zav_pch_${kind})
    add_library(${target} STATIC ${PROJECT_SOURCE_DIR}/cmake/PrecompiledAnchor.cpp)
    target_link_libraries(${target} PRIVATE ${PCH_LIBS})
    # Qt builds everything with -fPIC; a header is only taken by code built the same way.
    set_target_properties(${target} PROPERTIES POSITION_INDEPENDENT_CODE ON)
    target_precompile_headers(${target} PRIVATE ${PCH_HEADERS})
endfunction()

# Makes each given target use the precompiled header of one kind, when it exists.
function(zav_use_pch kind)
    if(NOT ZAV_PCH OR NOT TARGET zav_pch_${kind})
        return()
    endif()
    foreach(target ${ARGN})
        target_precompile_headers(${target} REUSE_FROM zav_pch_${kind})
        target_compile_options(${target} PRIVATE -fPIC)
    endforeach()
endfunction()
