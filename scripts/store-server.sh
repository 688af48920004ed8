#!/usr/bin/env bash
# A throwaway Virtuoso RDF store on loopback, for the store tests, the store
# benchmark and trying `qax-host publish` by hand.
#
#   scripts/store-server.sh start DIR   start one; print its endpoints
#   scripts/store-server.sh stop DIR    shut it down, remove DIR
#
# start stops a server that an earlier run left in DIR (and drops its
# database), makes DIR, picks two free loopback ports (HTTP and SQL), writes a
# virtuoso.ini whose database lives in DIR, starts virtuoso-t, waits until
# its SPARQL endpoint answers (at most 60 s), lets the anonymous SPARQL user
# update, and writes DIR/endpoints (and prints it):
#   store=http://127.0.0.1:PORT/sparql-graph-crud    Graph Store Protocol
#   sparql=http://127.0.0.1:PORT/sparql              SPARQL query and update
#   sql=PORT                                         isql-vt's port
# Where Virtuoso is not installed, start writes the reason to
# DIR/unavailable and exits 0, so that tests skip saying why.
# stop shuts the server down with its own shutdown command, waits for it to
# end (at most 60 s; then it is killed, with a message) and removes DIR.
set -euo pipefail

readonly kWaitSeconds=60

usage() {
  echo "usage: scripts/store-server.sh start|stop DIR" >&2
  exit 2
}
(($# == 2)) || usage
action=$1
dir=$2

# A TCP port on 127.0.0.1 that nothing listens on now, from the kernel.
free_port() {
  python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1]); s.close()'
}

# Stops the server whose folder is $dir, if one runs there, and removes the
# folder: through its own shutdown command, else killed after kWaitSeconds.
stop_server() {
  if [[ ! -d $dir ]]; then return 0; fi
  local sql="" pid
  if [[ -f $dir/endpoints ]]; then sql=$(sed -n 's/^sql=//p' "$dir/endpoints"); fi
  pid=$(sed -n 's/^VIRT_PID=//p' "$dir/store.lck" 2>/dev/null || true)
  if [[ -n $sql ]]; then isql-vt "$sql" dba dba exec='shutdown;' >/dev/null 2>&1 || true; fi
  for ((waited = 0; waited < kWaitSeconds; waited++)); do
    if [[ -z $pid ]] || ! kill -0 "$pid" 2>/dev/null; then break; fi
    sleep 1
  done
  if [[ -n $pid ]] && kill -0 "$pid" 2>/dev/null; then
    echo "store-server: the server (pid $pid) did not shut down in $kWaitSeconds s; killed" >&2
    kill -9 "$pid" 2>/dev/null || true
  fi
  rm -rf "$dir"
}

case $action in
start)
  # A server left running in the folder by a run that was cut short (a test
  # run stopped at its first failure skips the fixture's stop) holds its
  # database's lock: it goes first, with its database.
  if [[ -d $dir ]]; then
    dir=$(cd "$dir" && pwd)
    stop_server
  fi
  mkdir -p "$dir"
  dir=$(cd "$dir" && pwd)
  rm -f "$dir/unavailable" "$dir/endpoints"
  for program in virtuoso-t isql-vt; do
    if ! command -v "$program" >/dev/null 2>&1; then
      echo "Virtuoso is not installed ($program not found; scripts/setup.sh installs virtuoso-opensource-7-bin)" \
        >"$dir/unavailable"
      cat "$dir/unavailable" >&2
      exit 0
    fi
  done
  http=$(free_port)
  sql=$(free_port)
  while [[ $sql == "$http" ]]; do sql=$(free_port); done
  cat >"$dir/virtuoso.ini" <<INI
[Database]
DatabaseFile = $dir/store.db
ErrorLogFile = $dir/store.log
LockFile = $dir/store.lck
TransactionFile = $dir/store.trx
xa_persistent_file = $dir/store.pxa
FileExtend = 200
MaxCheckpointRemap = 2000
Striping = 0
TempStorage = TempDatabase

[TempDatabase]
DatabaseFile = $dir/store-temp.db
TransactionFile = $dir/store-temp.trx
MaxCheckpointRemap = 2000
Striping = 0

[Parameters]
ServerPort = 127.0.0.1:$sql
DisableUnixSocket = 1
DisableTcpSocket = 0
MaxClientConnections = 20
CheckpointInterval = 60
NumberOfBuffers = 10000
MaxDirtyBuffers = 6000
DirsAllowed = .
DefaultIsolation = 2

[HTTPServer]
ServerPort = 127.0.0.1:$http
ServerRoot = $dir
MaxClientConnections = 20
ServerThreads = 20

[SPARQL]
ResultSetMaxRows = 1000000
MaxQueryExecutionTime = 120
INI
  (cd "$dir" && virtuoso-t +configfile "$dir/virtuoso.ini" +wait >"$dir/start.log" 2>&1) || {
    echo "store-server: virtuoso-t did not start; its log:" >&2
    tail -n 20 "$dir/store.log" "$dir/start.log" >&2 || true
    exit 1
  }
  for ((waited = 0; ; waited++)); do
    if curl -sf -o /dev/null "http://127.0.0.1:$http/sparql?query=ASK%7B%7D"; then break; fi
    if ((waited >= kWaitSeconds)); then
      echo "store-server: no SPARQL endpoint on port $http after $kWaitSeconds s; the log:" >&2
      tail -n 20 "$dir/store.log" >&2 || true
      exit 1
    fi
    sleep 1
  done
  isql-vt "$sql" dba dba exec='GRANT SPARQL_UPDATE TO "SPARQL";' >"$dir/grant.log" 2>&1
  isql-vt "$sql" dba dba exec="DB.DBA.RDF_DEFAULT_USER_PERMS_SET ('nobody', 7);" >>"$dir/grant.log" 2>&1
  printf 'store=http://127.0.0.1:%s/sparql-graph-crud\nsparql=http://127.0.0.1:%s/sparql\nsql=%s\n' \
    "$http" "$http" "$sql" >"$dir/endpoints"
  cat "$dir/endpoints"
  ;;
stop)
  if [[ -d $dir ]]; then dir=$(cd "$dir" && pwd); fi
  stop_server
  ;;
*) usage ;;
esac
