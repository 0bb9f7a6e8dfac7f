include(GoogleTest)

# statvane_add_test(NAME [GUI] SOURCES files... LIBS targets... [LABELS labels...])
# Builds one GoogleTest program and registers each of its tests with ctest.
# Its main makes a QCoreApplication, or a QApplication with GUI.
function(statvane_add_test name)
    cmake_parse_arguments(ARG "GUI" "" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    if(ARG_GUI)
        set(test_main statvane_gui_test_main)
    else()
        set(test_main statvane_test_main)
    endif()
    target_link_libraries(${name} PRIVATE
        statvane_options ${test_main} statvane_test_support ${ARG_LIBS})
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        PROPERTIES LABELS "${ARG_LABELS}"
                   ENVIRONMENT "QT_QPA_PLATFORM=offscreen;STATVANE_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endfunction()
