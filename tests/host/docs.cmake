# The documentation pages: their relative links and anchors lead somewhere, and the commands
# they mark runnable work on this build, run in a folder of this build tree.
add_test(NAME host.docs_pages
         COMMAND python3 ${CMAKE_CURRENT_LIST_DIR}/docs_pages.py ${PROJECT_SOURCE_DIR}
                 ${CMAKE_CURRENT_BINARY_DIR}/docs_pages)
