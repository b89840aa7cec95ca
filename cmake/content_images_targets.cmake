# The image generator and the target that rebuilds the shipped images
# (data/models/*/ and data/textures/; see scripts/make_images.sh).
add_executable(vantrel-make-images tools/content/images/make_images_main.cpp)
target_link_libraries(vantrel-make-images PRIVATE vantrel_core ${IL_LIBRARY})

add_custom_target(images
  COMMAND ${CMAKE_COMMAND} -E env VANTREL_MAKE_IMAGES=$<TARGET_FILE:vantrel-make-images>
          sh ${PROJECT_SOURCE_DIR}/scripts/make_images.sh
  DEPENDS vantrel-make-images
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
  COMMENT "Rebuilding the generated images"
  VERBATIM)
