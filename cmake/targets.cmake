# Sources of one subsystem, picked up by the top-level and tests/ CMake files.
# Paths are relative to the source root (tests: relative to tests/).
set(TARGETS_CORE_SOURCES)    # GL-free code: into vantrel_core
set(TARGETS_GL_SOURCES)      # GL code: into vantrel_runtime
set(TARGETS_TOOL_SOURCES)    # vantrel-tool subcommands
set(TARGETS_CORE_TESTS)      # GL-free tests: into vantrel_core_tests
set(TARGETS_GL_TESTS)        # GL tests: into vantrel_gl_tests
set(TARGETS_BENCH_SOURCES)   # benchmarks: one executable each
