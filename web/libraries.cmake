# The libraries of the web build. emscripten brings OpenGL ES 3.0 (WebGL 2),
# a header-only GLEW and GLFW 3 itself, so they stand here as empty targets
# under the desktop's names; GLM and stb are header-only, and the system's
# copies are seen through a folder that holds nothing else, so that no other
# host header reaches the wasm build.
option(ISLAND_WEB_THREADS
       "Read the assets ahead on worker threads; the page then works only when cross-origin isolated"
       OFF)

set(host_headers ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${host_headers})
foreach(library glm stb)
  find_path(ISLAND_${library}_PARENT ${library} PATHS /usr/include /usr/local/include
            NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  if(NOT ISLAND_${library}_PARENT)
    message(FATAL_ERROR "${library} headers not found (Debian: libglm-dev, libstb-dev)")
  endif()
  file(CREATE_LINK ${ISLAND_${library}_PARENT}/${library} ${host_headers}/${library} SYMBOLIC)
endforeach()
include_directories(SYSTEM ${host_headers})

add_library(OpenGL::GL INTERFACE IMPORTED)
add_library(GLEW::GLEW INTERFACE IMPORTED)
add_library(glm::glm INTERFACE IMPORTED)
add_library(glfw INTERFACE IMPORTED)
target_link_options(glfw INTERFACE -sUSE_GLFW=3)
add_library(Threads::Threads INTERFACE IMPORTED)
if(ISLAND_WEB_THREADS)
  add_compile_options(-pthread)
  target_link_options(Threads::Threads INTERFACE -pthread)
endif()
