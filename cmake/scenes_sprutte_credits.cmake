# Sources of one subsystem, picked up by the top-level and tests/ CMake files.
# Paths are relative to the source root (tests: relative to tests/).
set(SCENES_SPRUTTE_CREDITS_CORE_SOURCES  # GL-free code: into vantrel_core
  src/scenes/sprutte_joints.cpp
)
set(SCENES_SPRUTTE_CREDITS_GL_SOURCES  # GL code: into vantrel_runtime
  src/scenes/scene_loading.cpp
  src/scenes/credits_room.cpp
  src/scenes/scene_sprutte.cpp
  src/scenes/scene_credits.cpp
  src/scenes/scene_credits_sol.cpp
)
set(SCENES_SPRUTTE_CREDITS_TOOL_SOURCES)  # vantrel-tool subcommands
set(SCENES_SPRUTTE_CREDITS_CORE_TESTS  # GL-free tests: into vantrel_core_tests
  test_sprutte_joints.cpp
)
set(SCENES_SPRUTTE_CREDITS_GL_TESTS  # GL tests: into vantrel_gl_tests
  test_scenes_sprutte_credits.cpp
)
set(SCENES_SPRUTTE_CREDITS_BENCH_SOURCES)  # benchmarks: one executable each
