# The documentation against the tree: links that resolve, and a picture of the
# layers that shows the build's own dependencies.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
foreach(check doc_links layer_diagram)
  add_test(NAME docs_${check}_check
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/docs/${check}_check.py ${PROJECT_SOURCE_DIR})
  set_tests_properties(docs_${check}_check PROPERTIES LABELS unit)
endforeach()
