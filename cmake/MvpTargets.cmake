# Settings every target of ours shares.
function(mvp_strict_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
  target_compile_definitions(${target} PRIVATE
    QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_DISABLE_DEPRECATED_BEFORE=0x050F00)
endfunction()

# Installs a library's public headers, keeping their folder below `base`.
function(mvp_install_headers base destination)
  foreach(header IN LISTS ARGN)
    file(RELATIVE_PATH rel ${base} ${header})
    get_filename_component(dir ${rel} DIRECTORY)
    install(FILES ${header} DESTINATION ${destination}/${dir})
  endforeach()
endfunction()

# Collects the sources and headers (and forms) of the given sub-folders of `base`.
# New files are picked up by the glob when CMake re-runs.
function(mvp_collect_sources base sources_var headers_var)
  set(sources)
  set(headers)
  foreach(folder IN LISTS ARGN)
    file(GLOB folder_sources CONFIGURE_DEPENDS ${base}/${folder}/*.cpp ${base}/${folder}/*.ui)
    file(GLOB folder_headers CONFIGURE_DEPENDS ${base}/${folder}/*.h)
    list(APPEND sources ${folder_sources})
    list(APPEND headers ${folder_headers})
  endforeach()
  set(${sources_var} ${sources} PARENT_SCOPE)
  set(${headers_var} ${headers} PARENT_SCOPE)
endfunction()
