# Sources of one subsystem, picked up by the top-level and tests/ CMake files.
# Paths are relative to the source root (tests: relative to tests/).
set(POST_CORE_SOURCES)
set(POST_GL_SOURCES
  src/post_pass.cpp
  src/post_levels.cpp
  src/post_hsb.cpp
  src/post_glow.cpp
  src/post_color_correction.cpp
  src/post_resample.cpp
)
set(POST_TOOL_SOURCES)
set(POST_CORE_TESTS)
set(POST_GL_TESTS
  test_post_passes.cpp
)
set(POST_BENCH_SOURCES
  bench/bench_post.cpp
)
