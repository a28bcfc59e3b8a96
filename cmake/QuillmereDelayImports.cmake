# Delay-imports of whole system DLLs: nothing of them is loaded when the program starts, and the
# program's delay-load hook loads each on its first call.
#
# qm_delay_import(TARGET dll...) makes the INTERFACE library TARGET give its consumers every
# function of the named DLLs (for example netapi32) as delay imports.

if(MINGW)
  # MinGW's import libraries name every export of a DLL. A definition file written from one, with
  # the code thunks only (data cannot be delay-loaded), turns into a delay-import library through
  # dlltool; its thunks call __delayLoadHelper2 of the MinGW runtime.
  function(qm_mingw_delay_library dll out)
    find_library(QM_IMPORT_LIBRARY_${dll} ${dll} REQUIRED)
    set(library ${CMAKE_BINARY_DIR}/delay-imports/lib${dll}-delayed.a)
    set(${out} ${library} PARENT_SCOPE)
    if(EXISTS ${library})
      return()
    endif()
    execute_process(COMMAND ${CMAKE_NM} -g ${QM_IMPORT_LIBRARY_${dll}}
      OUTPUT_VARIABLE symbols RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "can't list the exports in ${QM_IMPORT_LIBRARY_${dll}}")
    endif()
    # 32-bit symbols carry a leading underscore and the stdcall suffix @N; the suffix stays in
    # the definition and kill-at takes it off the imported name.
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      set(underscore "_")
      set(kill_at --kill-at)
    endif()
    string(REGEX MATCHALL "[^\n]+ T ${underscore}[A-Za-z0-9_@?$]+" thunks "${symbols}")
    set(definition "LIBRARY ${dll}.dll\nEXPORTS\n")
    foreach(thunk ${thunks})
      string(REGEX REPLACE ".* T ${underscore}" "" name "${thunk}")
      string(APPEND definition "    ${name}\n")
    endforeach()
    file(WRITE ${CMAKE_BINARY_DIR}/delay-imports/${dll}.def "${definition}")
    execute_process(COMMAND ${CMAKE_DLLTOOL} ${kill_at} --input-def ${CMAKE_BINARY_DIR}/delay-imports/${dll}.def
      --dllname ${dll}.dll --output-delaylib ${library}.part RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "dlltool could not make the delay-import library of ${dll}.dll")
    endif()
    file(RENAME ${library}.part ${library})
  endfunction()
endif()

function(qm_delay_import target)
  foreach(dll ${ARGN})
    if(MSVC)
      target_link_libraries(${target} INTERFACE ${dll})
      target_link_options(${target} INTERFACE /DELAYLOAD:${dll}.dll)
    elseif(MINGW)
      qm_mingw_delay_library(${dll} library)
      target_link_libraries(${target} INTERFACE ${library})
      # The 32-bit linker drops the code of an import member whose own symbol nobody calls, and
      # a delay-import slot starts out pointing into that code. Calls through the headers'
      # dllimport go to the slot directly; without it they call the member's symbol and keep it.
      if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        target_compile_definitions(${target} INTERFACE DECLSPEC_IMPORT=)
      endif()
    else()
      message(FATAL_ERROR "no way to delay-import ${dll}.dll with this toolchain")
    endif()
  endforeach()
  if(MSVC)
    target_link_libraries(${target} INTERFACE delayimp)
  endif()
endfunction()
