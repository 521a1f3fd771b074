#include <gtest/gtest.h>

#include "dbf_builder.h"
#include "errors/runtime_error.h"
#include "util/dbases.h"

namespace fk {
namespace {

using test::dbfBytes;

// NAME C 10 and ORT C 5: record length 16.
const std::vector<test::DbfField> kFields{{"NAME", 'C', 10}, {"ORT", 'C', 5}};
const std::vector<std::string> kRecords{" Anna      Kiel ", " Bernd     Ulm  ", " Clara     Bonn "};

int32_t errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

class Dbases : public ::testing::Test {
protected:
    void SetUp() override {
        path = test::writeTemp(name(), dbfBytes(kFields, kRecords)).string();
        table.FileOpen(path);
    }
    void TearDown() override {
        table.FileClose();
        std::filesystem::remove(path);
    }
    static std::string name() {
        return ::testing::UnitTest::GetInstance()->current_test_info()->name() + std::string(".dbf");
    }
    std::string path;
    dbases table;
};

TEST_F(Dbases, HeaderAndFieldPositions) {
    EXPECT_EQ(table.NoRecords, 3);
    EXPECT_EQ(table.Recordlength, 16);
    EXPECT_EQ(table.anzahl_felder(), 2);
    EXPECT_EQ(table.RecordNumber(), 0);
    std::string n, t;
    int16_t len = 0;
    table.hole_feldinfo(0, n, t, len);
    EXPECT_EQ(n + t, "");
    EXPECT_EQ(len, 2);
    table.hole_feldinfo(2, n, t, len);
    EXPECT_EQ(n, "ORT");
    EXPECT_EQ(t, "C");
    EXPECT_EQ(len, 5);
    EXPECT_EQ(errorOf([&] { table.hole_feldinfo(3, n, t, len); }), 9);
    EXPECT_EQ(errorOf([&] { table.FieldName(3); }), 9);
    EXPECT_EQ(table.RecBuf(), std::string(16, ' '));
}

TEST_F(Dbases, WriteByNameInSmallLettersPadsAndWritesTheNameBack) {
    table.Go(1);
    std::string field = "  name ";
    table.WriteData(field, "Hallo");
    EXPECT_EQ(field, "NAME");
    EXPECT_EQ(table.RecBuf(), " Hallo     Kiel ");  // positions 2-11, then 12-16
    EXPECT_EQ(table.GetData(1), "Hallo");
    table.WriteData(2, "Hamburg-Altona");  // cut to the field's 5 characters
    EXPECT_EQ(table.RecBuf(), " Hallo     Hambu");
    table.WriteData(1, "Zwoelf Zeich");
    EXPECT_EQ(table.GetData("name"), "Zwoelf Zei");
}

TEST_F(Dbases, UnknownFieldsGiveNoValueAndChangeNothing) {
    table.Go(2);
    EXPECT_EQ(table.GetData("STRASSE"), std::nullopt);
    EXPECT_EQ(table.GetData(0), std::nullopt);
    EXPECT_EQ(table.GetData(-1), std::nullopt);
    table.WriteData("STRASSE", "x");
    table.WriteData(0.0, "x");
    EXPECT_EQ(table.RecBuf(), kRecords[1]);
    EXPECT_EQ(errorOf([&] { table.GetData(3); }), 9);
    EXPECT_EQ(table.GetData(1.5), "Ulm");  // rounded like an integer conversion
    EXPECT_EQ(table.GetData(0.5), std::nullopt);
}

TEST_F(Dbases, GoCodesAtBothEnds) {
    table.Go(dbases::kFirst);
    EXPECT_TRUE(table.bof());
    EXPECT_EQ(table.GetData(1), "Anna");
    table.Go(dbases::kPrevious);  // stays on record 1 and reads it again
    EXPECT_EQ(table.RecordNumber(), 1);
    table.Go(dbases::kNext);
    EXPECT_EQ(table.GetData("ort"), "Ulm");
    table.Go(dbases::kLast);
    EXPECT_TRUE(table.eof());
    table.WriteData(1, "geaendert");
    table.Go(dbases::kNext);  // stays on the last record and reads it again
    EXPECT_EQ(table.RecordNumber(), 3);
    EXPECT_EQ(table.GetData(1), "Clara");
    for (int32_t nothing : {0, 4, 99, -6}) {
        table.Go(nothing);
        EXPECT_EQ(table.RecordNumber(), 3);
    }
}

TEST_F(Dbases, UpdWritesTheBufferBackToItsRecord) {
    table.Go(2);
    table.WriteData("ORT", "Essen");
    table.upd();
    dbases again;
    again.FileOpen(path);
    again.Go(2);
    EXPECT_EQ(again.GetData(2), "Essen");
    again.Go(3);
    EXPECT_EQ(again.RecBuf(), kRecords[2]);
}

TEST_F(Dbases, AppendWritesABlankRecordAndTheCount) {
    const std::string before = test::readAll(path);
    table.Go(dbases::kAppend);
    EXPECT_EQ(table.RecordNumber(), 4);
    EXPECT_TRUE(table.eof());
    EXPECT_EQ(table.NoRecords, 4);
    table.FileClose();
    const std::string after = test::readAll(path);
    EXPECT_EQ(after[4], 4);
    const std::size_t header = 32 * 2 + 33;
    EXPECT_EQ(after.substr(8, header - 8), before.substr(8, header - 8));  // rest of the header
    const std::size_t record4 = header + 3 * 16;
    EXPECT_EQ(after.substr(record4), std::string(16, ' '));  // over the old end-of-file byte
    EXPECT_EQ(after.substr(header, 48), before.substr(header, 48));
}

TEST_F(Dbases, OutsideTheRecordsIsBadRecordNumberAndTheHeaderStays) {
    const std::string emptyPath = test::writeTemp("empty.dbf", dbfBytes(kFields, {})).string();
    dbases empty;
    empty.FileOpen(emptyPath);
    EXPECT_TRUE(empty.eof());  // current record 0 equals the count 0
    EXPECT_EQ(errorOf([&] { empty.Go(dbases::kLast); }), 63);
    EXPECT_EQ(errorOf([&] { empty.Go(dbases::kFirst); }), 63);
    EXPECT_EQ(errorOf([&] { empty.upd(); }), 63);
    EXPECT_EQ(errorOf([&] { empty.Go(dbases::kNext); }), 63);
    empty.FileClose();
    EXPECT_EQ(test::readAll(emptyPath), dbfBytes(kFields, {}));
    std::filesystem::remove(emptyPath);
}

TEST_F(Dbases, ABufferOfAnotherLengthIsNotWritten) {
    table.Go(1);
    table.setze_buffer(std::string(40, 'x'));
    EXPECT_EQ(errorOf([&] { table.upd(); }), 5);
    table.FileClose();
    EXPECT_EQ(test::readAll(path), dbfBytes(kFields, kRecords));
}

TEST(DbasesOpen, RefusesWhatItCannotReadCorrectly) {
    const std::string good = dbfBytes(kFields, kRecords);
    std::string badHeaderLength = good;
    badHeaderLength[8] = 99;
    std::string badRecordLength = good;
    badRecordLength[10] = 20;
    std::string zeroRecordLength = dbfBytes({}, {});
    zeroRecordLength[10] = 0;
    const std::pair<const char*, std::string> cases[] = {
        {"shorter than its header", good.substr(0, 20)},
        {"no end byte", good.substr(0, 32 + 2 * 32)},
        {"header length", badHeaderLength},
        {"record length", badRecordLength},
        {"record length 0", zeroRecordLength},
    };
    const auto okPath = test::writeTemp("ok.dbf", good);
    for (const auto& [what, bytes] : cases) {
        SCOPED_TRACE(what);
        const auto path = test::writeTemp("bad.dbf", bytes);
        dbases table;
        table.FileOpen(okPath.string());
        table.Go(2);
        EXPECT_EQ(errorOf([&] { table.FileOpen(path.string()); }), 321);
        // The table open before is still open and unchanged.
        EXPECT_EQ(table.NoRecords, 3);
        table.Go(3);
        EXPECT_EQ(table.GetData(1), "Clara");
        std::filesystem::remove(path);
    }
    std::filesystem::remove(okPath);
}

TEST(DbasesOpen, MissingFileIsFileNotFoundAndNothingIsCreated) {
    const auto path = std::filesystem::temp_directory_path() / "fk_dbf_fehlt.dbf";
    std::filesystem::remove(path);
    dbases table;
    EXPECT_EQ(errorOf([&] { table.FileOpen(path.string()); }), 53);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(DbasesOpen, TooManyFieldsOverflowAndAShortRecordIsAnError) {
    std::vector<test::DbfField> many;
    for (int i = 0; i < 256; ++i) many.push_back({"F" + std::to_string(i), 'C', 1});
    const auto wide = test::writeTemp("wide.dbf", dbfBytes(many, {}));
    dbases table;
    EXPECT_EQ(errorOf([&] { table.FileOpen(wide.string()); }), 6);
    std::filesystem::remove(wide);

    std::string cut = dbfBytes(kFields, kRecords, false);
    cut.resize(cut.size() - 4);  // the last record lacks 4 bytes
    const auto path = test::writeTemp("cut.dbf", cut);
    table.FileOpen(path.string());
    table.Go(2);
    EXPECT_EQ(errorOf([&] { table.Go(3); }), 62);
    EXPECT_EQ(table.RecordNumber(), 2);
    EXPECT_EQ(table.GetData(1), "Bernd");  // not stale half-read content
    table.FileClose();
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace fk

namespace fk {
namespace {

TEST(DbasesOpen, ARecordPositionOfTwoToThe31IsAnOverflow) {
    std::string bytes = dbfBytes({{"A", 'C', 1}}, {});
    // Record r starts at the 1-based position (r - 1) * 2 + 66: 2^31 for this one.
    const uint32_t record = 1073741792;
    for (int i = 0; i < 4; ++i) bytes[4 + i] = static_cast<char>(record >> (8 * i));
    const auto path = test::writeTemp("far.dbf", bytes);
    dbases table;
    table.FileOpen(path.string());
    EXPECT_EQ(errorOf([&] { table.Go(static_cast<int32_t>(record) - 1); }), 62);
    EXPECT_EQ(errorOf([&] { table.Go(static_cast<int32_t>(record)); }), 6);
    table.FileClose();
    std::filesystem::remove(path);
}

TEST(DbasesOpen, AppendDoesNotGrowAGapWhenTheHeaderClaimsMoreRecords) {
    std::string bytes = dbfBytes(kFields, kRecords);
    bytes[5] = 1;  // the header claims 259 records; the file holds 3
    const auto path = test::writeTemp("claims.dbf", bytes);
    dbases table;
    table.FileOpen(path.string());
    EXPECT_EQ(table.NoRecords, 259);
    EXPECT_EQ(errorOf([&] { table.Go(dbases::kAppend); }), 63);
    EXPECT_EQ(errorOf([&] { table.Go(200); }), 62);
    table.FileClose();
    EXPECT_EQ(test::readAll(path), bytes);
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace fk
