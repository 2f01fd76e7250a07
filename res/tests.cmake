# Tests of the resources. Included from tests/CMakeLists.txt, where GoogleTest is known.
if(WIN32)
  # The compiled resources as the program loads them, checked under Wine.
  add_executable(cluma_resources_tests ${CMAKE_SOURCE_DIR}/tests/win32/resources_test.cpp)
  target_link_libraries(cluma_resources_tests PRIVATE cluma_resources ${CLUMA_GTEST}
                                                      GTest::gtest_main comctl32 gdiplus)
  cluma_add_button_images(cluma_resources_tests)
  add_test(NAME cluma_resources_tests_under_wine COMMAND cluma_resources_tests)
  set_tests_properties(cluma_resources_tests_under_wine PROPERTIES TIMEOUT 300 LABELS wine)
else()
  # The committed pictures are what the generator writes.
  find_package(Python3 COMPONENTS Interpreter)
  if(Python3_Interpreter_FOUND)
    add_test(NAME res_assets_up_to_date
             COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/res/generate_assets.py --check)
    set_tests_properties(res_assets_up_to_date PROPERTIES TIMEOUT 300 LABELS native)
  endif()
endif()
