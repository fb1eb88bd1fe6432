#!/usr/bin/env python3
"""The API's YAML documentation as JSON, for the service to serve."""
import json
import sys

import yaml

with open(sys.argv[1], encoding="utf-8") as source:
    document = yaml.safe_load(source)
with open(sys.argv[2], "w", encoding="utf-8") as target:
    json.dump(document, target, ensure_ascii=False, separators=(",", ":"))
