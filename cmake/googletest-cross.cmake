# GoogleTest for a cross build: Debian ships GoogleTest as sources
# (package googletest, /usr/src/googletest), built here with the cross
# compiler. Provides the target names of a native GoogleTest package
# (GTest::gtest, GTest::gtest_main, GTest::gmock), so that the test tree
# links the same way on every system.
set(KVITRA_GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest's sources for a cross build")
if(NOT EXISTS ${KVITRA_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
  message(STATUS "No GoogleTest sources in ${KVITRA_GOOGLETEST_SOURCE_DIR}: the tests are not built")
  return()
endif()

set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
# The C runtime the rest of the program links, never a second one.
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${KVITRA_GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# GoogleTest 1.11 and later define these names itself.
foreach(library gtest gtest_main gmock gmock_main)
  if(NOT TARGET GTest::${library})
    add_library(GTest::${library} ALIAS ${library})
  endif()
endforeach()
