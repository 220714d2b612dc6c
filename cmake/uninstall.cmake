# Undoes `cmake --install`: removes what its install_manifest.txt lists, the files first, then the
# folders that install made, each only when it is empty (whatever else is in one stays).
# Usage: cmake [-D MANIFEST=BUILD/install_manifest.txt] -P uninstall.cmake
if(NOT MANIFEST)
  set(MANIFEST install_manifest.txt)
endif()
if(NOT EXISTS "${MANIFEST}")
  message(FATAL_ERROR "There is no ${MANIFEST}: nothing was installed from this build folder "
    "(cmake --install writes that list), so there is nothing to uninstall.")
endif()

file(STRINGS "${MANIFEST}" paths)
set(folders "")
set(files 0)
foreach(path IN LISTS paths)
  if(IS_DIRECTORY "${path}" AND NOT IS_SYMLINK "${path}")
    list(APPEND folders "${path}")
  elseif(EXISTS "${path}" OR IS_SYMLINK "${path}")
    file(REMOVE "${path}")
    if(EXISTS "${path}" OR IS_SYMLINK "${path}")
      message(FATAL_ERROR "Cannot remove ${path}; uninstall as the user who installed (with sudo for a "
        "system-wide prefix).")
    endif()
    math(EXPR files "${files} + 1")
  endif()
endforeach()

# Deepest first, so that a folder's own subfolders are gone before it is tried; rmdir leaves a
# folder that still holds anything.
list(SORT folders ORDER DESCENDING)
set(removed 0)
foreach(folder IN LISTS folders)
  execute_process(COMMAND rmdir -- "${folder}" RESULT_VARIABLE failed ERROR_QUIET)
  if(NOT failed)
    math(EXPR removed "${removed} + 1")
  endif()
endforeach()
message(STATUS "Uninstalled: ${files} files and ${removed} folders listed in ${MANIFEST}.")
