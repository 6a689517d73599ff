# Sources of state/ in the core library.
list(APPEND ISLAND_CORE_SOURCES
  state/app_config.cpp
  state/globals.cpp
)
