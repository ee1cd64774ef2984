/* Configuration database of Quillon: the databases taking part, replication items,
   data flows with their tables and fields, export conditions and export history.
   Dialect 1: DATE carries date and time, double quotes delimit string literals. */

create table DD_OBJECTS (
  ID integer not null,
  NAME varchar(50) not null,
  constraint PK_DD_OBJECTS primary key (ID)
);

create table DD_REPL_ITEMS (
  ID integer not null,
  DESCR varchar(50) not null,
  PUBLISHER_ID integer not null,
  SUBSCRIBER_ID integer not null,
  constraint PK_DD_REPL_ITEMS primary key (ID),
  constraint FK_DD_REPL_ITEMS_PUBLISHER foreign key (PUBLISHER_ID) references DD_OBJECTS (ID),
  constraint FK_DD_REPL_ITEMS_SUBSCRIBER foreign key (SUBSCRIBER_ID) references DD_OBJECTS (ID)
);

create table DD_PUBLICATIONS (
  ID integer not null,
  NAME varchar(250),
  constraint PK_DD_PUBLICATIONS primary key (ID)
);

create table DD_SUBSCRIPTIONS (
  ID integer not null,
  PUBLICATION_ID integer not null,
  REP_ITEM_ID integer not null,
  constraint PK_DD_SUBSCRIPTIONS primary key (ID),
  constraint FK_DD_SUBSCRIPTIONS_PUBL foreign key (PUBLICATION_ID) references DD_PUBLICATIONS (ID),
  constraint FK_DD_SUBSCRIPTIONS_ITEM foreign key (REP_ITEM_ID) references DD_REPL_ITEMS (ID)
);

create table DD_TABLES (
  ID integer not null,
  NAME varchar(31) not null,
  PUBLICATION_ID integer not null,
  GEN_NAME varchar(31),
  constraint PK_DD_TABLES primary key (ID),
  constraint UQ_DD_TABLES_NAME unique (PUBLICATION_ID, NAME),
  constraint FK_DD_TABLES_PUBL foreign key (PUBLICATION_ID) references DD_PUBLICATIONS (ID)
);

create table DD_FIELDS (
  ID integer not null,
  NAME varchar(31) not null,
  TABLE_ID integer not null,
  REF_TABLE_NAME varchar(31),
  REF_FIELD_NAME varchar(31),
  constraint PK_DD_FIELDS primary key (ID),
  constraint UQ_DD_FIELDS_NAME unique (TABLE_ID, NAME),
  constraint FK_DD_FIELDS_TABLE foreign key (TABLE_ID) references DD_TABLES (ID)
);

create table DD_REPL_CONDITIONS (
  ID integer not null,
  REPL_ITEMS_ID integer not null,
  TABLE_NAME varchar(31) not null,
  COND_TEXT varchar(32000),
  constraint PK_DD_REPL_CONDITIONS primary key (ID),
  constraint FK_DD_REPL_CONDITIONS_ITEM foreign key (REPL_ITEMS_ID) references DD_REPL_ITEMS (ID)
);

create table DD_REPL_HISTORY (
  ID integer not null,
  BEG_LOG_ID integer not null,
  END_LOG_ID integer not null,
  REPL_DATE date not null,
  REPL_ITEM_ID integer not null,
  constraint PK_DD_REPL_HISTORY primary key (ID),
  constraint FK_DD_REPL_HISTORY_ITEM foreign key (REPL_ITEM_ID) references DD_REPL_ITEMS (ID)
);

/* The export reads an item's newest history row first. */
create descending index DD_REPL_HISTORY_ITEM_DATE on DD_REPL_HISTORY (REPL_ITEM_ID, REPL_DATE);

create generator GEN_DD_REPL_ITEMS_KOD;
create generator GEN_DD_SUBSCRIPTIONS_KOD;
create generator GEN_PUBLICATIONS_KOD;
create generator GEN_DD_TABLES_KOD;
create generator GEN_DD_FIELDS_KOD;
create generator GEN_DD_REPL_CONDITIONS_KOD;
create generator GEN_DD_REPL_HISTORY_KOD;
