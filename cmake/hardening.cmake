# Debian's hardening for the game that is shipped (what dpkg-buildflags asks for): C library calls
# checked where the code is optimised, a strong stack protector, and relocations made read-only
# and bound at start. The sanitizer and fuzzer builds instrument the code their own way: not there.
if(NOT VELMOOR_SANITIZE AND NOT VELMOOR_FUZZ)
  foreach(target velmoor velmoor_core)
    # The fortified calls need optimisation: a Debug build (-O0) would only warn.
    target_compile_options(${target} PRIVATE -fstack-protector-strong
      $<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=2>)
  endforeach()
  target_link_options(velmoor PRIVATE -Wl,-z,relro -Wl,-z,now)
endif()
