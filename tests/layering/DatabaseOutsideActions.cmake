# Fails when a file outside src/actions includes actions/ActionDatabase.h: the database behind the actions
# is theirs alone, and the front ends reach it only through an action. Run with -DSOURCE_DIR=<repo>.
file(GLOB_RECURSE files "${SOURCE_DIR}/src/*.h" "${SOURCE_DIR}/src/*.cpp" "${SOURCE_DIR}/sim/*.h"
     "${SOURCE_DIR}/sim/*.cpp")
set(offenders "")
foreach(file IN LISTS files)
  if(file MATCHES "/src/actions/")
    continue()
  endif()
  file(STRINGS "${file}" hits REGEX "#include \"actions/ActionDatabase.h\"")
  if(hits)
    list(APPEND offenders "${file}")
  endif()
endforeach()
if(offenders)
  list(JOIN offenders "\n  " shown)
  message(FATAL_ERROR "outside src/actions, these reach the actions' database:\n  ${shown}")
endif()
