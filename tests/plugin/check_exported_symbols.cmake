# Run by CTest: the plug-in's dynamic symbol table, demangled, holds its public surface (the
# three entry functions, their C-named aliases, the property accesses, their creators and
# the feature base) and nothing else.
#   cmake -DMVP_NM=... -DMVP_LIBRARY=... -P check_exported_symbols.cmake
foreach(var MVP_NM MVP_LIBRARY)
  if(NOT DEFINED ${var} OR "${${var}}" STREQUAL "")
    message(FATAL_ERROR "check_exported_symbols.cmake: ${var} is not set")
  endif()
endforeach()
execute_process(COMMAND ${MVP_NM} -D -C --defined-only ${MVP_LIBRARY}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${MVP_NM} failed (${rc}): ${err}")
endif()

set(classes GLViewPropertyAccess LegendPropertyAccess CADElementPropertyAccess CADContainerPropertyAccess)
set(public FeaturePropertyAccessBase)
foreach(c IN LISTS classes)
  list(APPEND public ${c} ${c}Creator)
endforeach()
list(JOIN public "|" publicAlternatives)
set(allowed
  "^Kav::MCADVisProp::(InitLibrary|InitDefaults|CloseDefaults)\\("
  "^mvp_(InitLibrary|InitDefaults|CloseDefaults)$"
  "^Kav::MCADVisProp::(${publicAlternatives})::"
  "^(vtable|typeinfo|typeinfo name) for Kav::MCADVisProp::(${publicAlternatives})$")
set(required
  "Kav::MCADVisProp::InitLibrary(Kav::GApp::AppStatusManager*, Kav::CfgNode*)"
  "Kav::MCADVisProp::InitDefaults()"
  "Kav::MCADVisProp::CloseDefaults()"
  mvp_InitLibrary mvp_InitDefaults mvp_CloseDefaults)
foreach(c IN LISTS public)
  list(APPEND required "vtable for Kav::MCADVisProp::${c}")
endforeach()

string(REPLACE ";" "\\;" out "${out}")
string(REPLACE "\n" ";" lines "${out}")
set(names)
set(unexpected)
foreach(line IN LISTS lines)
  # "<address> <kind> <name>"
  if(NOT line MATCHES "^[0-9a-fA-F]+ [A-Za-z] (.+)$")
    continue()
  endif()
  set(name "${CMAKE_MATCH_1}")
  list(APPEND names "${name}")
  set(ok FALSE)
  foreach(pattern IN LISTS allowed)
    if(name MATCHES "${pattern}")
      set(ok TRUE)
      break()
    endif()
  endforeach()
  if(NOT ok)
    list(APPEND unexpected "${name}")
  endif()
endforeach()

set(missing)
foreach(name IN LISTS required)
  list(FIND names "${name}" at)
  if(at EQUAL -1)
    list(APPEND missing "${name}")
  endif()
endforeach()

list(LENGTH names count)
if(unexpected OR missing)
  list(JOIN unexpected "\n  " unexpectedText)
  list(JOIN missing "\n  " missingText)
  message(FATAL_ERROR "${MVP_LIBRARY}: exported but not public:\n  ${unexpectedText}\nmissing:\n  ${missingText}")
endif()
message(STATUS "${count} exported symbols, all public")
