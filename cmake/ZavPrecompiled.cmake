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
set(ZAV_PCH_STD_TESTS <chrono> <cstring> <filesystem> <fstream> <sstream> <thread>)

# Test drivers are built without the optimiser: most of their compile time went to it, on
# long test bodies that run once. The code under test keeps the build's own flags.
set(ZAV_TEST_COMPILE_OPTIONS -O0 CACHE STRING "Extra compile options of the test drivers")
if(ZAV_SANITIZE)
    # The code under test keeps both sanitizers; in the test drivers the undefined-behaviour
    # checks took two fifths of the compile time, and their memory is still checked.
    list(APPEND ZAV_TEST_COMPILE_OPTIONS -fno-sanitize=undefined)
endif()

# Creates the target that owns the precompiled header of one kind. Its compile flags are
# the users' flags: GCC takes a precompiled header only where they agree. OPTIONS are given
# to the kind's users as well, with or without precompiled headers.
function(zav_pch_kind kind)
    cmake_parse_arguments(PCH "" "" "LIBS;HEADERS;OPTIONS" ${ARGN})
    set_property(GLOBAL PROPERTY ZAV_PCH_OPTIONS_${kind} ${PCH_OPTIONS})
    if(NOT ZAV_PCH)
        return()
    endif()
    set(target zav_pch_${kind})
    add_library(${target} STATIC ${PROJECT_SOURCE_DIR}/cmake/PrecompiledAnchor.cpp)
    target_link_libraries(${target} PRIVATE ${PCH_LIBS})
    # Qt builds everything with -fPIC; a header is only taken by code built the same way.
    set_target_properties(${target} PROPERTIES POSITION_INDEPENDENT_CODE ON)
    target_compile_options(${target} PRIVATE ${PCH_OPTIONS})
    target_precompile_headers(${target} PRIVATE ${PCH_HEADERS})
    set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/${target}_autogen/mocs_compilation.cpp
        PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
endfunction()

# Makes each given target use the precompiled header of one kind, when it exists.
function(zav_use_pch kind)
    get_property(options GLOBAL PROPERTY ZAV_PCH_OPTIONS_${kind})
    foreach(target ${ARGN})
        target_compile_options(${target} PRIVATE ${options})
    endforeach()
    if(NOT ZAV_PCH OR NOT TARGET zav_pch_${kind})
        return()
    endif()
    foreach(target ${ARGN})
        target_precompile_headers(${target} REUSE_FROM zav_pch_${kind})
        target_compile_options(${target} PRIVATE -fPIC)
        # Most targets keep their classes' meta-object code beside the class, so their
        # collected file is empty: reading the header into it cost more than compiling it.
        get_target_property(binary_dir ${target} BINARY_DIR)
        set_source_files_properties(${binary_dir}/${target}_autogen/mocs_compilation.cpp
            PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
    endforeach()
endfunction()
