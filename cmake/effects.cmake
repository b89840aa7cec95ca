# Sources of one subsystem, picked up by the top-level and tests/ CMake files.
# Paths are relative to the source root (tests: relative to tests/).
set(EFFECTS_CORE_SOURCES     # GL-free code: into vantrel_core
  src/math/random.cpp
  src/effects/sincos_table.cpp
  src/effects/attractor_calculator_pickover.cpp
  src/effects/attractor_point_buffer.cpp
  src/effects/point_splat.cpp
  src/effects/mesh_loc.cpp
  src/effects/mesh_emitter.cpp
  src/effects/solar_flares.cpp
  src/effects/scrub_node_grid.cpp
  src/effects/scrub_multi_vbo.cpp
  src/effects/scrub_tube.cpp
  src/effects/scrub.cpp
)
set(EFFECTS_GL_SOURCES       # GL code: into vantrel_runtime
  src/effects/attractor_point_buffer_gl.cpp
  src/effects/round_points.cpp
  src/effects/round_points_cpu.cpp
  src/effects/round_points_sprites.cpp
  src/effects/scrub_multi_vbo_gl.cpp
  src/effects/mesh_emitter_gl.cpp
  src/effects/solar_flares_gl.cpp
)
set(EFFECTS_TOOL_SOURCES)    # vantrel-tool subcommands
set(EFFECTS_CORE_TESTS       # GL-free tests: into vantrel_core_tests
  test_random.cpp
  test_attractor.cpp
  test_emitter.cpp
  test_flares.cpp
  test_scrub.cpp
)
set(EFFECTS_GL_TESTS         # GL tests: into vantrel_gl_tests
  test_effects_gl.cpp
  test_round_points.cpp
)
set(EFFECTS_BENCH_SOURCES    # benchmarks: one executable each
  bench/bench_effects.cpp
)
