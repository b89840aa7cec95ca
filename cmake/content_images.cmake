# Sources of one subsystem, picked up by the top-level and tests/ CMake files.
# Paths are relative to the source root (tests: relative to tests/).
set(CONTENT_IMAGES_CORE_SOURCES     # GL-free code: into vantrel_core
  tools/content/images/image.cpp
  tools/content/images/noise.cpp
  tools/content/images/glyphs.cpp
  tools/content/images/scene_textures.cpp
  tools/content/images/lettering.cpp
  tools/content/images/content_images.cpp
  tools/content/images/image_file.cpp
)
set(CONTENT_IMAGES_GL_SOURCES)      # GL code: into vantrel_runtime
set(CONTENT_IMAGES_TOOL_SOURCES)    # vantrel-tool subcommands
set(CONTENT_IMAGES_CORE_TESTS       # GL-free tests: into vantrel_core_tests
  test_content_images.cpp
)
set(CONTENT_IMAGES_GL_TESTS)        # GL tests: into vantrel_gl_tests
set(CONTENT_IMAGES_BENCH_SOURCES)   # benchmarks: one executable each
