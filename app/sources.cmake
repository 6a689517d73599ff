# Sources of app/ in the core library.
list(APPEND ISLAND_CORE_SOURCES
  app/app_config.cpp
  app/globals.cpp
  app/diagnostics.cpp
  app/startup.cpp
  app/scene_setup.cpp
  app/frame_composition.cpp
  app/shadow_map_inputs.cpp
  app/frame_size.cpp
  app/frame_loop.cpp
  app/key_handlers.cpp
  app/input_recorder.cpp
  app/input_player.cpp
  app/playback_script.cpp
)
