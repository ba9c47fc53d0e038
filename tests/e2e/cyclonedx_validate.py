#!/usr/bin/python3
"""Validates a CycloneDX 1.6 JSON document against the schema, offline.

    cyclonedx_validate.py SCHEMA_DIR DOCUMENT

SCHEMA_DIR holds the schema files as scripts/fetch-cyclonedx-schema caches them. The BOM
schema refers to the SPDX licence list and the JSON signature schema by relative URIs; they
resolve here to the files beside it, so nothing is fetched. Prints one line per violation
and exits 1 when there is any. It runs on Debian's python3, for which python3-jsonschema is
installed.
"""
import json
import pathlib
import sys

import jsonschema


def main(schema_dir, document_path):
    folder = pathlib.Path(schema_dir)
    schemas = {}
    for path in folder.glob("*.schema.json"):
        schema = json.loads(path.read_text(encoding="utf-8"))
        # The files are named *.SNAPSHOT.schema.json and refer to one another so.
        base = schema["$id"].rsplit("/", 1)[0]
        schemas[f"{base}/{path.name}"] = schema
        schemas[schema["$id"]] = schema
    bom_schema = json.loads((folder / "bom-1.6.SNAPSHOT.schema.json").read_text(encoding="utf-8"))
    resolver = jsonschema.RefResolver.from_schema(bom_schema, store=schemas)
    validator = jsonschema.Draft7Validator(
        bom_schema, resolver=resolver, format_checker=jsonschema.draft7_format_checker)
    document = json.loads(pathlib.Path(document_path).read_text(encoding="utf-8"))
    errors = sorted(validator.iter_errors(document), key=lambda error: list(error.path))
    for error in errors:
        where = "/".join(str(part) for part in error.path) or "(document)"
        print(f"{document_path}: {where}: {error.message}")
    return 1 if errors else 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit("usage: cyclonedx_validate.py SCHEMA_DIR DOCUMENT")
    sys.exit(main(sys.argv[1], sys.argv[2]))
