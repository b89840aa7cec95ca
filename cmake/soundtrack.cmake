# Sources of one subsystem, picked up by the top-level and tests/ CMake files.
# Paths are relative to the source root (tests: relative to tests/).
set(SOUNDTRACK_CORE_SOURCES     # GL-free code: into vantrel_core
  tools/compose/score.cpp
  tools/compose/smf_writer.cpp
  tools/compose/marker_writer.cpp
)
set(SOUNDTRACK_GL_SOURCES)      # GL code: into vantrel_runtime
set(SOUNDTRACK_TOOL_SOURCES)    # vantrel-tool subcommands
set(SOUNDTRACK_CORE_TESTS       # GL-free tests: into vantrel_core_tests
  test_soundtrack.cpp
)
set(SOUNDTRACK_GL_TESTS)        # GL tests: into vantrel_gl_tests
set(SOUNDTRACK_BENCH_SOURCES)   # benchmarks: one executable each
