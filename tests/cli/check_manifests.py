#!/usr/bin/env python3
"""Checks the manifests the rqfs tests kept against the committed card.json schema.

Usage: check_manifests.py SCHEMA ARCHIVE

ARCHIVE/dumps holds every card.json that rqfs dump wrote during the tests: each must be
valid. ARCHIVE/refused holds manifests that rqfs build refused for their shape (wrong
types, unknown keys, bad IDs, payload paths out of the folder): the schema must refuse
each of them too, so it cannot drift into accepting what build rejects.
"""
import json
import pathlib
import sys

import jsonschema


def load(path):
    return json.loads(path.read_text(encoding="utf-8"))


def main(schema_path, archive_path):
    schema = load(pathlib.Path(schema_path))
    validator_class = jsonschema.validators.validator_for(schema)
    validator_class.check_schema(schema)
    validator = validator_class(schema)

    archive = pathlib.Path(archive_path)
    dumps = sorted(archive.glob("dumps/*.json"))
    refused = sorted(archive.glob("refused/*.json"))
    problems = []
    if not dumps:
        problems.append(f"no dumps kept in {archive}; the rqfs tests keep them when "
                        "RQFS_DUMP_ARCHIVE names that folder")
    for path in dumps:
        for error in validator.iter_errors(load(path)):
            where = "/" + "/".join(str(step) for step in error.absolute_path)
            problems.append(f"{path.name}: {where}: {error.message}")
    for path in refused:
        if validator.is_valid(load(path)):
            problems.append(f"{path.name}: the schema accepts a manifest rqfs build refuses")

    for problem in problems:
        print(problem)
    print(f"{len(dumps)} dumps checked, {len(refused)} refused manifests checked, "
          f"{len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1], sys.argv[2]))
