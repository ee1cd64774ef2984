#pragma once
// Creates a new database file in SQL dialect 1 with default character set WIN1251.
#include <string>

struct TFIBCreateOptions {
    std::string User = "SYSDBA";
    std::string Password = "masterkey";
    int PageSize = 8192;
    bool ForcedWrites = true;  // off makes test databases much faster
};

// Raises EFIBError when the file already exists, EFIBInterBaseError when the server refuses.
void CreateDialect1Database(const std::string& path, const TFIBCreateOptions& options = {});
