# Installs the build into a scratch prefix and checks that the help viewer lands beside the
# editor, as Help/VESKHelp, where the editor's help commands start it.
#   cmake -DBUILD_DIR=... -DPREFIX=... -DLIBDIR=... -P InstallCheck.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
foreach(program ${LIBDIR}/vesk/VESK ${LIBDIR}/vesk/Help/VESKHelp)
  if(NOT EXISTS ${PREFIX}/${program} OR IS_DIRECTORY ${PREFIX}/${program})
    message(FATAL_ERROR "${program} is not installed")
  endif()
  execute_process(COMMAND test -x ${PREFIX}/${program} RESULT_VARIABLE notExecutable)
  if(NOT notExecutable EQUAL 0)
    message(FATAL_ERROR "${program} is not executable")
  endif()
endforeach()
file(REMOVE_RECURSE ${PREFIX})
