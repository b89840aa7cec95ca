# Sources of one subsystem, picked up by the top-level and tests/ CMake files.
# Paths are relative to the source root (tests: relative to tests/).
set(CONTENT_MODELS_CORE_SOURCES     # GL-free code: into vantrel_core
  tools/content/models/geom.cpp
  tools/content/models/models.cpp
  tools/content/models/paths.cpp
  tools/content/models/lightmap_bake.cpp
  tools/content/models/content_writer.cpp
)
set(CONTENT_MODELS_GL_SOURCES)      # GL code: into vantrel_runtime
set(CONTENT_MODELS_TOOL_SOURCES)    # vantrel-tool subcommands
set(CONTENT_MODELS_CORE_TESTS       # GL-free tests: into vantrel_core_tests
  test_content_models.cpp
)
set(CONTENT_MODELS_GL_TESTS)        # GL tests: into vantrel_gl_tests
set(CONTENT_MODELS_BENCH_SOURCES)   # benchmarks: one executable each
