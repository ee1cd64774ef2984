#pragma once
// The log-transport file: a flat stream of operation records (marker 1, 48-byte body)
// and value records (marker 2, 36-byte body, then the old and the new value, each
// ended by '^'). Integers are 32-bit little-endian; texts are WIN1251 bytes.
#include <cstdint>
#include <iosfwd>
#include <string>

struct TLogOperation {
    std::int32_t Id = 0;
    std::string TableName;
    char Oper = 0;
    std::int32_t DdReplDb = 0;
    std::int32_t DdReplKey = 0;
};

struct TLogValue {
    std::string FieldName;
    std::int32_t DdLogId = 0;
    std::string OldValue;
    std::string NewValue;
};

inline constexpr char kValueTerminator = '^';
inline constexpr std::size_t kOperationBodySize = 48;
inline constexpr std::size_t kValueBodySize = 36;

// Writes records; every write is checked, and a value the reader could not read back
// (one holding '^') or a name longer than 31 characters is refused with EFIBError
// before anything of that record is written.
class TLogTransportWriter {
public:
    explicit TLogTransportWriter(std::ostream& out) : FOut(out) {}
    void WriteOperation(const TLogOperation& op);
    void WriteValue(const TLogValue& value);

private:
    void Put(const char* data, std::size_t size);
    std::ostream& FOut;
};

// Reads records from the current position to the end of the stream. A record cut
// short by the end of the stream is an error (EFIBError), never a half-filled record.
class TLogTransportReader {
public:
    enum class TRecord { End, Operation, Value };
    explicit TLogTransportReader(std::istream& in) : FIn(in) {}
    TRecord Next();
    const TLogOperation& Operation() const { return FOperation; }
    const TLogValue& Value() const { return FValue; }
    // Bytes consumed so far, for error messages.
    std::uint64_t Position() const { return FPosition; }

private:
    void Read(char* data, std::size_t size, const char* what);
    std::string ReadValueString(const char* what);
    std::istream& FIn;
    std::uint64_t FPosition = 0;
    TLogOperation FOperation;
    TLogValue FValue;
};
