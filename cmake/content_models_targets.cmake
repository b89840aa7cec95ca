# The model generator: meshes, camera paths and the credits room's baked
# lightmaps (scripts/make_models.sh writes them into data/models).
add_executable(vantrel-make-models tools/content/models/make_models_main.cpp)
target_include_directories(vantrel-make-models PRIVATE tools/content/models)
target_link_libraries(vantrel-make-models PRIVATE vantrel_core ${IL_LIBRARY})
