#include "server/server_schema.h"

#include "core/model/booking_status.h"
#include "core/safekeeping/activity_log.h"
#include "schema/book_schema.h"
#include "schema/booking_sql.h"
#include "schema/calendar_text.h"
#include "schema/patient_sql.h"
#include "schema/slot_files.h"
#include "schema/waiting_sql.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace velmora {

namespace {

// Taken while the books are created, so that two desks starting together create them once.
constexpr qint64 kCreateLock = 0x56656c6d6f7261; // "Velmora"

QString schemaOf(int slot)
{
    return QFileInfo(QString::fromLatin1(doctorSlot(slot).appointmentFile)).completeBaseName();
}

// "schema.table.column" of every column the books need.
QSet<QString> requiredColumns()
{
    QSet<QString> columns;
    for (const DoctorSlot &slot : kDoctorSlots)
        for (const QString &column :
             fileFields(FileKind::Appointments).texts + QStringList{QStringLiteral("id")})
            columns << serverBookTable(slot.slot) + QLatin1Char('.') + column;
    for (const QString &column : serverSettingsTexts() + serverSettingsNumbers())
        columns << QStringLiteral("public.profs.") + column;
    return columns;
}

// The tables kept beside the books, "schema.table": each book's statuses and history, the record of
// the backups, the reception's lists and the patients.
QSet<QString> statusTables()
{
    QSet<QString> tables{serverBackupsTable(),
                         QStringLiteral("public.") + QLatin1String(kCalendarTable),
                         serverHeldTable(),
                         serverWaitingTable(),
                         QStringLiteral("public.") + squeezeLimitsTable(),
                         QStringLiteral("public.") + patientsTable()};
    for (const DoctorSlot &slot : kDoctorSlots)
        tables << statusTable(schemaOf(slot.slot)) << historyTable(schemaOf(slot.slot))
               << seriesTable(schemaOf(slot.slot)) << patientLinkTable(schemaOf(slot.slot));
    return tables;
}

QString calendarTableStatement()
{
    return QStringLiteral("CREATE TABLE IF NOT EXISTS public.%1 (entries text NOT NULL)")
        .arg(QLatin1String(kCalendarTable));
}

// The books' schemas by slot, as a PL/pgSQL array's items: 'bdm1', ...
QString booksArray()
{
    QStringList books;
    for (const DoctorSlot &slot : kDoctorSlots)
        books << QLatin1Char('\'') + schemaOf(slot.slot) + QLatin1Char('\'');
    return books.join(QStringLiteral(", "));
}

QString heldTableStatement()
{
    return QStringLiteral(
               "CREATE TABLE IF NOT EXISTS %1 (slot integer NOT NULL, id bigint NOT NULL, at text NOT "
               "NULL, computer text, person text, PRIMARY KEY (slot, id))")
        .arg(serverHeldTable());
}

// A booking moved by the server itself, so that its history goes with it under the new identity and
// the entries say "moved", whatever the desk's rights: the booking as read (its six fields), the new
// place and the linked doctor's book whose copy moves with it (0: none). Gives the new identity and
// "moved", "left", "removed" (the booking moved into the linked book itself) or "none" for the copy;
// none when the booking is no longer stored as read. The entries the history's triggers made of the
// move's own writes (and only those) give way to the "moved" one.
QString moveFunctionStatement()
{
    return QStringLiteral(
               "CREATE OR REPLACE FUNCTION public.velmora_move(from_slot integer, booking bigint, fields "
               "text[], "
               "to_slot integer, new_date text, new_hora text, copy_slot integer) RETURNS text LANGUAGE "
               "plpgsql "
               "SECURITY DEFINER SET search_path = pg_catalog, public AS $f$ "
               "DECLARE books text[] := ARRAY[%1]; src text; dst text; cp text; new_id bigint; copy_id "
               "bigint; "
               "found_ integer; mark bigint; src_mark bigint; copy_mark bigint; details text; copy_details "
               "text; copied text "
               ":= 'none'; "
               "app text := current_setting('application_name'); "
               "computer text := coalesce(host(inet_client_addr()), 'local'); "
               "at_ text := to_char(now() AT TIME ZONE 'UTC', 'YYYY-MM-DD\"T\"HH24:MI:SS.MS\"Z\"'); "
               "same text := 'data = $1 AND coalesce(hora, '''') = $2 AND coalesce(nome, '''') = $3 AND "
               "coalesce(convenio, '''') = $4 AND coalesce(telefone, '''') = $5 AND coalesce(obs, '''') = "
               "$6'; "
               "BEGIN "
               "IF from_slot NOT BETWEEN 1 AND %2 OR to_slot NOT BETWEEN 1 AND %2 OR array_length(fields, 1) "
               "<> 6 "
               "THEN RAISE EXCEPTION 'no such book or booking' USING ERRCODE = 'invalid_parameter_value'; "
               "END IF; "
               "IF app LIKE 'Velmora@%' THEN computer := substr(app, 9) || ' (' || computer || ')'; END IF; "
               "src := books[from_slot]; dst := books[to_slot]; "
               "EXECUTE format('SELECT id FROM %I.dados WHERE id = $7 AND ' || same || ' FOR UPDATE', src) "
               "USING fields[1], fields[2], fields[3], fields[4], fields[5], fields[6], booking; "
               "GET DIAGNOSTICS found_ = ROW_COUNT; "
               "IF found_ <> 1 THEN RETURN NULL; END IF; "
               "copy_details := 'data: ' || btrim(fields[1]) || ' \u2192 ' || new_date; "
               "IF btrim(fields[2]) <> btrim(new_hora) THEN copy_details := copy_details || E'\\nhora: ' || "
               "public.velmora_one_line(btrim(fields[2])) || ' \u2192 ' || "
               "public.velmora_one_line(btrim(new_hora)); "
               "END IF; "
               "details := copy_details; "
               "IF from_slot <> to_slot THEN details := details || E'\\ndoctor: ' || from_slot || ' \u2192 ' "
               "|| "
               "to_slot; END IF; "
               "IF from_slot = to_slot THEN new_id := booking; "
               "  EXECUTE format('SELECT coalesce(max(seq), 0) FROM %I.booking_history', dst) INTO mark; "
               "  EXECUTE format('UPDATE %I.dados SET data = $1, hora = $2 WHERE id = $3', src) "
               "  USING new_date, new_hora, booking; "
               "ELSE new_id := nextval(pg_get_serial_sequence(dst || '.dados', 'id')); "
               "  EXECUTE format('INSERT INTO %I.booking_history (id, at, computer, person, action, details) "
               "SELECT $1, at, computer, person, action, details FROM %I.booking_history WHERE id = $2 ORDER "
               "BY "
               "seq', dst, src) USING new_id, booking; "
               "  EXECUTE format('SELECT coalesce(max(seq), 0) FROM %I.booking_history', dst) INTO mark; "
               "  EXECUTE format('INSERT INTO %I.dados (id, data, hora, nome, convenio, telefone, obs) "
               "SELECT $1, "
               "$2, $3, nome, convenio, telefone, obs FROM %I.dados WHERE id = $4', dst, src) "
               "  USING new_id, new_date, new_hora, booking; "
               "  EXECUTE format('INSERT INTO %I.booking_patient (id, patient) SELECT $1, patient FROM "
               "%I.booking_patient WHERE id = $2', dst, src) USING new_id, booking; "
               "  EXECUTE format('SELECT coalesce(max(seq), 0) FROM %I.booking_history', src) INTO src_mark; "
               "  EXECUTE format('DELETE FROM %I.dados WHERE id = $1', src) USING booking; "
               "  EXECUTE format('DELETE FROM %I.booking_history WHERE id = $1 AND seq > $2 AND action = "
               "''removed''', src) USING booking, src_mark; "
               "  EXECUTE format('INSERT INTO %I.booking_history (id, at, computer, person, action, details) "
               "VALUES ($1, $2, $3, session_user, ''moved'', $4)', src) USING booking, at_, computer, "
               "details; "
               "END IF; "
               "EXECUTE format('DELETE FROM %I.booking_status WHERE id = $1', src) USING booking; "
               "EXECUTE format('DELETE FROM %I.booking_history WHERE id = $1 AND seq > $2 AND action IN "
               "(''added'', "
               "''changed'')', dst) USING new_id, mark; "
               "EXECUTE format('INSERT INTO %I.booking_history (id, at, computer, person, action, details) "
               "VALUES "
               "($1, $2, $3, session_user, ''moved'', $4)', dst) USING new_id, at_, computer, details; "
               "DELETE FROM %3 WHERE slot = from_slot AND id = booking; "
               "IF copy_slot BETWEEN 1 AND %2 AND copy_slot <> from_slot THEN "
               "  cp := books[copy_slot]; copied := 'left'; "
               "  EXECUTE format('SELECT id FROM %I.dados WHERE id <> $7 AND ' || same || ' ORDER BY id "
               "LIMIT 1 FOR UPDATE', cp) INTO copy_id "
               "  USING fields[1], fields[2], fields[3], fields[4], fields[5], fields[6], "
               "  CASE WHEN copy_slot = to_slot THEN new_id ELSE 0 END; "
               "  IF copy_id IS NOT NULL AND copy_slot = to_slot THEN copied := 'removed'; "
               "    EXECUTE format('DELETE FROM %I.dados WHERE id = $1', cp) USING copy_id; "
               "    EXECUTE format('DELETE FROM %I.booking_status WHERE id = $1', cp) USING copy_id; "
               "    DELETE FROM %3 WHERE slot = copy_slot AND id = copy_id; "
               "  ELSIF copy_id IS NOT NULL THEN copied := 'moved'; "
               "    EXECUTE format('SELECT coalesce(max(seq), 0) FROM %I.booking_history', cp) INTO "
               "copy_mark; "
               "    EXECUTE format('UPDATE %I.dados SET data = $1, hora = $2 WHERE id = $3', cp) "
               "    USING new_date, new_hora, copy_id; "
               "    EXECUTE format('DELETE FROM %I.booking_status WHERE id = $1', cp) USING copy_id; "
               "    EXECUTE format('DELETE FROM %I.booking_history WHERE id = $1 AND seq > $2 AND action = "
               "''changed''', cp) USING copy_id, copy_mark; "
               "    EXECUTE format('INSERT INTO %I.booking_history (id, at, computer, person, action, "
               "details) "
               "VALUES ($1, $2, $3, session_user, ''moved'', $4)', cp) USING copy_id, at_, computer, "
               "copy_details; "
               "  END IF; "
               "END IF; "
               "RETURN new_id || ' ' || copied; END $f$")
        .arg(booksArray())
        .arg(kDoctorSlotCount)
        .arg(serverHeldTable());
}

// The clinic's calendar saved by the server itself, so that a desk neither signs an entry as
// anyone nor keeps a second calendar beside the first: each entry the desk sends that was stored
// before is kept exactly as stored (its signature too); a new or changed one is signed with the
// login and the server's clock. Every desk's save waits for the one before it.
QString saveCalendarFunctionStatement()
{
    return QStringLiteral(
               "CREATE OR REPLACE FUNCTION public.velmora_save_calendar(wanted text) RETURNS void LANGUAGE "
               "plpgsql SECURITY DEFINER SET search_path = pg_catalog, public AS $f$ "
               "DECLARE before jsonb := '[]'; signed jsonb := '[]'; element jsonb; kept jsonb; "
               "at_ text := to_char(now() AT TIME ZONE 'UTC', 'YYYY-MM-DD\"T\"HH24:MI:SS.MS\"Z\"'); "
               "BEGIN "
               "PERFORM pg_advisory_xact_lock(hashtext('%1')); "
               "IF jsonb_typeof(wanted::jsonb) IS DISTINCT FROM 'array' THEN "
               "RAISE EXCEPTION 'a calendar is a list of entries' USING ERRCODE = 'invalid_parameter_value'; "
               "END IF; "
               "BEGIN SELECT coalesce((SELECT entries::jsonb FROM public.%1 LIMIT 1), '[]') INTO before; "
               "EXCEPTION WHEN others THEN before := '[]'; END; "
               "IF jsonb_typeof(before) <> 'array' THEN before := '[]'; END IF; "
               "FOR element IN SELECT value FROM jsonb_array_elements(wanted::jsonb) LOOP "
               "  kept := NULL; "
               "  SELECT b.value INTO kept FROM jsonb_array_elements(before) b WHERE "
               "  CASE WHEN jsonb_typeof(b.value) = 'object' AND jsonb_typeof(element) = 'object' "
               "  THEN (b.value - 'changedBy' - 'changedAt') = (element - 'changedBy' - 'changedAt') "
               "  ELSE b.value = element END LIMIT 1; "
               "  IF kept IS NOT NULL THEN element := kept; "
               "  ELSIF jsonb_typeof(element) = 'object' THEN "
               "    element := element || jsonb_build_object('changedBy', session_user::text, 'changedAt', "
               "at_); "
               "  END IF; "
               "  signed := signed || jsonb_build_array(element); "
               "END LOOP; "
               "DELETE FROM public.%1; "
               "INSERT INTO public.%1 (entries) VALUES (signed::text); "
               "END $f$")
        .arg(QLatin1String(kCalendarTable));
}

// A waiting list's entry booked by the server itself, in one transaction with its leaving the list,
// so that the booking's history says where it came from: the booking's six fields as the desk would
// add them. Gives the new identity, or none when the entry is no longer waiting.
QString bookWaitingFunctionStatement()
{
    return QStringLiteral(
               "CREATE OR REPLACE FUNCTION public.velmora_book_waiting(to_slot integer, entry bigint, fields "
               "text[]) "
               "RETURNS bigint LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, public AS $f$ "
               "DECLARE books text[] := ARRAY[%1]; dst text; new_id bigint; mark bigint; "
               "BEGIN "
               "IF to_slot NOT BETWEEN 1 AND %2 OR array_length(fields, 1) <> 6 THEN RAISE EXCEPTION 'no "
               "such book' "
               "USING ERRCODE = 'invalid_parameter_value'; END IF; "
               "UPDATE %3 SET state = 'booked', left_at = to_char(now() AT TIME ZONE 'UTC', "
               "'YYYY-MM-DD\"T\"HH24:MI:SS.MS\"Z\"') WHERE id = entry AND state = 'waiting'; "
               "IF NOT FOUND THEN RETURN NULL; END IF; "
               "dst := books[to_slot]; "
               "EXECUTE format('SELECT coalesce(max(seq), 0) FROM %I.booking_history', dst) INTO mark; "
               "EXECUTE format('INSERT INTO %I.dados (data, hora, nome, convenio, telefone, obs) VALUES ($1, "
               "$2, $3, "
               "$4, $5, $6) RETURNING id', dst) INTO new_id USING fields[1], fields[2], fields[3], "
               "fields[4], "
               "fields[5], fields[6]; "
               "EXECUTE format('UPDATE %I.booking_history SET action = ''waiting'' WHERE id = $1 AND seq > "
               "$2 AND "
               "action = ''added''', dst) USING new_id, mark; "
               "RETURN new_id; END $f$")
        .arg(booksArray())
        .arg(kDoctorSlotCount)
        .arg(serverWaitingTable());
}

QString backupsTableStatement()
{
    return QStringLiteral(
               "CREATE TABLE IF NOT EXISTS %1 (day date PRIMARY KEY, desk text, at timestamptz DEFAULT "
               "now())")
        .arg(serverBackupsTable());
}

// What was done to a booking is written by the server itself, as its owner, in the same transaction:
// the person is the login that connected and the time the server's clock, whatever a desk sends. The
// details read as the program writes them on the files: a line "field: value" per field of a booking
// added or removed, "field: before \u2192 after" for each field whose text changed (the padding is no
// change), the statuses by their stored keys. A fill of whole books by the owner (an import or a copy,
// which brings its own history) sets velmora.filling and writes none. A desk changes and removes one
// booking at a time, as the program does: a statement that would change or empty a whole book is
// refused. The backups are recorded for today alone.
QStringList serverFunctionStatements()
{
    QString keys;
    for (int number = 0; number < kBookingStatusCount; ++number)
        keys += (number ? QStringLiteral(", '") : QStringLiteral("'")) + statusKey(statusFromNumber(number)) +
                QLatin1Char('\'');
    QStringList statements{
        QStringLiteral(
            "CREATE OR REPLACE FUNCTION public.velmora_one_line(text) RETURNS text LANGUAGE sql "
            "IMMUTABLE AS $$ SELECT replace(replace(coalesce($1, ''), E'\\n', ' '), E'\\r', ' ') $$"),
        QStringLiteral(
            "CREATE OR REPLACE FUNCTION public.velmora_keep_history() RETURNS trigger LANGUAGE plpgsql "
            "SECURITY DEFINER SET search_path = pg_catalog, public AS $f$ "
            "DECLARE booking bigint; action text; field text; was text; now_ text; lines text[] := '{}'; "
            "keys text[] := ARRAY[%1]; app text := current_setting('application_name'); "
            "computer text := coalesce(host(inet_client_addr()), 'local'); "
            "BEGIN "
            "IF current_setting('velmora.filling', true) = 'on' AND session_user = current_user THEN "
            "RETURN NULL; END IF; "
            "IF app LIKE 'Velmora@%' THEN computer := substr(app, 9) || ' (' || computer || ')'; END IF; "
            "IF TG_TABLE_NAME = 'dados' THEN "
            "  IF TG_OP = 'UPDATE' THEN booking := NEW.id; action := 'changed'; "
            "    FOREACH field IN ARRAY ARRAY['data', 'hora', 'nome', 'convenio', 'telefone', 'obs'] LOOP "
            "      was := btrim(coalesce(to_jsonb(OLD) ->> field, ''), ' '); "
            "      now_ := btrim(coalesce(to_jsonb(NEW) ->> field, ''), ' '); "
            "      IF was <> now_ THEN lines := lines || (field || ': ' || public.velmora_one_line(was) || "
            "        ' \u2192 ' || public.velmora_one_line(now_)); END IF; "
            "    END LOOP; "
            "  ELSE "
            "    IF TG_OP = 'INSERT' THEN booking := NEW.id; action := 'added'; "
            "    ELSE booking := OLD.id; action := 'removed'; END IF; "
            "    FOREACH field IN ARRAY ARRAY['data', 'hora', 'nome', 'convenio', 'telefone', 'obs'] LOOP "
            "      lines := lines || (field || ': ' || public.velmora_one_line(CASE WHEN TG_OP = 'INSERT' "
            "        THEN to_jsonb(NEW) ELSE to_jsonb(OLD) END ->> field)); "
            "    END LOOP; "
            "  END IF; "
            "ELSE "
            "  IF TG_OP = 'DELETE' OR (TG_OP = 'UPDATE' AND OLD.status IS NOT DISTINCT FROM NEW.status) THEN "
            "    RETURN NULL; END IF; "
            "  booking := NEW.id; action := 'status'; "
            "  lines := ARRAY['status: ' || coalesce(keys[CASE WHEN TG_OP = 'INSERT' THEN 0 ELSE OLD.status "
            "END "
            "    + 1], keys[1]) || ' \u2192 ' || coalesce(keys[NEW.status + 1], keys[1])]; "
            "END IF; "
            "EXECUTE format('INSERT INTO %I.booking_history (id, at, computer, person, action, details) "
            "VALUES ($1, $2, $3, session_user, $4, $5)', TG_TABLE_SCHEMA) USING booking, "
            "to_char(now() AT TIME ZONE 'UTC', 'YYYY-MM-DD\"T\"HH24:MI:SS.MS\"Z\"'), computer, action, "
            "array_to_string(lines, E'\\n'); "
            "RETURN NULL; END $f$")
            .arg(keys),
        QStringLiteral(
            "CREATE OR REPLACE FUNCTION public.velmora_one_at_a_time() RETURNS trigger LANGUAGE plpgsql "
            "SECURITY DEFINER SET search_path = pg_catalog, public AS $f$ "
            "BEGIN IF session_user <> current_user AND (SELECT count(*) FROM touched) > 1 THEN "
            "RAISE EXCEPTION 'permission denied: a desk changes or removes one appointment at a time, not % "
            "at once', (SELECT count(*) FROM touched) USING ERRCODE = 'insufficient_privilege'; END IF; "
            "RETURN NULL; END $f$"),
        QStringLiteral(
            "CREATE OR REPLACE FUNCTION public.velmora_backup_made(desk text) RETURNS void LANGUAGE sql "
            "SECURITY DEFINER SET search_path = pg_catalog, public AS $$ INSERT INTO %1 (day, desk) VALUES "
            "(current_date, desk) ON CONFLICT (day) DO NOTHING $$")
            .arg(serverBackupsTable()),
        heldTableStatement(), moveFunctionStatement(), saveCalendarFunctionStatement(),
        waitingTableStatement(Dialect::Server, serverWaitingTable()),
        patientsTableStatement(Dialect::Server, QStringLiteral("public.") + patientsTable()),
        // Who put an entry on the waiting list, and when, are the server's to say: the login and its
        // clock on adding, and never changed after. A copy of the books by their owner keeps them; run
        // as the owner, so that a desk setting the copy's flag is still told apart from the owner.
        QStringLiteral(
            "CREATE OR REPLACE FUNCTION public.velmora_sign_waiting() RETURNS trigger LANGUAGE plpgsql "
            "SECURITY DEFINER SET search_path = pg_catalog, public AS $f$ "
            "BEGIN "
            "IF current_setting('velmora.filling', true) = 'on' AND session_user = current_user THEN "
            "RETURN NEW; END IF; "
            "IF TG_OP = 'UPDATE' THEN NEW.added_by := OLD.added_by; NEW.added_at := OLD.added_at; "
            "ELSE NEW.added_by := session_user; "
            "NEW.added_at := to_char(now() AT TIME ZONE 'UTC', 'YYYY-MM-DD\"T\"HH24:MI:SS.MS\"Z\"'); END IF; "
            "RETURN NEW; END $f$"),
        QStringLiteral("DROP TRIGGER IF EXISTS velmora_sign_waiting ON %1").arg(serverWaitingTable()),
        QStringLiteral(
            "CREATE TRIGGER velmora_sign_waiting BEFORE INSERT OR UPDATE ON %1 FOR EACH ROW EXECUTE "
            "FUNCTION public.velmora_sign_waiting()")
            .arg(serverWaitingTable()),
        squeezeLimitsStatement(Dialect::Server, QStringLiteral("public.") + squeezeLimitsTable()),
        bookWaitingFunctionStatement(),
        // A desk changes one patient at a time, as it does a booking.
        QStringLiteral("DROP TRIGGER IF EXISTS velmora_one_at_a_time_update ON public.%1")
            .arg(patientsTable()),
        QStringLiteral(
            "CREATE TRIGGER velmora_one_at_a_time_update AFTER UPDATE ON public.%1 REFERENCING OLD "
            "TABLE AS touched FOR EACH STATEMENT EXECUTE FUNCTION public.velmora_one_at_a_time()")
            .arg(patientsTable())};
    for (const DoctorSlot &slot : kDoctorSlots) {
        const QString schema = schemaOf(slot.slot);
        for (const QString &table : {QStringLiteral("dados"), QStringLiteral("booking_status")})
            statements << QStringLiteral("DROP TRIGGER IF EXISTS velmora_history ON %1.%2").arg(schema, table)
                       << QStringLiteral("CREATE TRIGGER velmora_history AFTER INSERT OR UPDATE OR DELETE ON "
                                         "%1.%2 FOR EACH ROW EXECUTE FUNCTION public.velmora_keep_history()")
                              .arg(schema, table);
        // A desk gives one booking its patient a statement, as the program does; the links' table made
        // first on books set up before it.
        statements << patientLinkTableStatements(Dialect::Server, schema)
                   << QStringLiteral("DROP TRIGGER IF EXISTS velmora_one_at_a_time_update ON %1")
                          .arg(patientLinkTable(schema))
                   << QStringLiteral(
                          "CREATE TRIGGER velmora_one_at_a_time_update AFTER UPDATE ON %1 REFERENCING "
                          "OLD TABLE AS touched FOR EACH STATEMENT EXECUTE FUNCTION "
                          "public.velmora_one_at_a_time()")
                          .arg(patientLinkTable(schema));
        for (const QString &event : {QStringLiteral("DELETE"), QStringLiteral("UPDATE")})
            statements << QStringLiteral("DROP TRIGGER IF EXISTS velmora_one_at_a_time_%1 ON %2.dados")
                              .arg(event.toLower(), schema)
                       << QStringLiteral(
                              "CREATE TRIGGER velmora_one_at_a_time_%1 AFTER %2 ON %3.dados "
                              "REFERENCING OLD TABLE AS touched FOR EACH STATEMENT EXECUTE FUNCTION "
                              "public.velmora_one_at_a_time()")
                              .arg(event.toLower(), event, schema);
    }
    return statements;
}

} // namespace

bool serverKeepsHistory(QSqlDatabase db)
{
    QSqlQuery query(db);
    return query.exec(
               QStringLiteral("SELECT 1 FROM pg_catalog.pg_trigger WHERE tgname = 'velmora_history' AND "
                              "tgrelid = 'bdm1.dados'::regclass")) &&
           query.next();
}

const char *const kDeskRole = "velmora_desks";

QString serverBackupsTable()
{
    return QStringLiteral("public.velmora_backups");
}

QString serverHeldTable()
{
    return QStringLiteral("public.booking_held");
}

QString serverWaitingTable()
{
    return QStringLiteral("public.") + waitingListTable();
}

QString serverSchema(int slot)
{
    return schemaOf(slot);
}

QString serverBookTable(int slot)
{
    return schemaOf(slot) + QStringLiteral(".dados");
}

QStringList serverSettingsTexts()
{
    return fileFields(FileKind::MainSettings).texts + fileFields(FileKind::ExtraSettings).texts;
}

QStringList serverSettingsNumbers()
{
    return fileFields(FileKind::MainSettings).numbers;
}

QStringList serverCreateStatements()
{
    QStringList statements;
    for (const DoctorSlot &slot : kDoctorSlots) {
        const QString schema = schemaOf(slot.slot);
        statements << QStringLiteral("CREATE SCHEMA %1").arg(schema)
                   << QStringLiteral("CREATE TABLE %1.dados (id bigserial PRIMARY KEY, %2)")
                          .arg(schema, bookingColumnDefinitions())
                   << QStringLiteral("CREATE INDEX data ON %1.dados (data, id)").arg(schema)
                   << statusTableStatements(Dialect::Server, schema);
    }
    QStringList definitions{QStringLiteral("id bigserial PRIMARY KEY")};
    QStringList values;
    for (const QString &column : serverSettingsTexts()) {
        definitions << column + QStringLiteral(" text");
        values << QStringLiteral("''");
    }
    for (const QString &column : serverSettingsNumbers()) {
        definitions << column + QStringLiteral(" bigint");
        values << QStringLiteral("0");
    }
    statements << QStringLiteral("CREATE TABLE public.profs (%1)").arg(definitions.join(QStringLiteral(", ")))
               << QStringLiteral("INSERT INTO public.profs (%1) VALUES (%2)")
                      .arg((serverSettingsTexts() + serverSettingsNumbers()).join(QStringLiteral(", ")),
                           values.join(QStringLiteral(", ")))
               << backupsTableStatement() << calendarTableStatement() << serverFunctionStatements();
    return statements;
}

bool inspectServer(QSqlDatabase db, ServerContents *contents, QString *problem, QString *error)
{
    QSqlQuery query(db);
    // Read from the catalogue, which shows every table to every role: the information schema hides the
    // tables a role has no right on, and a database would look empty that is not.
    if (!query.exec(QStringLiteral(
            "SELECT n.nspname || '.' || c.relname || '.' || coalesce(a.attname, '') FROM pg_catalog.pg_class "
            "c "
            "JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace LEFT JOIN pg_catalog.pg_attribute a ON "
            "a.attrelid = c.oid AND a.attnum > 0 AND NOT a.attisdropped WHERE c.relkind IN ('r', 'p', 'v', "
            "'m', 'f') AND n.nspname NOT IN ('pg_catalog', 'information_schema') AND n.nspname NOT LIKE "
            "'pg_toast%' AND n.nspname NOT LIKE 'pg_temp%'"))) {
        *error = reasonOf(query.lastError());
        return false;
    }
    QSet<QString> found;
    while (query.next())
        found << query.value(0).toString();
    if (found.isEmpty()) {
        *contents = ServerContents::Empty;
        return true;
    }
    const QSet<QString> required = requiredColumns();
    QSet<QString> tables;
    for (const QString &column : std::as_const(found))
        tables << column.section(QLatin1Char('.'), 0, 1);
    QSet<QString> ours;
    for (const QString &column : required)
        ours << column.section(QLatin1Char('.'), 0, 1);
    const QSet<QString> strange = tables - ours - statusTables();
    const QSet<QString> missing = required - found;
    if (strange.isEmpty() && missing.isEmpty()) {
        *contents = (tables & statusTables()) == statusTables() ? ServerContents::Books
                                                                : ServerContents::BooksWithoutStatuses;
        return true;
    }
    *contents = ServerContents::Foreign;
    QStringList named = strange.isEmpty() ? QStringList(missing.begin(), missing.end())
                                          : QStringList(strange.begin(), strange.end());
    named.sort();
    if (named.size() > 5)
        named = named.mid(0, 5) << QStringLiteral("...");
    *problem =
        strange.isEmpty()
            ? QCoreApplication::translate("Storage", "its books lack %1")
                  .arg(named.join(QStringLiteral(", ")))
            : QCoreApplication::translate("Storage", "it holds tables that are not Velmora's books: %1")
                  .arg(named.join(QStringLiteral(", ")));
    return true;
}

// Every book's statuses and history there: what a desk cannot do without.
bool booksHaveTheirOwnTables(QSqlDatabase db)
{
    QStringList tables;
    for (const DoctorSlot &slot : kDoctorSlots)
        tables << QLatin1Char('\'') + statusTable(schemaOf(slot.slot)) + QLatin1Char('\'')
               << QLatin1Char('\'') + historyTable(schemaOf(slot.slot)) + QLatin1Char('\'');
    QSqlQuery query(db);
    return query.exec(QStringLiteral("SELECT bool_and(to_regclass(t) IS NOT NULL) FROM unnest(ARRAY[%1]) t")
                          .arg(tables.join(QStringLiteral(", ")))) &&
           query.next() && query.value(0).toBool();
}

bool prepareServer(QSqlDatabase db, QString *problem, QString *error)
{
    ServerContents contents = ServerContents::Foreign;
    if (!inspectServer(db, &contents, problem, error))
        return false;
    if (contents == ServerContents::Books)
        return true;
    if (contents == ServerContents::Foreign)
        return false;
    if (!db.transaction()) {
        *error = reasonOf(db.lastError());
        return false;
    }
    QSqlQuery query(db);
    bool ok = query.exec(QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(kCreateLock));
    // Another desk may have created them while this one waited for the lock.
    ok = ok && inspectServer(db, &contents, problem, error);
    ok = ok && query.exec(QStringLiteral("SET LOCAL client_min_messages = warning"));
    if (ok && contents == ServerContents::Empty)
        for (const QString &statement : serverCreateStatements())
            ok = ok && query.exec(statement);
    if (ok && contents == ServerContents::BooksWithoutStatuses) {
        for (const DoctorSlot &slot : kDoctorSlots)
            for (const QString &statement : statusTableStatements(Dialect::Server, schemaOf(slot.slot)))
                ok = ok && query.exec(statement);
        ok = ok && query.exec(backupsTableStatement()) && query.exec(calendarTableStatement());
        for (const QString &statement : serverFunctionStatements())
            ok = ok && query.exec(statement);
    }
    if (!ok && error->isEmpty())
        *error = reasonOf(query.lastError());
    query.finish();
    if (!ok || !db.commit()) {
        if (ok)
            *error = reasonOf(db.lastError());
        db.rollback();
        // A desk, which may not add what a newer release keeps beside the books, still works on books
        // that have their statuses and history: the rest reads as empty until the set-up is run again.
        if (contents == ServerContents::BooksWithoutStatuses && booksHaveTheirOwnTables(db)) {
            qCWarning(logServer).noquote() << "the server lacks tables of this release:" << *error
                                           << "- run velmora --server-setup again";
            error->clear();
            return true;
        }
        return false;
    }
    return contents != ServerContents::Foreign;
}

namespace {

// Folds a name as the program does for the letters of Portuguese, Spanish and French names: accents
// dropped, lower case, runs of blanks made one.
const char *const kFoldFunction =
    "CREATE OR REPLACE FUNCTION public.velmora_fold(text) RETURNS text LANGUAGE sql IMMUTABLE PARALLEL SAFE "
    "AS "
    "$$ SELECT regexp_replace(lower(translate(coalesce($1, ''), "
    "'ÁÀÂÃÄÅáàâãäåÉÈÊËéèêëÍÌÎÏíìîïÓÒÔÕÖóòôõöÚÙÛÜúùûüÇçÑñÝýÿ', "
    "'AAAAAAaaaaaaEEEEeeeeIIIIiiiiOOOOOoooooUUUUuuuuCcNnYyy')), '\\s+', ' ', 'g') $$";

QString phoneDigitsOf(const QString &column)
{
    return QStringLiteral("regexp_replace(coalesce(%1, ''), '[^0-9]', '', 'g')").arg(column);
}

// The statements run in one transaction, all or none; false with the first refusal.
bool inOneTransaction(QSqlDatabase db, const QStringList &statements, QString *error)
{
    if (!db.transaction()) {
        *error = reasonOf(db.lastError());
        return false;
    }
    QSqlQuery query(db);
    for (const QString &statement : statements) {
        if (!query.exec(statement)) {
            *error = reasonOf(query.lastError());
            query.finish();
            db.rollback();
            return false;
        }
    }
    query.finish();
    if (db.commit())
        return true;
    *error = reasonOf(db.lastError());
    db.rollback();
    return false;
}

} // namespace

bool searchIndexesThere(QSqlDatabase db)
{
    QSqlQuery query(db);
    return query.exec(
               QStringLiteral("SELECT count(*) FROM pg_indexes WHERE indexname IN ('booking_name_search', "
                              "'booking_phone_search')")) &&
           query.next() && query.value(0).toInt() == 2 * kDoctorSlotCount;
}

bool ensureSearchIndexes(QSqlDatabase db)
{
    if (searchIndexesThere(db))
        return true;
    QStringList statements{QStringLiteral("CREATE EXTENSION IF NOT EXISTS pg_trgm"),
                           QString::fromUtf8(kFoldFunction)};
    for (const DoctorSlot &slot : kDoctorSlots) {
        statements << QStringLiteral("CREATE INDEX IF NOT EXISTS booking_name_search ON %1 USING gin "
                                     "(public.velmora_fold(nome) gin_trgm_ops)")
                          .arg(serverBookTable(slot.slot))
                   << QStringLiteral("CREATE INDEX IF NOT EXISTS booking_phone_search ON %1 USING gin ((%2) "
                                     "gin_trgm_ops)")
                          .arg(serverBookTable(slot.slot), phoneDigitsOf(QStringLiteral("telefone")));
    }
    // All or nothing: a login without the right to make them leaves the searches reading every book.
    QString refused;
    return inOneTransaction(db, statements, &refused);
}

QString serverSearchCondition(const PatientQuery &query)
{
    return query.kind == PatientQuery::Kind::Phone
               ? phoneDigitsOf(QStringLiteral("telefone")) + QStringLiteral(" LIKE ?")
               : QStringLiteral("public.velmora_fold(nome) LIKE ?");
}

QString serverSearchPattern(const PatientQuery &query)
{
    QString text = query.text;
    text.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
        .replace(QLatin1Char('%'), QLatin1String("\\%"))
        .replace(QLatin1Char('_'), QLatin1String("\\_"));
    return QLatin1Char('%') + text + QLatin1Char('%');
}

bool mayMakeBooksAndDesks(QSqlDatabase db, QString *error)
{
    QSqlQuery query(db);
    if (!query.exec(
            QStringLiteral("SELECT r.rolsuper, r.rolcreaterole, d.datdba = r.oid, EXISTS (SELECT 1 "
                           "FROM pg_catalog.pg_roles "
                           "WHERE rolname = '%1'), current_user, pg_catalog.pg_get_userbyid(d.datdba), "
                           "EXISTS (SELECT 1 FROM pg_catalog.pg_auth_members m JOIN pg_catalog.pg_roles g "
                           "ON g.oid = m.roleid WHERE g.rolname = '%1' AND m.member = r.oid) "
                           "FROM pg_catalog.pg_roles r, "
                           "pg_catalog.pg_database d WHERE "
                           "r.rolname = current_user AND d.datname = current_database()")
                .arg(QLatin1String(kDeskRole))) ||
        !query.next()) {
        *error = reasonOf(query.lastError());
        return false;
    }
    const bool super = query.value(0).toBool();
    const QString login = query.value(4).toString();
    if (!super && !query.value(2).toBool()) {
        // A desk's login (or another's) is never made the owner: the set-up is the owner's to run.
        *error =
            query.value(6).toBool()
                ? QCoreApplication::translate("Storage",
                                              "the login %1 is a desk's; run velmora --server-setup with the "
                                              "login that owns the database (%2)")
                      .arg(login, query.value(5).toString())
                : QCoreApplication::translate("Storage",
                                              "the login %1 does not own the database, %2 does; run velmora "
                                              "--server-setup with that login")
                      .arg(login, query.value(5).toString());
        return false;
    }
    if (!super && !query.value(1).toBool() && !query.value(3).toBool()) {
        *error =
            QCoreApplication::translate(
                "Storage", "the login %1 may not create the desks' role; give it the right with: sudo -u "
                           "postgres psql -c 'ALTER ROLE %1 CREATEROLE'")
                .arg(login);
        return false;
    }
    return true;
}

bool setUpDeskRole(QSqlDatabase db, QStringList *lines, QString *error)
{
    const QString role = QLatin1String(kDeskRole);
    // The server's functions and triggers made, or made again on books set up before them; its notes on
    // triggers not there yet are not for the IT person's terminal.
    QStringList statements{QStringLiteral("SET LOCAL client_min_messages = warning")};
    statements += serverFunctionStatements();
    statements += QStringList{
        QStringLiteral(
            "DO $$ BEGIN IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = '%1') THEN CREATE ROLE %1 "
            "NOLOGIN; END IF; END $$")
            .arg(role),
        QStringLiteral("GRANT CONNECT, TEMPORARY ON DATABASE \"%1\" TO %2")
            .arg(db.databaseName().replace(QLatin1Char('"'), QLatin1String("\"\"")), role),
        QStringLiteral("GRANT USAGE ON SCHEMA public TO %1").arg(role),
        // pg_dump reads every sequence it copies: the desk that makes the day's backup needs it.
        QStringLiteral("GRANT USAGE, SELECT ON ALL SEQUENCES IN SCHEMA public TO %1").arg(role),
        QStringLiteral("GRANT SELECT, UPDATE ON public.profs TO %1").arg(role), calendarTableStatement(),
        // The calendar is saved through its function, which signs what changed.
        QStringLiteral("REVOKE INSERT, UPDATE, DELETE, TRUNCATE ON public.%1 FROM %2")
            .arg(QLatin1String(kCalendarTable), role),
        QStringLiteral("GRANT SELECT ON public.%1 TO %2").arg(QLatin1String(kCalendarTable), role),
        QStringLiteral("GRANT EXECUTE ON FUNCTION public.velmora_save_calendar(text) TO %1").arg(role),
        QStringLiteral("GRANT SELECT, INSERT, DELETE ON %1 TO %2").arg(serverHeldTable(), role),
        QStringLiteral("GRANT SELECT, INSERT, UPDATE ON %1 TO %2").arg(serverWaitingTable(), role),
        // A patient's identity is the server's to give: a desk writes the record and its CPF alone.
        QStringLiteral("REVOKE INSERT, UPDATE, DELETE, TRUNCATE ON public.%1 FROM %2")
            .arg(patientsTable(), role),
        QStringLiteral("GRANT SELECT, INSERT (cpf, record), UPDATE (cpf, record) ON public.%1 TO %2")
            .arg(patientsTable(), role),
        QStringLiteral("GRANT SELECT, INSERT, DELETE ON public.%1 TO %2").arg(squeezeLimitsTable(), role),
        QStringLiteral("GRANT EXECUTE ON FUNCTION public.velmora_book_waiting(integer, bigint, text[]) TO %1")
            .arg(role),
        QStringLiteral(
            "GRANT EXECUTE ON FUNCTION public.velmora_move(integer, bigint, text[], integer, text, text, "
            "integer) TO %1")
            .arg(role),
        // The backups' record is kept through its function, which records today alone.
        QStringLiteral("REVOKE INSERT, UPDATE, DELETE, TRUNCATE ON %1 FROM %2")
            .arg(serverBackupsTable(), role),
        QStringLiteral("GRANT SELECT ON %1 TO %2").arg(serverBackupsTable(), role),
        QStringLiteral("GRANT EXECUTE ON FUNCTION public.velmora_backup_made(text) TO %1").arg(role)};
    for (const DoctorSlot &slot : kDoctorSlots) {
        const QString schema = schemaOf(slot.slot);
        statements
            << QStringLiteral("GRANT USAGE ON SCHEMA %1 TO %2").arg(schema, role)
            // A booking's identity is the server's to give: a desk writes its fields alone, and only
            // adds to the series it books.
            << QStringLiteral("REVOKE INSERT, UPDATE, TRUNCATE ON %1.dados, %2 FROM %3")
                   .arg(schema, seriesTable(schema), role)
            << QStringLiteral("GRANT SELECT, DELETE, INSERT (%2), UPDATE (%2) ON %1.dados TO %3")
                   .arg(schema, bookingColumns(), role)
            << QStringLiteral("GRANT SELECT, INSERT ON %1 TO %2").arg(seriesTable(schema), role)
            << QStringLiteral("REVOKE DELETE ON %1 FROM %2").arg(seriesTable(schema), role)
            << QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE ON %1 TO %2")
                   .arg(statusTable(schema), role)
            // A booking's patient is given and changed, never taken away.
            << QStringLiteral("REVOKE DELETE, TRUNCATE ON %1 FROM %2").arg(patientLinkTable(schema), role)
            << QStringLiteral("GRANT SELECT, INSERT, UPDATE ON %1 TO %2").arg(patientLinkTable(schema), role)
            // The history is the server's to write: a desk only reads it.
            << QStringLiteral("REVOKE INSERT, UPDATE, DELETE, TRUNCATE ON %1 FROM %2")
                   .arg(historyTable(schema), role)
            << QStringLiteral("GRANT SELECT ON %1 TO %2").arg(historyTable(schema), role)
            << QStringLiteral("GRANT USAGE, SELECT ON ALL SEQUENCES IN SCHEMA %1 TO %2").arg(schema, role);
    }
    if (!inOneTransaction(db, statements, error))
        return false;
    // The desks' network as this computer's, when it reached the server over the network.
    QString network = QStringLiteral("192.168.1.0/24");
    QSqlQuery seen(db);
    const bool guessed = seen.exec(QStringLiteral(
                             "SELECT network(set_masklen(inet_client_addr(), CASE family(inet_client_addr()) "
                             "WHEN 4 THEN 24 ELSE 64 END))::text WHERE inet_client_addr() IS NOT NULL AND "
                             "NOT host(inet_client_addr()) IN ('127.0.0.1', '::1')")) &&
                         seen.next();
    if (guessed)
        network = seen.value(0).toString();
    *lines
        << QCoreApplication::translate(
               "Storage", "The books are ready, and the role %1 gives a desk's rights on them and "
                          "nothing else.")
               .arg(role)
        << QCoreApplication::translate("Storage",
                                       "Add each person who works at a desk (sudo -u postgres psql %1):")
               .arg(db.databaseName())
        << QStringLiteral("  CREATE ROLE maria LOGIN PASSWORD 'a password of her own' IN ROLE %1;").arg(role)
        << QCoreApplication::translate("Storage",
                                       "and let them connect only encrypted from the clinic's network, in "
                                       "pg_hba.conf, before its host lines (then reload the server):")
        << QStringLiteral("  hostssl %1 +%2 %3 scram-sha-256").arg(db.databaseName(), role, network);
    if (guessed)
        *lines << QCoreApplication::translate(
            "Storage", "(the network of this computer; widen it if desks sit on others)");
    else
        *lines << QCoreApplication::translate(
                      "Storage",
                      "(write the clinic's network in place of %1: this computer reached the server from "
                      "itself, so the network is not known here)")
                      .arg(network);
    return true;
}

} // namespace velmora
