#!/usr/bin/env bash
# The demo: installs what is needed, builds Quillon, and runs one whole replication on
# embedded databases. A sender and a receiver start with the same customers; the sender
# then takes new orders, changes and deletes; an export carries the changes of one
# replication item to the receiver, and the demo checks that both now hold the same rows.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
if [ "${QUILLON_SKIP_SETUP:-}" != 1 ]; then
  bash scripts/install-packages.sh
  bash scripts/build.sh
fi
CLI="$ROOT/${BUILD_DIR:-build}/quillon-cli"
DEMO=${DEMO_DIR:-$ROOT/${BUILD_DIR:-build}/demo}
export ISC_USER=${ISC_USER:-SYSDBA} ISC_PASSWORD=${ISC_PASSWORD:-masterkey}
rm -rf "$DEMO" && mkdir -p "$DEMO"
CONFIG=$DEMO/config.gdb SENDER=$DEMO/sender.gdb RECEIVER=$DEMO/receiver.gdb

sql() {  # sql [DATABASE]: runs the statements on standard input
  isql-fb -q -b -u "$ISC_USER" -p "$ISC_PASSWORD" -ch WIN1251 "$@"
}
step() { printf '\n== %s\n' "$*"; }

step "Configuration database"
"$CLI" create-config "$CONFIG"
sql "$CONFIG" <<'SQL'
insert into DD_OBJECTS (ID, NAME) values (1, 'Head office');
insert into DD_OBJECTS (ID, NAME) values (2, 'Branch');
insert into DD_REPL_ITEMS (ID, DESCR, PUBLISHER_ID, SUBSCRIBER_ID) values (1, 'Head office to branch', 1, 2);
insert into DD_PUBLICATIONS (ID, NAME) values (1, 'Sales');
insert into DD_SUBSCRIPTIONS (ID, PUBLICATION_ID, REP_ITEM_ID) values (1, 1, 1);
insert into DD_TABLES (ID, NAME, PUBLICATION_ID) values (1, 'CUSTOMERS', 1);
insert into DD_TABLES (ID, NAME, PUBLICATION_ID) values (2, 'ORDERS', 1);
insert into DD_FIELDS (ID, NAME, TABLE_ID) values (1, 'ID', 1);
insert into DD_FIELDS (ID, NAME, TABLE_ID) values (2, 'NAME', 1);
insert into DD_FIELDS (ID, NAME, TABLE_ID) values (3, 'CITY', 1);
insert into DD_FIELDS (ID, NAME, TABLE_ID) values (4, 'ID', 2);
insert into DD_FIELDS (ID, NAME, TABLE_ID, REF_TABLE_NAME, REF_FIELD_NAME) values (5, 'CUSTOMER_ID', 2, 'CUSTOMERS', 'ID');
insert into DD_FIELDS (ID, NAME, TABLE_ID) values (6, 'ORDERED', 2);
insert into DD_FIELDS (ID, NAME, TABLE_ID) values (7, 'QTY', 2);
insert into DD_FIELDS (ID, NAME, TABLE_ID) values (8, 'NOTE', 2);
commit;
SQL
echo "item 1 sends CUSTOMERS (ID, NAME, CITY) and ORDERS (ID, CUSTOMER_ID -> CUSTOMERS.ID, ORDERED, QTY, NOTE)"

for db in "$SENDER" "$RECEIVER"; do
  step "Work database $(basename "$db")"
  sql <<SQL
SET SQL DIALECT 1;
CREATE DATABASE '$db' USER '$ISC_USER' PASSWORD '$ISC_PASSWORD' DEFAULT CHARACTER SET WIN1251;
create table CUSTOMERS (ID integer not null primary key, NAME varchar(60) not null, CITY varchar(40));
create table ORDERS (ID integer not null primary key,
  CUSTOMER_ID integer not null references CUSTOMERS (ID),
  ORDERED timestamp, QTY integer, NOTE varchar(200));
insert into CUSTOMERS values (1, 'Acme Ltd', 'Leeds');
insert into CUSTOMERS values (2, 'Globex', 'Springfield');
commit;
SQL
done

step "Prepare both databases"
"$CLI" prepare --db "$SENDER" --config "$CONFIG" --object-id 1
"$CLI" prepare --db "$RECEIVER" --config "$CONFIG" --object-id 2

step "Changes at the head office"
sql "$SENDER" <<'SQL'
insert into CUSTOMERS (ID, NAME, CITY) values (3, 'O''Hara & Sons "Ltd"', 'Cork');
insert into ORDERS (ID, CUSTOMER_ID, ORDERED, QTY, NOTE) values (100, 1, '2026-12-01 09:30:00', 5, 'first order');
insert into ORDERS (ID, CUSTOMER_ID, ORDERED, QTY, NOTE) values (101, 3, '2026-12-02 10:00:00', 2, 'note: urgent; 50% off');
insert into ORDERS (ID, CUSTOMER_ID, ORDERED, QTY, NOTE) values (102, 2, '2026-12-03 11:15:00', 1, 'cancelled later');
update CUSTOMERS set CITY = 'Shelbyville' where ID = 2;
update ORDERS set QTY = 7, CUSTOMER_ID = 2 where ID = 100;
delete from ORDERS where ID = 102;
commit;
SQL
"$CLI" status --db "$SENDER" --config "$CONFIG" --item 1

step "Export item 1 at the head office"
"$CLI" export --db "$SENDER" --config "$CONFIG" --item 1 --file "$DEMO/transfer.swp"
echo "transfer file: $(stat -c %s "$DEMO/transfer.swp") bytes"

step "Import at the branch"
"$CLI" import --db "$RECEIVER" --config "$CONFIG" --file "$DEMO/transfer.swp"
"$CLI" status --db "$RECEIVER"

step "Compare"
dump() {
  sql "$1" <<'SQL' | sed '/^$/d'
set heading off;
select DD_REPL_DB, DD_REPL_KEY, ID, NAME, CITY from CUSTOMERS order by ID;
select DD_REPL_DB, DD_REPL_KEY, ID, CUSTOMER_ID, cast(ORDERED as varchar(30)) as ORDERED, QTY, NOTE from ORDERS order by ID;
SQL
}
dump "$SENDER" > "$DEMO/sender.txt"
dump "$RECEIVER" > "$DEMO/receiver.txt"
cat "$DEMO/receiver.txt"
if diff -u "$DEMO/sender.txt" "$DEMO/receiver.txt"; then
  echo "The branch now holds the same customers and orders as the head office."
else
  echo "The databases differ." >&2
  exit 1
fi
