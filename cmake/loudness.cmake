# Measures the media as the player hears them: loudness at the game's volumes.
# The library velmoor_loudness serves the program measure_loudness and the media tests. A build
# without tests (one made only to install the game) builds the meter only where its libraries are.
find_package(PkgConfig REQUIRED)
if(VELMOOR_TESTS)
  pkg_check_modules(LOUDNESS_DEPS REQUIRED IMPORTED_TARGET libebur128 sndfile fluidsynth fftw3)
else()
  pkg_check_modules(LOUDNESS_DEPS QUIET IMPORTED_TARGET libebur128 sndfile fluidsynth fftw3)
endif()

if(LOUDNESS_DEPS_FOUND)
  add_library(velmoor_loudness STATIC tools/loudness/loudness.cpp tools/loudness/soundscape.cpp)
  target_include_directories(velmoor_loudness PUBLIC tools src)
  target_compile_options(velmoor_loudness PRIVATE ${VELMOOR_WARNINGS})
  target_link_libraries(velmoor_loudness PUBLIC PkgConfig::LOUDNESS_DEPS)

  add_executable(measure_loudness tools/loudness/main.cpp)
  target_compile_options(measure_loudness PRIVATE ${VELMOOR_WARNINGS})
  target_link_libraries(measure_loudness PRIVATE velmoor_loudness)
endif()

if(TARGET tools_tests)
  target_link_libraries(tools_tests PRIVATE velmoor_loudness)
endif()
