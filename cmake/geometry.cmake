# Sources of one subsystem, picked up by the top-level and tests/ CMake files.
# Paths are relative to the source root (tests: relative to tests/).
set(GEOMETRY_CORE_SOURCES     # GL-free code: into vantrel_core
  src/mesh_files/material_data.cpp
  src/mesh_files/bzobj_parser.cpp
  src/mesh_files/bzobj_writer.cpp
  src/mesh_files/bzobj_loader.cpp
  src/mesh_files/camera_path.cpp
  src/mesh_files/obj_import.cpp
)
set(GEOMETRY_GL_SOURCES       # GL code: into vantrel_runtime
  src/mesh_files/material.cpp
  src/mesh_files/mesh_obj.cpp
)
set(GEOMETRY_TOOL_SOURCES     # vantrel-tool subcommands
  tools/tool_geometry.cpp
)
set(GEOMETRY_CORE_TESTS       # GL-free tests: into vantrel_core_tests
  test_bzobj.cpp
  test_camera_path.cpp
  test_obj_import.cpp
)
set(GEOMETRY_GL_TESTS         # GL tests: into vantrel_gl_tests
  test_mesh_obj.cpp
)
set(GEOMETRY_BENCH_SOURCES    # benchmarks: one executable each
  bench/bench_geometry.cpp
)
