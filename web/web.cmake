# The page: island.js, island.wasm and island.data, built by emscripten from
# the same sources as the desktop program, with web/main.cpp as the entry
# point. scripts/web.sh builds the native run directory first (the asset
# generator and the shader sets) and hands it over as ISLAND_WEB_RUN_DIR; its
# Shaders/, Models/ and Sprites/ are packed into island.data with
# web/config.cfg, the page's defaults.
set(ISLAND_WEB_RUN_DIR "" CACHE PATH "Run directory of a native build, whose data the page preloads")
option(ISLAND_WEB_THREADS
       "Read the assets ahead on worker threads; the page then works only when cross-origin isolated"
       OFF)
if(NOT EXISTS "${ISLAND_WEB_RUN_DIR}/Models" OR NOT EXISTS "${ISLAND_WEB_RUN_DIR}/Shaders")
  message(FATAL_ERROR "ISLAND_WEB_RUN_DIR must name a native run directory with Models/, Sprites/ "
                      "and Shaders/ (scripts/web.sh build makes one)")
endif()

# GLM and stb are header-only. The system's copies are seen through a folder
# that holds nothing else, so that no other host header reaches the wasm build.
set(header_view ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${header_view})
foreach(library glm stb)
  find_path(ISLAND_${library}_PARENT ${library} PATHS /usr/include /usr/local/include
            NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  if(NOT ISLAND_${library}_PARENT)
    message(FATAL_ERROR "${library} headers not found (Debian: libglm-dev, libstb-dev)")
  endif()
  file(CREATE_LINK ${ISLAND_${library}_PARENT}/${library} ${header_view}/${library} SYMBOLIC)
endforeach()

set(ISLAND_CORE_SOURCES)
foreach(folder platform app camera assets render)
  include(${CMAKE_CURRENT_SOURCE_DIR}/${folder}/sources.cmake)
endforeach()

add_executable(island ${ISLAND_CORE_SOURCES} web/main.cpp)
target_include_directories(island PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_include_directories(island SYSTEM PRIVATE ${header_view})
target_compile_definitions(island PRIVATE GLM_FORCE_CTOR_INIT)
target_compile_options(island PRIVATE ${ISLAND_WARNINGS})
set_target_properties(island PROPERTIES SUFFIX ".js" RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/out)

set(data_dirs Shaders Models Sprites)
set(preload)
set(data_files ${CMAKE_CURRENT_SOURCE_DIR}/web/config.cfg)
foreach(dir ${data_dirs})
  list(APPEND preload "SHELL:--preload-file ${ISLAND_WEB_RUN_DIR}/${dir}@/${dir}")
  file(GLOB_RECURSE files ${ISLAND_WEB_RUN_DIR}/${dir}/*)
  list(APPEND data_files ${files})
endforeach()
list(APPEND preload "SHELL:--preload-file ${CMAKE_CURRENT_SOURCE_DIR}/web/config.cfg@/config.cfg")

target_link_options(island PRIVATE
  -sUSE_GLFW=3
  # WebGL 2 only: the programs are GLSL ES 3.00 and the targets need ES 3.0.
  -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2
  -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=64MB
  -sENVIRONMENT=web
  # The page writes config.cfg and rec.cfg into the file system and reads rec.cfg back.
  "-sEXPORTED_RUNTIME_METHODS=['FS']"
  ${preload})
if(ISLAND_WEB_THREADS)
  target_compile_options(island PRIVATE -pthread)
  target_compile_definitions(island PRIVATE ISLAND_WEB_THREADS)
  target_link_options(island PRIVATE -pthread -sPTHREAD_POOL_SIZE=2)
endif()
set_property(TARGET island APPEND PROPERTY LINK_DEPENDS ${data_files})
