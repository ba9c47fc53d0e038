# The harness itself: a hanging test ended at its deadline or killed leaves nothing behind.
velkaris_add_wine_test(NAME e2e.sandbox_killed
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/sandbox_killed.sh ${VELKARIS_SANDBOX})
