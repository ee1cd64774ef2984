// The log-transport file's bytes, written and read back.
#include <gtest/gtest.h>

#include <sstream>

#include "engine/LogTransport.h"
#include "fib/FIBError.h"

namespace {

std::string Bytes(std::initializer_list<int> list) {
    std::string s;
    for (int b : list) s += static_cast<char>(b);
    return s;
}

std::string Padded(const std::string& text, std::size_t width) {
    return text + std::string(width - text.size(), '\0');
}

}  // namespace

TEST(LogTransportTest, WorkedUpdateIsExactly93Bytes) {
    std::ostringstream out;
    TLogTransportWriter writer(out);
    writer.WriteOperation({42, "ORDERS", 'U', 3, 157});
    writer.WriteValue({"NAME", 42, "", "Smith"});
    const std::string expected = Bytes({1, 0x2A, 0, 0, 0}) + Padded("ORDERS", 32) + Bytes({0x55, 0, 0, 0}) +
                                 Bytes({3, 0, 0, 0, 0x9D, 0, 0, 0}) + Bytes({2}) + Padded("NAME", 32) +
                                 Bytes({0x2A, 0, 0, 0}) + "^Smith^";
    EXPECT_EQ(out.str().size(), 93u);
    EXPECT_EQ(out.str(), expected);

    std::istringstream in(out.str());
    TLogTransportReader reader(in);
    ASSERT_EQ(reader.Next(), TLogTransportReader::TRecord::Operation);
    EXPECT_EQ(reader.Operation().Id, 42);
    EXPECT_EQ(reader.Operation().TableName, "ORDERS");
    EXPECT_EQ(reader.Operation().Oper, 'U');
    EXPECT_EQ(reader.Operation().DdReplDb, 3);
    EXPECT_EQ(reader.Operation().DdReplKey, 157);
    ASSERT_EQ(reader.Next(), TLogTransportReader::TRecord::Value);
    EXPECT_EQ(reader.Value().FieldName, "NAME");
    EXPECT_EQ(reader.Value().DdLogId, 42);
    EXPECT_EQ(reader.Value().OldValue, "");
    EXPECT_EQ(reader.Value().NewValue, "Smith");
    EXPECT_EQ(reader.Next(), TLogTransportReader::TRecord::End);
}

TEST(LogTransportTest, EdgeLayouts) {
    std::ostringstream out;
    TLogTransportWriter writer(out);
    const std::string name31(31, 'N');
    writer.WriteOperation({-7, name31, 'D', -1, 2147483647});  // a delete: 49 bytes
    EXPECT_EQ(out.str().size(), 49u);
    EXPECT_EQ(out.str()[1 + 4 + 30], 'N');
    EXPECT_EQ(out.str()[1 + 4 + 31], '\0');  // the zero in the name field's last byte
    writer.WriteValue({name31, -7, "", ""});  // both values empty: 5E 5E
    EXPECT_EQ(out.str().substr(49 + 37), "^^");

    std::istringstream in(out.str());
    TLogTransportReader reader(in);
    ASSERT_EQ(reader.Next(), TLogTransportReader::TRecord::Operation);
    EXPECT_EQ(reader.Operation().Id, -7);
    EXPECT_EQ(reader.Operation().TableName, name31);
    EXPECT_EQ(reader.Operation().DdReplDb, -1);
    EXPECT_EQ(reader.Operation().DdReplKey, 2147483647);
    ASSERT_EQ(reader.Next(), TLogTransportReader::TRecord::Value);
    EXPECT_EQ(reader.Value().FieldName, name31);
    EXPECT_EQ(reader.Next(), TLogTransportReader::TRecord::End);

    std::istringstream empty("");
    EXPECT_EQ(TLogTransportReader(empty).Next(), TLogTransportReader::TRecord::End);
}

TEST(LogTransportTest, ReaderFollowsTheFormatsLooseRules) {
    // Residue after the terminating zero is ignored, OPER is its first byte alone, and
    // any marker other than 1 starts a value record.
    const std::string op = Bytes({1, 5, 0, 0, 0}) + "T" + std::string(1, '\0') + std::string(30, 'x') + "Ixyz" +
                           Bytes({1, 0, 0, 0, 2, 0, 0, 0});
    const std::string value =
        Bytes({9}) + "F" + std::string(1, '\0') + std::string(30, 'r') + Bytes({5, 0, 0, 0}) + "old^new^";
    std::istringstream in(op + value);
    TLogTransportReader reader(in);
    ASSERT_EQ(reader.Next(), TLogTransportReader::TRecord::Operation);
    EXPECT_EQ(reader.Operation().TableName, "T");
    EXPECT_EQ(reader.Operation().Oper, 'I');
    ASSERT_EQ(reader.Next(), TLogTransportReader::TRecord::Value);
    EXPECT_EQ(reader.Value().FieldName, "F");
    EXPECT_EQ(reader.Value().OldValue, "old");
    EXPECT_EQ(reader.Value().NewValue, "new");
}

TEST(LogTransportTest, ATruncatedFileIsAnErrorNotAHalfRecord) {
    std::ostringstream out;
    TLogTransportWriter writer(out);
    writer.WriteOperation({1, "T", 'I', 1, 1});
    writer.WriteValue({"F", 1, "", "value"});
    const std::string whole = out.str();
    for (std::size_t cut : {std::size_t{10}, std::size_t{49 + 20}, whole.size() - 3, whole.size() - 1}) {
        std::istringstream in(whole.substr(0, cut));
        TLogTransportReader reader(in);
        EXPECT_THROW(
            {
                while (reader.Next() != TLogTransportReader::TRecord::End) {
                }
            },
            EFIBError)
            << "cut at " << cut;
    }
}

TEST(LogTransportTest, WriterRefusesWhatCannotTravel) {
    std::ostringstream out;
    TLogTransportWriter writer(out);
    EXPECT_THROW(writer.WriteValue({"F", 1, "a^b", ""}), EFIBError);
    EXPECT_THROW(writer.WriteOperation({1, std::string(32, 'T'), 'I', 1, 1}), EFIBError);
    EXPECT_EQ(out.str(), "");  // nothing of a refused record was written

    std::ostringstream full;
    full.setstate(std::ios::badbit);  // a stream that cannot take more, like a full disk
    TLogTransportWriter failing(full);
    EXPECT_THROW(failing.WriteOperation({1, "T", 'D', 1, 1}), EFIBError);
}
