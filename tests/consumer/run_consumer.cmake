# Run by CTest: installs kavhost and the plug-in from the build tree into a fresh prefix,
# then configures, builds and runs this consumer project against that prefix.
#   cmake -DMVP_BUILD_DIR=... -DMVP_WORK_DIR=... -DMVP_CONSUMER_SOURCE=... -DMVP_GENERATOR=...
#         -DMVP_CXX_COMPILER=... -DMVP_BUILD_TYPE=... -DMVP_QT_MAJOR=5|6 -DMVP_QT_DIR=...
#         -P run_consumer.cmake
foreach(var MVP_BUILD_DIR MVP_WORK_DIR MVP_CONSUMER_SOURCE MVP_GENERATOR MVP_QT_MAJOR)
  if(NOT DEFINED ${var} OR "${${var}}" STREQUAL "")
    message(FATAL_ERROR "run_consumer.cmake: ${var} is not set")
  endif()
endforeach()
if(NOT MVP_BUILD_TYPE)
  set(MVP_BUILD_TYPE RelWithDebInfo)
endif()

function(run_step what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${what} failed (${rc}):\n${out}\n${err}")
  endif()
  message(STATUS "${what}: ok")
endfunction()

set(prefix ${MVP_WORK_DIR}/prefix)
set(build ${MVP_WORK_DIR}/build)
file(REMOVE_RECURSE ${MVP_WORK_DIR})

run_step("building the package's libraries"
  ${CMAKE_COMMAND} --build ${MVP_BUILD_DIR} --target KavMCADVisProp)

# Only the package: the top level (exported targets, config files), the host and the
# plug-in; nothing else of the tree (the application, tests) needs to be built for this.
foreach(dir "" /host /library)
  run_step("installing ${MVP_BUILD_DIR}${dir}"
    ${CMAKE_COMMAND} -DCMAKE_INSTALL_PREFIX=${prefix} -DCMAKE_INSTALL_LOCAL_ONLY=ON
      -DCMAKE_INSTALL_CONFIG_NAME=${MVP_BUILD_TYPE}
      -P ${MVP_BUILD_DIR}${dir}/cmake_install.cmake)
endforeach()

# Private headers stay in the tree, and no installed header reaches for one.
file(GLOB_RECURSE private_headers ${prefix}/*_p.h)
file(GLOB_RECURSE installed_headers ${prefix}/*.h)
foreach(header IN LISTS installed_headers)
  file(STRINGS ${header} private_includes REGEX "#include .*_p\\.h")
  if(private_includes)
    list(APPEND private_headers "${header} includes ${private_includes}")
  endif()
endforeach()
if(private_headers)
  message(FATAL_ERROR "private headers in the installed package:\n${private_headers}")
endif()
message(STATUS "no private header installed: ok")

set(configure_args -S ${MVP_CONSUMER_SOURCE} -B ${build} -G ${MVP_GENERATOR}
  -DCMAKE_BUILD_TYPE=${MVP_BUILD_TYPE} -DCMAKE_PREFIX_PATH=${prefix})
if(MVP_CXX_COMPILER)
  list(APPEND configure_args -DCMAKE_CXX_COMPILER=${MVP_CXX_COMPILER})
endif()
if(MVP_QT_DIR)
  list(APPEND configure_args -DQt${MVP_QT_MAJOR}_DIR=${MVP_QT_DIR})
endif()
run_step("configuring the consumer" ${CMAKE_COMMAND} ${configure_args})
run_step("building the consumer" ${CMAKE_COMMAND} --build ${build})

# The installed libraries carry no run path of their own.
set(libdirs)
file(GLOB_RECURSE installed_libs ${prefix}/*/libkavhost.so*)
foreach(lib IN LISTS installed_libs)
  get_filename_component(d ${lib} DIRECTORY)
  list(APPEND libdirs ${d})
endforeach()
list(REMOVE_DUPLICATES libdirs)
string(REPLACE ";" ":" libpath "${libdirs}")
run_step("running the consumer"
  ${CMAKE_COMMAND} -E env LD_LIBRARY_PATH=${libpath} QT_QPA_PLATFORM=offscreen ${build}/mvp_consumer)
