#pragma once
// The replication objects of a prepared work database other than the capture triggers:
// generators, change log, temporary log, log indexes, and the add-on fields and add-on
// index of every user table. Each step reports its progress message, runs its
// statements on WorkDB / Tran through a statement object of its own and commits with
// retaining.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class TReplicator;

// Commits the work transaction with retaining (it stays active).
void CommitWork(TReplicator& r);
// Runs one statement on the work database; the text reaches the server unchanged.
void ExecWorkStatement(TReplicator& r, const std::string& sql);
// The trimmed values of column of every row of a select on the work database, read to
// the end before anything else runs.
std::vector<std::string> ListWorkValues(TReplicator& r, const std::string& sql,
                                        const std::string& column);

// Object names are limited by the server; the longest names built from a table name
// (DD_REPL_GEN_<table>, DD_REPL_<table>_IDX, DD_LOG_AI_<table><99>) add 12 characters.
inline constexpr std::size_t kMaxObjectNameLength = 31;
inline constexpr std::size_t kLongestNameAddition = 12;
// The tables whose names would make an object name too long, in list order.
std::vector<std::string> TablesWithTooLongNames(const std::vector<std::string>& tables);

// Catalog probes: true when the object exists (a view does not count as a table).
bool IndexExists(TReplicator& r, const std::string& name);
bool TableExists(TReplicator& r, const std::string& name);
bool TriggerExists(TReplicator& r, const std::string& name);

// Create steps.
void CreateLogIdGenerator(TReplicator& r);
void CreateIdGenerators(TReplicator& r);
void CreateLogTables(TReplicator& r);
void CreateLogIndex(TReplicator& r);
void CreateTempLogTables(TReplicator& r);
void CreateTempLogIndex(TReplicator& r);
void CreateTableGenerator(TReplicator& r, const std::string& table);
void CreateAddonFields(TReplicator& r, const std::string& table);
// A failure is told to the operator through ReportInformation and the preparation goes on.
void InitAddonFields(TReplicator& r, const std::string& table, std::int32_t masterId);
// Likewise; false when the index could not be created.
bool CreateAddonIndex(TReplicator& r, const std::string& table);

// Drop steps; each works on a partly prepared database too.
void DropLogIndex(TReplicator& r);
void DropTempLogIndex(TReplicator& r);
void DropIdGenerators(TReplicator& r);
void DropTableGenerators(TReplicator& r);
void DropTempLogTables(TReplicator& r);
void DropAddonIndexesAndFields(TReplicator& r);
void DropLogIdGenerator(TReplicator& r);
void DropLogTables(TReplicator& r);
