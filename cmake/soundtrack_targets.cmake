# The soundtrack's composer and the target that rebuilds the shipped music
# files (data/music/tonvik7.mid, data/music/tonvik7.mp3, data/script/markers.txt).
add_executable(vantrel-compose
  tools/compose/compose_main.cpp
  tools/compose/synth.cpp
  tools/compose/mastering.cpp
)
target_include_directories(vantrel-compose PRIVATE tools/compose)
target_link_libraries(vantrel-compose PRIVATE vantrel_core)

add_custom_target(soundtrack
  COMMAND ${CMAKE_COMMAND} -E env VANTREL_COMPOSE=$<TARGET_FILE:vantrel-compose>
          sh ${PROJECT_SOURCE_DIR}/scripts/make_soundtrack.sh
  DEPENDS vantrel-compose
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
  COMMENT "Rebuilding the soundtrack from its score"
  VERBATIM)
