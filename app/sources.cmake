# Sources of app/ in the core library.
list(APPEND ISLAND_CORE_SOURCES
  app/diagnostics.cpp
  app/startup.cpp
)
