# The page: island.js and island.wasm, built by emscripten from the same
# sources as the desktop program with web/main.cpp as the entry point, and
# island.data, the files the program reads. scripts/web.sh builds a native run
# directory first (the asset generator's models and images, the shader sets)
# and names it in ISLAND_WEB_RUN_DIR.
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

# island.data: what the program reads from its working directory (config.cfg
# with the page's defaults, the ES shader set, the models and the images) as
# one gzip-compressed tar, 42 MB in about 15. page.js fetches it at once and
# unpacks it into the program's file system before main() runs; a plain
# static server sends it as it is, with no Content-Encoding to arrange.
set(data_stage ${CMAKE_BINARY_DIR}/data)
file(GLOB_RECURSE data_inputs ${ISLAND_WEB_RUN_DIR}/Models/* ${ISLAND_WEB_RUN_DIR}/Sprites/*
     ${ISLAND_WEB_RUN_DIR}/Shaders/300es/*)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/out/island.data
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${data_stage}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${data_stage}/Shaders
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/web/config.cfg ${data_stage}/
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${ISLAND_WEB_RUN_DIR}/Shaders/300es ${data_stage}/Shaders/300es
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${ISLAND_WEB_RUN_DIR}/Models ${data_stage}/Models
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${ISLAND_WEB_RUN_DIR}/Sprites ${data_stage}/Sprites
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/out
  COMMAND ${CMAKE_COMMAND} -E chdir ${data_stage} ${CMAKE_COMMAND} -E tar czf
          ${CMAKE_BINARY_DIR}/out/island.data --format=paxr --mtime=2000-01-01 --
          config.cfg Shaders Models Sprites
  DEPENDS ${data_inputs} ${CMAKE_CURRENT_SOURCE_DIR}/web/config.cfg
  COMMENT "Packing island.data"
  VERBATIM)
add_custom_target(island_data ALL DEPENDS ${CMAKE_BINARY_DIR}/out/island.data)

target_link_options(island PRIVATE
  -sUSE_GLFW=3
  # WebGL 2 only: the programs are GLSL ES 3.00 and the targets need ES 3.0.
  -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2
  -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=64MB
  -sENVIRONMENT=web
  # The page unpacks island.data into the file system before main() (a run
  # dependency), writes config.cfg and rec.cfg there and reads rec.cfg back.
  -sFORCE_FILESYSTEM=1
  "-sEXPORTED_RUNTIME_METHODS=['FS','addRunDependency','removeRunDependency']")
if(ISLAND_WEB_THREADS)
  target_compile_options(island PRIVATE -pthread)
  target_compile_definitions(island PRIVATE ISLAND_WEB_THREADS)
  target_link_options(island PRIVATE -pthread -sPTHREAD_POOL_SIZE=2 -sENVIRONMENT=web,worker)
endif()
