#!/usr/bin/env bash
# Follows the README's steps for several desks as an IT person would on Debian 12, with a private
# PostgreSQL 15 server on this computer standing in for the clinic's (127.0.0.1 for 192.168.1.10, a
# folder of its own for /etc/postgresql/15/main), and checks what each step promises.
#   server-steps.sh VELMORA FIXTURES   (the program built, the older program's sample files)
set -euo pipefail
velmora=$(realpath "$1")
fixtures=$(realpath "$2")
pg_bin=/usr/lib/postgresql/15/bin
as_postgres() { if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi; }
fail() { echo "server steps: $*" >&2; exit 1; }

work=$(mktemp -d /tmp/velmora-steps.XXXXXX)
chmod 755 "$work"
etc=$work/etc && mkdir -p "$etc" "$work/sock" "$work/usb" "$work/home"
port=$((20000 + RANDOM % 40000))
trap 'as_postgres "$pg_bin/pg_ctl" -D "$work/data" -w -m fast stop >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
mkdir -m 700 "$work/data"
[ "$(id -u)" -ne 0 ] || chown postgres "$work/sock" "$work/data"
# Nothing of the tests' own server reaches the steps.
unset PGSSLROOTCERT PGSSLMODE PGPASSWORD PGHOST PGPORT PGUSER PGDATABASE VELMORA_TEST_SERVER
export HOME=$work/home QT_QPA_PLATFORM=offscreen

echo "== step 1: the server, its certificates and its rules"
as_postgres "$pg_bin/initdb" -D "$work/data" -U postgres --auth-local=peer --auth-host=scram-sha-256 >/dev/null
(
  cd "$etc"
  openssl req -x509 -newkey rsa:3072 -nodes -days 3650 -subj "/CN=Clinica root" -keyout root.key -out root.crt 2>/dev/null
  openssl req -newkey rsa:3072 -nodes -subj "/CN=127.0.0.1" -keyout server.key -out server.csr 2>/dev/null
  printf 'subjectAltName=IP:127.0.0.1\n' | tee names >/dev/null
  openssl x509 -req -in server.csr -CA root.crt -CAkey root.key -CAcreateserial -days 825 -extfile names -out server.crt 2>/dev/null
  [ "$(id -u)" -ne 0 ] || chown postgres server.key server.crt
  chmod 600 server.key root.key
  cp root.key "$work/usb/" && shred -u root.key
)
[ ! -e "$etc/root.key" ] || fail "root.key is still on the server"
cat >>"$work/data/postgresql.conf" <<CONF
listen_addresses = '127.0.0.1'
port = $port
unix_socket_directories = '$work/sock'
ssl = on
ssl_cert_file = '$etc/server.crt'
ssl_key_file = '$etc/server.key'
CONF
cat >"$work/data/pg_hba.conf" <<HBA
local   all      postgres                     peer
hostssl velmora velmora        127.0.0.1/32 scram-sha-256
hostssl velmora +velmora_desks 127.0.0.1/32 scram-sha-256
HBA
as_postgres "$pg_bin/pg_ctl" -D "$work/data" -l "$work/sock/log" -w start >/dev/null || { cat "$work/sock/log"; fail "the server did not start"; }
mkdir -p "$HOME/.postgresql" && cp "$etc/root.crt" "$HOME/.postgresql/root.crt"

echo "== step 2: the owner, the database, the books and the desks' role"
psql_as_postgres() { as_postgres psql -X -q -h "$work/sock" -p "$port" -U postgres "$@"; }
# createuser --pwprompt --createrole velmora, with the password it would prompt for:
psql_as_postgres -d postgres -c "CREATE ROLE velmora LOGIN CREATEROLE PASSWORD 'owner secret'"
as_postgres createdb -h "$work/sock" -p "$port" -U postgres --owner velmora velmora
owner="postgresql://velmora@127.0.0.1:$port/velmora"
PGPASSWORD='owner secret' "$velmora" --server-setup "$owner" >"$work/setup.out" || fail "--server-setup: $(cat "$work/setup.out")"
grep -q "IN ROLE velmora_desks" "$work/setup.out" || fail "--server-setup printed no advice"
# The advice printed, as printed, by PostgreSQL's superuser:
advice=$(grep "CREATE ROLE maria" "$work/setup.out" | sed "s/'a password of her own'/'maria secret'/")
psql_as_postgres -d velmora -c "$advice"

echo "== step 3: the desk's files copied in"
desk=$work/desk && mkdir "$desk" && cp "$fixtures"/clinic-a/*.mdb "$desk/"
"$velmora" --data-folder "$desk" --import-legacy >/dev/null || fail "the import into files failed"
PGPASSWORD='owner secret' "$velmora" --data-folder "$desk" --copy-to-server "$owner" >"$work/copy.out" || fail "--copy-to-server: $(cat "$work/copy.out")"

echo "== step 4: a desk with its own login"
printf '127.0.0.1:%s:velmora:maria:maria secret\n' "$port" >"$HOME/.pgpass" && chmod 600 "$HOME/.pgpass"
front=$work/front && mkdir "$front"
printf '[server]\nurl=postgresql://maria@127.0.0.1:%s/velmora\n' "$port" >"$front/velmora.ini"
"$velmora" --data-folder "$desk" --find silva | sort >"$work/files.found" || fail "--find on the files"
"$velmora" --data-folder "$front" --find silva | sort >"$work/server.found" || fail "--find at the desk"
[ -s "$work/server.found" ] && cmp -s "$work/files.found" "$work/server.found" || fail "the desk does not find what the files hold"

echo "== what a desk's login may not do"
maria="host=127.0.0.1 port=$port dbname=velmora user=maria sslmode=verify-full"
! psql -X -q "host=127.0.0.1 port=$port dbname=velmora user=maria sslmode=disable" -c 'SELECT 1' 2>/dev/null || fail "a plain connection was taken"
for beyond in "INSERT INTO bdm1.booking_history (id, at, action) VALUES (1, 'x', 'added')" \
              "DELETE FROM bdm1.dados" "INSERT INTO public.velmora_backups (day) VALUES ('2099-01-01')" \
              "DROP TABLE bdm1.dados"; do
  ! psql -X -q "$maria" -c "$beyond" 2>/dev/null || fail "a desk could: $beyond"
done
psql -X -q "$maria" -c "UPDATE bdm1.dados SET telefone = '9999' WHERE id = (SELECT min(id) FROM bdm1.dados)"
[ "$(psql -X -At "$maria" -c "SELECT person FROM bdm1.booking_history ORDER BY seq DESC LIMIT 1")" = maria ] || fail "the server did not write the history"

echo "== the server's backup with a desk's rights, put back"
pg_dump --format=custom --file="$work/server.dump" "$maria" || fail "pg_dump with a desk's rights"
as_postgres createdb -h "$work/sock" -p "$port" -U postgres --owner velmora restored
restored="postgresql://velmora@127.0.0.1:$port/restored"
printf 'hostssl restored velmora 127.0.0.1/32 scram-sha-256\nhostssl restored +velmora_desks 127.0.0.1/32 scram-sha-256\n' >>"$work/data/pg_hba.conf"
as_postgres "$pg_bin/pg_ctl" -D "$work/data" reload >/dev/null
for _ in $(seq 100); do # the new rules are read in the background
  PGPASSWORD='owner secret' psql -X -q "host=127.0.0.1 port=$port dbname=restored user=velmora sslmode=verify-full" \
    -c 'SELECT 1' >/dev/null 2>&1 && break
  sleep 0.1
done
PGPASSWORD='owner secret' "$velmora" --server "$restored" --restore-backup "$work/server.dump" >"$work/restore.out" || fail "the restore: $(cat "$work/restore.out")"
PGPASSWORD='owner secret' "$velmora" --server-setup "$restored" >/dev/null || fail "--server-setup after the restore"
echo "the README's server steps: every step did what the README says"
