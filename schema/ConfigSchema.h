#pragma once
// Installs the configuration database's tables and generators.
#include <string>
#include <vector>

class TFIBDatabase;
class TFIBTransaction;

// The statements of the configuration script, in order, comments removed.
std::vector<std::string> ConfigSchemaStatements();

// Runs the configuration script on a connected, empty database and commits.
void InstallConfigSchema(TFIBDatabase& db, TFIBTransaction& tr);

// Creates a new dialect-1 database file at path and installs the configuration script.
// Refuses (EFIBError) when the path already holds a file.
void CreateConfigDatabase(const std::string& path, const std::string& user,
                          const std::string& password, bool forcedWrites = true);
