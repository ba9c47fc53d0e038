# The CI workflow (.github/workflows/ci.yml) as GitHub reads it: its own parser of workflow
# files (scripts/fetch-workflow-parser) reports no error, and refuses a copy with a key
# misspelt.
add_test(NAME host.workflow_parse
    COMMAND bash -c "node \"$1/tests/host/workflow_parse.mjs\" \"$(\"$1/scripts/fetch-workflow-parser\" --print-dir)\" \"$1/.github/workflows/ci.yml\""
            workflow_parse "${PROJECT_SOURCE_DIR}")
