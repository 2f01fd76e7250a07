# The colour dialog on real windows under Wine. Included from tests/CMakeLists.txt (Windows
# builds), where GoogleTest is known and testing is enabled.
add_executable(cluma_colour_dialog_tests
               ${CMAKE_SOURCE_DIR}/tests/win32/colour_dialog_win32_test.cpp)
target_link_libraries(cluma_colour_dialog_tests PRIVATE cluma_colour_dialog cluma_resources
                                                        ${CLUMA_GTEST} GTest::gtest_main)
add_test(NAME cluma_colour_dialog_tests_under_wine COMMAND cluma_colour_dialog_tests)
set_tests_properties(cluma_colour_dialog_tests_under_wine PROPERTIES TIMEOUT 300 LABELS wine)
