#include "engine/LogTransport.h"

#include <cstring>
#include <istream>
#include <ostream>

#include "fib/FIBError.h"

namespace {

constexpr std::size_t kNameWidth = 32;

void PutInt(char* at, std::int32_t value) {
    const auto u = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) at[i] = static_cast<char>((u >> (8 * i)) & 0xFF);
}

std::int32_t GetInt(const char* at) {
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i) u |= static_cast<std::uint32_t>(static_cast<unsigned char>(at[i])) << (8 * i);
    return static_cast<std::int32_t>(u);
}

void PutName(char* at, const std::string& name, const char* what) {
    if (name.size() >= kNameWidth)
        throw EFIBError(std::string(what) + " \"" + name + "\" is longer than 31 characters");
    std::memcpy(at, name.data(), name.size());
}

std::string GetName(const char* at) {
    return std::string(at, strnlen(at, kNameWidth));
}

}  // namespace

void TLogTransportWriter::Put(const char* data, std::size_t size) {
    FOut.write(data, static_cast<std::streamsize>(size));
    if (!FOut) throw EFIBError("Write to the log-transport file failed (disk full?)");
}

void TLogTransportWriter::WriteOperation(const TLogOperation& op) {
    char record[1 + kOperationBodySize] = {};
    record[0] = 1;
    PutInt(record + 1, op.Id);
    PutName(record + 5, op.TableName, "Table name");
    record[37] = op.Oper;
    PutInt(record + 41, op.DdReplDb);
    PutInt(record + 45, op.DdReplKey);
    Put(record, sizeof record);
}

void TLogTransportWriter::WriteValue(const TLogValue& value) {
    char record[1 + kValueBodySize] = {};
    record[0] = 2;
    PutName(record + 1, value.FieldName, "Field name");
    PutInt(record + 33, value.DdLogId);
    if (value.OldValue.find(kValueTerminator) != std::string::npos ||
        value.NewValue.find(kValueTerminator) != std::string::npos)
        throw EFIBError("Value of field \"" + value.FieldName + "\" holds the character \"^\"");
    std::string strings;
    strings.reserve(value.OldValue.size() + value.NewValue.size() + 2);
    strings += value.OldValue;
    strings += kValueTerminator;
    strings += value.NewValue;
    strings += kValueTerminator;
    Put(record, sizeof record);
    Put(strings.data(), strings.size());
}

void TLogTransportReader::Read(char* data, std::size_t size, const char* what) {
    FIn.read(data, static_cast<std::streamsize>(size));
    const auto got = static_cast<std::size_t>(FIn.gcount());
    FPosition += got;
    if (got != size)
        throw EFIBError(std::string("The log-transport file ends inside ") + what + " at byte " +
                        std::to_string(FPosition));
}

std::string TLogTransportReader::ReadValueString(const char* what) {
    std::string value;
    std::getline(FIn, value, kValueTerminator);
    FPosition += value.size();
    if (FIn.eof())
        throw EFIBError(std::string("The log-transport file ends inside ") + what + " at byte " +
                        std::to_string(FPosition));
    ++FPosition;  // the terminator
    return value;
}

TLogTransportReader::TRecord TLogTransportReader::Next() {
    const int marker = FIn.get();
    if (marker == std::char_traits<char>::eof()) return TRecord::End;
    ++FPosition;
    if (marker == 1) {
        char body[kOperationBodySize];
        Read(body, sizeof body, "an operation record");
        FOperation.Id = GetInt(body);
        FOperation.TableName = GetName(body + 4);
        FOperation.Oper = body[36];
        FOperation.DdReplDb = GetInt(body + 40);
        FOperation.DdReplKey = GetInt(body + 44);
        return TRecord::Operation;
    }
    // Any other marker is read as a value record.
    char body[kValueBodySize];
    Read(body, sizeof body, "a value record");
    FValue.FieldName = GetName(body);
    FValue.DdLogId = GetInt(body + 32);
    FValue.OldValue = ReadValueString("an old value");
    FValue.NewValue = ReadValueString("a new value");
    return TRecord::Value;
}
