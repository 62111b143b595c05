#!/usr/bin/env python3
"""check_manifests.py SCHEMA ARCHIVE: every card.json the rqfs tests dumped (ARCHIVE/dumps)
must be valid under the schema, and every manifest rqfs build refused for its shape
(ARCHIVE/refused) must be invalid, so the schema cannot drift from what build accepts."""
import json
import pathlib
import sys

import jsonschema


def main(schema_path, archive):
    schema = json.loads(pathlib.Path(schema_path).read_text(encoding="utf-8"))
    validator = jsonschema.validators.validator_for(schema)(schema)
    validator.check_schema(schema)
    dumps = sorted(pathlib.Path(archive).glob("dumps/*.json"))
    refused = sorted(pathlib.Path(archive).glob("refused/*.json"))
    problems = [] if dumps else [f"no dumps kept in {archive} (RQFS_DUMP_ARCHIVE)"]
    for path in dumps:
        for error in validator.iter_errors(json.loads(path.read_text(encoding="utf-8"))):
            where = "/" + "/".join(str(step) for step in error.absolute_path)
            problems.append(f"{path.name}: {where}: {error.message}")
    for path in refused:
        if validator.is_valid(json.loads(path.read_text(encoding="utf-8"))):
            problems.append(f"{path.name}: the schema accepts a manifest rqfs build refuses")
    print("\n".join(problems + [f"{len(dumps)} dumps and {len(refused)} refused manifests "
                                f"checked, {len(problems)} problems"]))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]) if len(sys.argv) == 3 else __doc__)
