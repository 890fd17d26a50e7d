# Each folder of src/ is one static library built from every .cpp in it (not of its subfolders).
function(zev_core_library name dir)
  file(GLOB _srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${dir}/*.cpp)
  add_library(${name} STATIC ${_srcs})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/include)
endfunction()

# A folder of Qt windows: the same, with moc and Qt Widgets.
function(zev_gui_library name dir)
  zev_core_library(${name} ${dir})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${name} PUBLIC Qt6::Widgets)
endfunction()

# One GoogleTest executable per folder of tests/.
function(zev_test_folder name dir)
  file(GLOB _srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${dir}/*.cpp)
  if(NOT _srcs)
    return()
  endif()
  add_executable(${name} ${_srcs})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARGN} zev_testsupport GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    ZEV_TEST_DATA_DIR="${CMAKE_SOURCE_DIR}/tests/${dir}/files"
    ZEV_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    ZEV_DIST_DIR="${ZEV_DIST_DIR}")
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
endfunction()
