#pragma once
// Errors of the database access layer.
#include <stdexcept>
#include <string>

// An error of the access layer itself ("Dataset open.", "Empty query.", an unknown
// parameter or column name, a statement used without a database or transaction).
class EFIBError : public std::runtime_error {
public:
    explicit EFIBError(const std::string& message) : std::runtime_error(message) {}
};

// An error reported by the database server: carries the SQL code (negative) and the
// server's first error code besides the server's message text.
class EFIBInterBaseError : public EFIBError {
public:
    EFIBInterBaseError(int sqlCode, long ibErrorCode, const std::string& message)
        : EFIBError(message), SQLCode(sqlCode), IBErrorCode(ibErrorCode) {}

    int SQLCode;
    long IBErrorCode;
};
