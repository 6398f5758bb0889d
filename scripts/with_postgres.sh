#!/usr/bin/env bash
# Runs a command beside a throwaway PostgreSQL cluster: initdb in a temporary folder, the
# server listening on a Unix socket in that folder only (no TCP port), password logins
# (scram-sha-256) for every role. TAVRICAT_TEST_POSTGRES holds the super user's address for
# the tests; the cluster is stopped and removed when the command ends, whatever its outcome.
# Run as root, the cluster runs as the user postgres. Without PostgreSQL the command runs
# alone and the tests that need a server skip.
set -euo pipefail
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1 || true)
if [ -z "$bin" ] || [ ! -x "$bin/initdb" ]; then
  echo "with_postgres: PostgreSQL is not installed; running without a server" >&2
  exec "$@"
fi
dir=$(mktemp -d /tmp/tavricat-pg-XXXXXX)
chmod 755 "$dir"
as_server() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}
[ "$(id -u)" -eq 0 ] && chown postgres: "$dir"
password=$(head -c 12 /dev/urandom | od -An -tx1 | tr -d ' \n')
as_server sh -c "umask 077; printf '%s\n' '$password' > '$dir/pw'"
as_server "$bin/initdb" -D "$dir/data" -U postgres --pwfile="$dir/pw" --auth=scram-sha-256 -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1 \
  || { cat "$dir/initdb.log" >&2; exit 1; }
as_server rm -f "$dir/pw"
stop() {
  as_server "$bin/pg_ctl" -D "$dir/data" -m immediate stop >/dev/null 2>&1 || true
  rm -rf "$dir"
}
trap stop EXIT
as_server "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w \
  -o "-c listen_addresses='' -c unix_socket_directories='$dir' -c max_connections=200 -c fsync=off" start >/dev/null \
  || { cat "$dir/server.log" >&2; exit 1; }
export TAVRICAT_TEST_POSTGRES="postgresql://postgres:$password@/postgres?host=$dir"
"$@"
