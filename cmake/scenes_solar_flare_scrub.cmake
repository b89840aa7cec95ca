# Sources of one subsystem, picked up by the top-level and tests/ CMake files.
# Paths are relative to the source root (tests: relative to tests/).
set(SCENES_SOLAR_FLARE_SCRUB_CORE_SOURCES)  # GL-free code: into vantrel_core
set(SCENES_SOLAR_FLARE_SCRUB_GL_SOURCES  # GL code: into vantrel_runtime
  src/scenes/scene_solar_flare.cpp
  src/scenes/scene_scrub.cpp
)
set(SCENES_SOLAR_FLARE_SCRUB_TOOL_SOURCES)  # vantrel-tool subcommands
set(SCENES_SOLAR_FLARE_SCRUB_CORE_TESTS  # GL-free tests: into vantrel_core_tests
  test_scenes_solar_flare_scrub_logic.cpp
)
set(SCENES_SOLAR_FLARE_SCRUB_GL_TESTS  # GL tests: into vantrel_gl_tests
  test_scenes_solar_flare_scrub_render.cpp
)
set(SCENES_SOLAR_FLARE_SCRUB_BENCH_SOURCES)  # benchmarks: one executable each
