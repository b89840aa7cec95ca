# Sources of one subsystem, picked up by the top-level and tests/ CMake files.
# Paths are relative to the source root (tests: relative to tests/).
set(TARGETS_CORE_SOURCES)    # GL-free code: into vantrel_core
set(TARGETS_GL_SOURCES       # GL code: into vantrel_runtime
  src/texture_manager.cpp
  src/render_target_fbo.cpp
  src/render_target_manager.cpp
  src/mesh_files/vbo.cpp
)
set(TARGETS_TOOL_SOURCES)    # vantrel-tool subcommands
set(TARGETS_CORE_TESTS       # GL-free tests: into vantrel_core_tests
  test_render_target_pool.cpp
)
set(TARGETS_GL_TESTS         # GL tests: into vantrel_gl_tests
  test_textures.cpp
  test_render_targets.cpp
  test_vbo.cpp
)
set(TARGETS_BENCH_SOURCES)   # benchmarks: one executable each
