# Functions to start a PostgreSQL 15 server of the tests' own in a temporary folder, on a free port
# and a private socket folder, and to stop and remove it. The server refuses to run as root, so under
# root it runs as the postgres system user. Exports VELMORA_TEST_SERVER (a URI to its "postgres"
# database) and VELMORA_TEST_SERVER_CONTROL (a script taking stop or start, for the tests that stop it).
# It accepts only encrypted connections, with a certificate for 127.0.0.1 signed by a root certificate
# made here (PGSSLROOTCERT, which libpq and so the program trust); VELMORA_TEST_OTHER_ROOT names a root
# certificate that did not sign it.
pg_bin=/usr/lib/postgresql/15/bin
test_server_dir=""

as_server_user() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

# start_test_server [SERVER OPTIONS], for example -c fsync=off
start_test_server() {
  server_options="$*"
  test_server_dir=$(mktemp -d /tmp/velmora-server.XXXXXX)
  chmod 755 "$test_server_dir"
  mkdir "$test_server_dir/sock"
  [ "$(id -u)" -ne 0 ] || chown -R postgres "$test_server_dir"
  as_server_user "$pg_bin/initdb" -D "$test_server_dir/data" -A trust -U velmora >/dev/null
  make_test_certificates "$test_server_dir/tls"
  printf 'local all all trust\nhostssl all all 127.0.0.1/32 trust\n' >"$test_server_dir/data/pg_hba.conf"
  # The benchmarks compare with unencrypted connections (VELMORA_TEST_SERVER_PLAIN=1).
  [ "${VELMORA_TEST_SERVER_PLAIN:-}" != 1 ] || printf 'host all all 127.0.0.1/32 trust\n' >>"$test_server_dir/data/pg_hba.conf"
  [ "$(id -u)" -ne 0 ] || chown -R postgres "$test_server_dir/data" "$test_server_dir/tls"
  server_options="$server_options -c ssl=on -c ssl_cert_file=$test_server_dir/tls/server.crt"
  server_options="$server_options -c ssl_key_file=$test_server_dir/tls/server.key"
  # A port another run holds makes the start fail: another one is tried.
  local port attempt
  for attempt in $(seq 20); do
    port=$((20000 + RANDOM % 40000))
    write_control "$port"
    "$test_server_dir/control" start && break
    [ "$attempt" -lt 20 ] || { echo "no port for the test server" >&2; return 1; }
  done
  export VELMORA_TEST_SERVER="postgresql://velmora@127.0.0.1:$port/postgres"
  export PGSSLROOTCERT="$test_server_dir/tls/root.crt"
  export VELMORA_TEST_OTHER_ROOT="$test_server_dir/tls/other-root.crt"
  export VELMORA_TEST_SERVER_CONTROL="$test_server_dir/control"
}

# A root certificate, the server's certificate for 127.0.0.1 signed by it, and another root.
make_test_certificates() {
  local dir=$1
  mkdir -p "$dir"
  for root in root other-root; do
    openssl req -x509 -newkey rsa:2048 -nodes -days 30 -subj "/CN=Velmora test $root" \
      -keyout "$dir/$root.key" -out "$dir/$root.crt" 2>/dev/null
  done
  openssl req -newkey rsa:2048 -nodes -subj "/CN=127.0.0.1" -keyout "$dir/server.key" -out "$dir/server.csr" \
    2>/dev/null
  printf 'subjectAltName=IP:127.0.0.1\n' >"$dir/names"
  openssl x509 -req -in "$dir/server.csr" -CA "$dir/root.crt" -CAkey "$dir/root.key" -CAcreateserial -days 30 \
    -extfile "$dir/names" -out "$dir/server.crt" 2>/dev/null
  chmod 600 "$dir/server.key"
}

write_control() {
  local port=$1
  cat >"$test_server_dir/control" <<CONTROL
#!/usr/bin/env bash
# stop or start the tests' server
set -e
if [ "\$(id -u)" -eq 0 ]; then run=(runuser -u postgres --); else run=(); fi
"\${run[@]}" $pg_bin/pg_ctl -D $test_server_dir/data -l $test_server_dir/log -w -m fast "\$1" \\
  -o "-k $test_server_dir/sock -c listen_addresses=127.0.0.1 -p $port -c max_connections=200 $server_options" >/dev/null
CONTROL
  chmod 755 "$test_server_dir/control"
}

stop_test_server() {
  [ -n "$test_server_dir" ] || return 0
  "$test_server_dir/control" stop 2>/dev/null || true
  rm -rf "$test_server_dir"
}
