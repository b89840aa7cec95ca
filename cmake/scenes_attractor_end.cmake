# Sources of one subsystem, picked up by the top-level and tests/ CMake files.
# Paths are relative to the source root (tests: relative to tests/).
set(SCENES_ATTRACTOR_END_CORE_SOURCES)  # GL-free code: into vantrel_core
set(SCENES_ATTRACTOR_END_GL_SOURCES  # GL code: into vantrel_runtime
    src/gui/camera_vars.cpp
    src/scenes/scene_attractor.cpp
    src/scenes/scene_end.cpp
    src/scenes/scene_target.cpp
)
set(SCENES_ATTRACTOR_END_TOOL_SOURCES)  # vantrel-tool subcommands
set(SCENES_ATTRACTOR_END_CORE_TESTS)  # GL-free tests: into vantrel_core_tests
set(SCENES_ATTRACTOR_END_GL_TESTS  # GL tests: into vantrel_gl_tests
    test_scene_attractor_end.cpp
)
set(SCENES_ATTRACTOR_END_BENCH_SOURCES)  # benchmarks: one executable each
