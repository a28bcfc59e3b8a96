# Sanitizer and fuzzing builds: QM_SANITIZE instruments everything with ASan and UBSan; QM_FUZZ
# (clang only) does the same with libFuzzer's coverage hooks and builds the fuzz targets.
option(QM_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(QM_FUZZ "Build the libFuzzer targets (clang)" OFF)

if(QM_SANITIZE OR QM_FUZZ)
  if(MSVC)
    # MSVC has AddressSanitizer only, and refuses it together with the run-time checks of Debug.
    add_compile_options(/fsanitize=address)
    string(REPLACE "/RTC1" "" CMAKE_CXX_FLAGS_DEBUG "${CMAKE_CXX_FLAGS_DEBUG}")
    if(QM_FUZZ)
      message(FATAL_ERROR "QM_FUZZ needs clang and libFuzzer")
    endif()
  else()
    # Every finding ends the run: a report that scrolls past in a passing test is worthless.
    set(QM_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_compile_options(${QM_SANITIZER_FLAGS})
    add_link_options(${QM_SANITIZER_FLAGS})
  endif()
endif()

if(QM_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "QM_FUZZ needs clang++ (CMAKE_CXX_COMPILER=clang++)")
  endif()
  # The libraries get coverage hooks; only the fuzz targets link libFuzzer's main.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
