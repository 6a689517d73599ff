# scene/: on the stand-in scene, on a real context: the size and projection
# that follow the window's framebuffer, and what the shadow map is drawn from.
add_library(island_stand_in_scene STATIC scene/stand_in_scene.cpp)
target_compile_options(island_stand_in_scene PRIVATE ${ISLAND_WARNINGS})
target_link_libraries(island_stand_in_scene PUBLIC island_gl_test_support scene_lib)
island_test(scene_frame_size_test SOURCES scene/frame_size_test.cpp LABELS gl NEEDS run_directory)
target_link_libraries(scene_frame_size_test PRIVATE island_stand_in_scene)
island_test(scene_shadow_map_inputs_test SOURCES scene/shadow_map_inputs_test.cpp LABELS gl NEEDS run_directory)
target_link_libraries(scene_shadow_map_inputs_test PRIVATE island_stand_in_scene)
