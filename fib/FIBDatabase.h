#pragma once
// A connection to one database through the Firebird client library.
#include <ibase.h>

#include <string>
#include <vector>

class TFIBTransaction;
class TFIBQuery;

class TFIBDatabase {
public:
    TFIBDatabase() = default;
    ~TFIBDatabase();
    TFIBDatabase(const TFIBDatabase&) = delete;
    TFIBDatabase& operator=(const TFIBDatabase&) = delete;

    // A path opens the file through the embedded engine; "host:path" goes to a server.
    const std::string& DatabaseName() const { return FDatabaseName; }
    void SetDatabaseName(const std::string& name);

    // Connection parameter lines: "user_name=...", "password=...", "lc_ctype=Win1251",
    // "sql_role_name=...". Callers clear and fill them before each connect.
    std::vector<std::string>& DBParams() { return FDBParams; }
    const std::vector<std::string>& DBParams() const { return FDBParams; }

    bool Connected() const { return FHandle != 0; }
    // Connecting attaches with the parameter lines; disconnecting rolls back the
    // transactions still active on this database and frees every statement on it.
    void SetConnected(bool value);
    void Open() { SetConnected(true); }
    void Close() { SetConnected(false); }

    TFIBTransaction* DefaultTransaction() const { return FDefaultTransaction; }
    void SetDefaultTransaction(TFIBTransaction* tr) { FDefaultTransaction = tr; }

    // Every statement of this layer is prepared and executed in dialect 1.
    static constexpr unsigned short SQLDialect = 1;

    isc_db_handle* Handle() { return &FHandle; }

private:
    friend class TFIBTransaction;
    friend class TFIBQuery;
    void Register(TFIBTransaction* tr);
    void Unregister(TFIBTransaction* tr);
    void Register(TFIBQuery* q);
    void Unregister(TFIBQuery* q);

    std::string FDatabaseName;
    std::vector<std::string> FDBParams;
    TFIBTransaction* FDefaultTransaction = nullptr;
    isc_db_handle FHandle = 0;
    std::vector<TFIBTransaction*> FTransactions;
    std::vector<TFIBQuery*> FQueries;
};
