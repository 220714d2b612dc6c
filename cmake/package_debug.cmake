# Run by CPack around the Debian package: before it is built (CPACK_PRE_BUILD_SCRIPTS), the game
# in the staging tree is stripped as Debian strips programs and its debug data are kept aside;
# after it (CPACK_POST_BUILD_SCRIPTS), they become velmoor-dbgsym, which holds them under
# /usr/lib/debug/.build-id/ where the debuggers look, as Debian's own -dbgsym packages do.
set(staging "${CPACK_TEMPORARY_DIRECTORY}")
set(game "${staging}${CPACK_PACKAGING_INSTALL_PREFIX}/${CPACK_VELMOOR_GAME}")
set(tree "${CPACK_PACKAGE_DIRECTORY}/velmoor-dbgsym")
set(id_file "${CPACK_PACKAGE_DIRECTORY}/velmoor-dbgsym.build-id")

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE failed OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(failed)
    list(JOIN ARGN " " command)
    message(FATAL_ERROR "${command} failed: ${out}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

if(NOT CPACK_PACKAGE_FILES)
  # Before the package: split the debug data off the game, strip it, and link the two.
  run(readelf -n "${game}")
  if(NOT out MATCHES "Build ID: ([0-9a-f][0-9a-f])([0-9a-f]+)")
    message(FATAL_ERROR "${game} has no build id, so its debug data could not be found again.")
  endif()
  set(debug "${tree}/usr/lib/debug/.build-id/${CMAKE_MATCH_1}/${CMAKE_MATCH_2}.debug")
  file(REMOVE_RECURSE "${tree}")
  get_filename_component(folder "${debug}" DIRECTORY)
  file(MAKE_DIRECTORY "${folder}")
  file(WRITE "${id_file}" "${CMAKE_MATCH_1}${CMAKE_MATCH_2}")
  run(objcopy --only-keep-debug --compress-debug-sections "${game}" "${debug}")
  file(CHMOD "${debug}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  run(strip --remove-section=.comment --remove-section=.note "${game}")
  run(objcopy "--add-gnu-debuglink=${debug}" "${game}")
  return()
endif()

# After the package: velmoor-dbgsym, of the same version, for the same architecture.
file(READ "${id_file}" build_id)
run(dpkg --print-architecture)
string(STRIP "${out}" architecture)
file(MAKE_DIRECTORY "${tree}/DEBIAN" "${tree}/usr/share/doc")
file(CREATE_LINK velmoor "${tree}/usr/share/doc/velmoor-dbgsym" SYMBOLIC)
file(GLOB_RECURSE debug_files RELATIVE "${tree}" "${tree}/usr/lib/debug/*")
set(sums "")
set(size 0)
foreach(file IN LISTS debug_files)
  file(MD5 "${tree}/${file}" sum)
  string(APPEND sums "${sum}  ${file}\n")
  file(SIZE "${tree}/${file}" bytes)
  math(EXPR size "${size} + (${bytes} + 1023) / 1024")
endforeach()
file(WRITE "${tree}/DEBIAN/md5sums" "${sums}")
file(WRITE "${tree}/DEBIAN/control" "Package: velmoor-dbgsym
Version: ${CPACK_PACKAGE_VERSION}
Architecture: ${architecture}
Maintainer: ${CPACK_DEBIAN_PACKAGE_MAINTAINER}
Installed-Size: ${size}
Depends: velmoor (= ${CPACK_PACKAGE_VERSION})
Section: debug
Priority: optional
Description: debug symbols for velmoor
Auto-Built-Package: debug-symbols
Build-Ids: ${build_id}
")
set(ddeb "${CPACK_PACKAGE_DIRECTORY}/velmoor-dbgsym_${CPACK_PACKAGE_VERSION}_${architecture}.ddeb")
run(dpkg-deb --root-owner-group -Zxz --build "${tree}" "${ddeb}")
file(REMOVE_RECURSE "${tree}" "${id_file}")
message(STATUS "Package debug symbols: ${ddeb} generated.")
