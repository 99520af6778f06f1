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
