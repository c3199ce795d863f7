# Run with -P: checks that the files of one library include only the project
# headers of that library and of the libraries below it, and none of the
# system headers it must stay free of. Reads LAYER_FILE, written at configure
# time with FILES, ALLOWED (header paths below src/) and FORBIDDEN (a regular
# expression over <...> includes, empty for none); touches STAMP when clean.
cmake_minimum_required(VERSION 3.25)
include(${LAYER_FILE})
set(faults "")
foreach(file ${FILES})
  file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include")
  foreach(line ${includes})
    if(line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
      set(header ${CMAKE_MATCH_1})
      if(header MATCHES "/" AND NOT header IN_LIST ALLOWED)
        string(APPEND faults "\n  ${file}: includes \"${header}\", which sits above ${LAYER}")
      endif()
    elseif(FORBIDDEN AND line MATCHES "#[ \t]*include[ \t]*<([^>]+)>")
      set(header ${CMAKE_MATCH_1})
      if(header MATCHES "${FORBIDDEN}")
        string(APPEND faults "\n  ${file}: includes <${header}>, which ${LAYER} must not use")
      endif()
    endif()
  endforeach()
endforeach()
if(faults)
  message(FATAL_ERROR "${LAYER} reaches above itself:${faults}")
endif()
file(TOUCH ${STAMP})
