# GoogleTest for both builds, and Wine as the runner of cross-compiled tests.
if(WIN32 AND CMAKE_CROSSCOMPILING)
  # GoogleTest from Debian's source package, built with the same toolchain.
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # Every Win32 test runs under Wine, headless, in a prefix inside the build tree, whose system
  # folder holds the simulated directory's DLLs as they are built.
  set(QM_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  set(QM_SIMDIR_DLL_FOLDER ${CMAKE_BINARY_DIR}/simdir)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/cmake/wine-run;--system-dlls;${QM_SIMDIR_DLL_FOLDER};${QM_WINEPREFIX})
else()
  find_package(GTest REQUIRED)
endif()

# qm_add_test(NAME source... LIBS lib... [ENVIRONMENT var=value...])
# One executable and one CTest entry; the executable reports each case itself.
function(qm_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;ENVIRONMENT" ${ARGN})
  add_executable(${name} ${T_SOURCES} ${T_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  qm_warnings(${name})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 300)
  if(T_ENVIRONMENT)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${T_ENVIRONMENT}")
  endif()
endfunction()
