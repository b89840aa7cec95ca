# Sources of one subsystem, picked up by the top-level and tests/ CMake files.
# Paths are relative to the source root (tests: relative to tests/).
set(SHADERS_CORE_SOURCES    # GL-free code: into vantrel_core
  src/glsl_profile.cpp
)
set(SHADERS_GL_SOURCES      # GL code: into vantrel_runtime
  src/shader_glsl.cpp
  src/shader_manager_glsl.cpp
  src/shaders/shd_blurtex.cpp
  src/shaders/shd_glow_blur.cpp
  src/shaders/shd_post_hsb.cpp
  src/shaders/shd_levels.cpp
  src/shaders/shd_correction.cpp
  src/shaders/shd_post_spilladd.cpp
  src/shaders/shd_post_final.cpp
  src/shaders/shd_resample_half.cpp
  src/shaders/shd_lightmap.cpp
  src/shaders/shd_notex.cpp
  src/shaders/shd_xray.cpp
  src/shaders/shd_flare.cpp
  src/shaders/shd_point_sprite.cpp
)
set(SHADERS_TOOL_SOURCES)   # vantrel-tool subcommands
set(SHADERS_CORE_TESTS      # GL-free tests: into vantrel_core_tests
  test_shader_programs.cpp
)
set(SHADERS_GL_TESTS        # GL tests: into vantrel_gl_tests
  test_shader_manager.cpp
)
set(SHADERS_BENCH_SOURCES)  # benchmarks: one executable each
