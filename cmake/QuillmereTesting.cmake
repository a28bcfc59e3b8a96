# GoogleTest for both builds, and Wine as the runner of cross-compiled tests.
# The installed GoogleTest package first. A cross build finds packages and libraries only under
# its toolchain's root (cmake/mingw-common.cmake), never the host's Linux libgtest; without one
# there it builds Debian's GoogleTest sources with its own compiler.
find_package(GTest QUIET)
if(GTest_FOUND AND CMAKE_CROSSCOMPILING)
  get_target_property(qm_gtest_library GTest::gtest LOCATION)
  set(qm_gtest_in_root FALSE)
  foreach(root ${CMAKE_FIND_ROOT_PATH})
    string(FIND "${qm_gtest_library}" "${root}/" at)
    if(at EQUAL 0)
      set(qm_gtest_in_root TRUE)
    endif()
  endforeach()
  if(NOT qm_gtest_in_root)
    message(FATAL_ERROR "GoogleTest ${qm_gtest_library} is not the cross toolchain's (${CMAKE_FIND_ROOT_PATH})")
  endif()
endif()
if(NOT GTest_FOUND)
  set(QM_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's sources, built when no GoogleTest package is found")
  if(NOT EXISTS ${QM_GOOGLETEST_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest is missing (no package, no sources in ${QM_GOOGLETEST_SOURCE}): "
                        "scripts/install-deps installs what the build needs.")
  endif()
  if(WIN32)
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  endif()
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${QM_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()
if(WIN32 AND CMAKE_CROSSCOMPILING)
  # Every Win32 test runs under Wine, headless, in a prefix inside the build tree, whose system
  # folder holds the simulated directory's DLLs as they are built.
  set(QM_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  set(QM_SIMDIR_DLL_FOLDER ${CMAKE_BINARY_DIR}/simdir)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/cmake/wine-run;--system-dlls;${QM_SIMDIR_DLL_FOLDER};${QM_WINEPREFIX})
endif()

# qm_call_log(TEST LOG [SET_ENVIRONMENT]): TEST makes the simulated directory write its call log
# to LOG, which call_log_audit reads once every test has run; with SET_ENVIRONMENT the test's
# QUILLMERE_SIMDIR_LOG names it (other tests name it to the program they start). The test
# call_logs_reset (tests/hostile) removes every such log before the tests that write them, so no
# earlier run's log is taken for this one's. Call it after any set_tests_properties(ENVIRONMENT).
function(qm_call_log test log)
  cmake_parse_arguments(L "SET_ENVIRONMENT" "" "" ${ARGN})
  set_property(GLOBAL APPEND PROPERTY QM_CALL_LOGS ${log})
  set_property(TEST ${test} APPEND PROPERTY DEPENDS call_logs_reset)
  if(L_SET_ENVIRONMENT)
    set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT "QUILLMERE_SIMDIR_LOG=${log}")
  endif()
endfunction()

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
