#!/usr/bin/env bash
# Sets up, builds and runs every test (beside a throwaway PostgreSQL server).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
cd "$root/build"
# The shared-library tests need a PostgreSQL server: a throwaway one runs beside them.
"$root/scripts/with_postgres.sh" ctest --output-on-failure -j2
