// The portable code: error epilogue and texts, path helpers, dbpfad.ini field, file
// dialog texts and the dBase table class.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <new>
#include <stdexcept>

#include "errors/bug_report.h"
#include "errors/error_entry.h"
#include "files/dbpfad_field.h"
#include "files/y_work_together.h"
#include "report_recorder.h"
#include "util/dbases.h"
#include "util/dialog_text.h"

namespace fk {
namespace {

using namespace std::string_literals;

// The reports as "number description @label/name", one a line.
std::string reported(const test::ReportRecorder& recorder) {
    std::string t;
    for (const auto& r : recorder.reports)
        t += std::to_string(r.number) + " " + r.description + " @" + r.label + "/" + r.name + "\n";
    return t;
}

// "63 Bad record number" for a statement that raises it; "" when it runs through.
std::string errorOf(const std::function<void()>& statement) {
    try {
        statement();
    } catch (const RuntimeError& e) {
        return std::to_string(e.number()) + " " + e.description();
    }
    return "";
}
const std::string kInvalidCall = "5 Invalid procedure call or argument";
const std::string kOutOfRange = "9 Subscript out of range";

TEST(Epilogue, AFailedStatementIsReportedHasNoEffectAndTheProcedureGoesOn) {
    constexpr Procedure kProc{"L", "n"};
    test::ReportRecorder recorder;
    std::string target = "before";
    EXPECT_FALSE(kProc.step([] { raise(err::FileNotFound); }));
    EXPECT_FALSE(kProc.assign(target, []() -> std::string { throw std::bad_alloc(); }));
    EXPECT_EQ(target, "before");
    EXPECT_TRUE(kProc.assign(target, [] { return std::string("after"); }));
    EXPECT_EQ(target, "after");
    kProc.step([] { throw std::runtime_error("kaputt"); });
    kProc.step([] { (void)toInt16(32768LL); });
    kProc.step([] { (void)toInt16(-32769LL); });
    EXPECT_EQ(toInt16(32767LL) + toInt16(-32768LL), -1);
    EXPECT_FALSE(quietly([] { raise(err::PathNotFound); }));  // skipped without a report
    EXPECT_EQ(reported(recorder), "53 File not found @L/n\n7 Out of memory @L/n\n5 kaputt @L/n\n"
                                  "6 Overflow @L/n\n6 Overflow @L/n\n");
}

TEST(ErrorEntry, ByteForByte) {
    EXPECT_EQ(composeErrorEntry({53, "File not found", "Datei pr\xFC" "fen", 2, "Follow_Kelvaro",
                                 "Error in M: Sub x", "06.12.2026", "21:42:29"}),
              "Error 53: File not found\r\n"
              "!============Error Information/Solution =============!\r\n"
              "Datei pr\xFC" "fen\r\n"
              "!============End of Information/Solution ============!\r\n"
              "Last DLL Error: 2\r\nError Source: Follow_Kelvaro\r\n"
              "Procedure: Error in M: Sub x\r\nDate: 06.12.2026 Time: 21:42:29\r\n");
    EXPECT_EQ(composeErrorEntry({0, "Hinweis", "", 0, "", "P", "d", "t"}),
              "Information Message : Hinweis\r\nLast DLL Error: 0\r\nError Source: \r\n"
              "Procedure: P\r\nDate: d Time: t\r\n");
    EXPECT_EQ(composeErrorEntry({-5, "x", "", 0, "", "", "", ""}).substr(0, 12), "Error -5: x\r");
    EXPECT_EQ(generalInformationBlock("FollowKelvaro", "1.0.1", "C:\\T\\"),
              "===================== General Information =====================\r\n"
              "AppName: FollowKelvaro\r\nVersion: 1.0.1\r\nLocation: C:\\T\\\r\n"
              "===================== End General Information =================\r\n\r\n");
}

TEST(ReportPlan, ModeOkButtonAndLog) {
    // The file and device errors are shown as information: 52 to 72 except 55 and 66, 76, 32755.
    for (int32_t n = -1; n <= 400; ++n)
        EXPECT_EQ(isExpectedError(n), (n >= 52 && n <= 72 && n != 55 && n != 66) || n == 76) << n;
    EXPECT_TRUE(isExpectedError(32755));
    // Number, text, the caller's O&K disabling and information request; information mode, O&K.
    // Out of memory is the number 7 or exactly the text "Out of Memory".
    const std::tuple<int32_t, const char*, bool, bool, bool, bool> rows[] = {
        {5, "x", false, false, false, true}, {53, "x", false, false, true, true},
        {7, "x", false, true, false, false}, {5, "Out of Memory", false, true, false, false},
        {5, "Out of memory", false, false, false, true},
        {53, "Out of Memory", false, false, true, false}, {5, "x", false, true, true, true},
        {5, "x", true, false, false, false}};
    for (const auto& [number, text, disableOK, infoOnly, information, okEnabled] : rows) {
        SCOPED_TRACE(::testing::Message() << number << text << disableOK << infoOnly);
        const ErrorEntryFields failure{number, text, "L\xF6sung", 3, "S", "P", "d", "t"};
        const ReportPlan plan = planReport(failure, disableOK, infoOnly);
        EXPECT_EQ(std::tuple(plan.informationMode, plan.logged, plan.okEnabled),
                  std::tuple(information, !information, okEnabled));
        EXPECT_EQ(plan.solution + plan.entry, "L\xF6sung" + composeErrorEntry(failure));
    }
}

TEST(BugReport, LinkByteForByte) {
    const std::string details = "Error 5: x\r\nProcedure: A&B x=y\r\nGr\xF6\xDF" "e\r\n";
    EXPECT_EQ(bugReportLink("FollowKelvaro", 1, 0, details, "C:\\ProgramData\\Talvorin"),
              "mailto:bugreport@talvorin.example&Subject=FollowKelvaro Fehlerbericht !"
              "&Body=ERROR%0a%0dProgrammnameFollowKelvaro 1. 0%0a%0d%0a%0d%0a%0d%0a%0d" + details +
                  "%0a%0d%0a%0d&Attach=\"C:\\ProgramData\\Talvorin\\errorlog.txt\"");
    EXPECT_EQ(exeNameOf("C:\\a.b\\F.K.EXE") + "|" + exeNameOf("Z:/b/fk.exe") + "|" +
                  exeNameOf("ohne"), "F.K|fk|ohne");
}

TEST(PathHelpers, EdgeTable) {
    struct Row { std::string input, completed, file, folder, up; };
    const Row rows[] = {
        {"", "\\", "", "", ""}, {"\\", "\\", "", "\\", ""},
        {"C:", "C:\\", "C:", "", "C:"}, {"C:\\", "C:\\", "", "C:\\", "C:"},
        {"C:\\Daten", "C:\\Daten\\", "Daten", "C:\\", "C:\\"},
        {"C:\\Daten\\", "C:\\Daten\\", "", "C:\\Daten\\", "C:\\"},
        {"C:\\a b\\c.pxd ", "C:\\a b\\c.pxd \\", "c.pxd ", "C:\\a b\\", "C:\\a b\\"},
        {"\\c.pxd", "\\c.pxd\\", "c.pxd", "\\", "\\"},
        {"C:\\Daten\\\\c.pxd", "C:\\Daten\\\\c.pxd\\", "c.pxd", "C:\\Daten\\", "C:\\Daten\\"},
        {"\\\\Srv\\A\\x", "\\\\Srv\\A\\x\\", "x", "\\\\Srv\\A\\", "\\\\Srv\\A\\"},
        {"C:/Daten/a.txt", "C:/Daten/a.txt\\", "C:/Daten/a.txt", "", "C:/Daten/a.txt"},  // no "/"
    };
    test::ReportRecorder recorder;
    for (const Row& r : rows) {
        SCOPED_TRACE("input: " + r.input);
        std::string variable = r.input;
        EXPECT_EQ(pathcomplete(variable), r.completed);
        EXPECT_EQ(variable, r.completed);  // written back into the caller's variable
        EXPECT_EQ(nurdatei(r.input), r.file);
        EXPECT_EQ(nurpfad(r.input), r.folder);
        EXPECT_EQ(Pfad_hoch(r.input), r.up);
    }
    EXPECT_EQ(trimBlanks("  C:\\x\t  ") + trimBlanks("   "), "C:\\x\t");
    // Positions are 16-bit: the longest path that fits, and one character more.
    const std::string fits = std::string(32757, 'y') + "\\datei.txt";
    EXPECT_EQ(nurdatei(fits), "datei.txt");
    EXPECT_EQ(nurdatei(fits + "x"), "");
    EXPECT_EQ(nurpfad(fits + "x"), "");
    EXPECT_EQ(Pfad_hoch(fits + "x"), "");
    EXPECT_EQ(reported(recorder),
              "6 Overflow @Error in y_work_together: Function nurdatei/nurdatei\n"
              "6 Overflow @Error in y_work_together: Function nurpfad/nurpfad\n"
              "6 Overflow @Error in Dateiroutinen: Function Pfad_hoch/Pfad_hoch\n");
}

TEST(DbpfadField, FirstFieldOfTheFirstLine) {
    const std::pair<std::string, std::string> rows[] = {
        {"\"C:\\Praxis, Nord\\\",x\r\n", "C:\\Praxis, Nord\\"},
        {"  \"  C:\\mit Blanks\\  \"\r\n", "  C:\\mit Blanks\\  "},
        {"\"C:\\offen\\\r\nweiter\"", "C:\\offen\\"},  // an unclosed quote ends with the line
        {" \t C:\\Daten\\\t ,Rest\r\n", "\t C:\\Daten\\\t"},  // only blanks are skipped
        {"C:\\LF\\\nC:\\x\\\n", "C:\\LF\\"}, {"C:\\CR\\\rC:\\x\\\r", "C:\\CR\\"},
        {"\r\nC:\\zweite\\\r\n", ""}, {"C:\\Ende\\", "C:\\Ende\\"}, {"   ", ""},
    };
    for (const auto& [content, field] : rows) EXPECT_EQ(readFirstField(content), field) << content;
    EXPECT_EQ(errorOf([] { (void)readFirstField(""); }), "62 Input past end of file");
}

TEST(DialogText, FilterNullsAndPadding) {
    EXPECT_EQ(filterForPlatform("Texte|*.txt|Alle|*.*") + "|" + filterForPlatform(""),
              "Texte\0*.txt\0Alle\0*.*\0\0|\0\0"s);
    // Up to the first NUL, as after a multiple selection.
    EXPECT_EQ(trimNulls("C:\\D\0a\0b\0\0"s) + "|" + trimNulls("\0rest"s) + "|" + trimNulls("ohne"),
              "C:\\D||ohne");
    EXPECT_EQ(padWithNulls("ab", 5) + padWithNulls("abcde", 5), "ab\0\0\0abcde"s);
    EXPECT_EQ(errorOf([] { (void)padWithNulls("abcdef", 5); }), kInvalidCall);
}

using Fields = std::vector<std::pair<std::string, int>>;  // character fields: name, length

void putLittleEndian(std::string& bytes, std::size_t at, uint32_t value, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
}

// A dBase III table: header, one descriptor per field, the end byte 13, the records
// (each its flag byte and fields) and the end-of-file byte 26.
std::string dbfBytes(const Fields& fields, const std::vector<std::string>& records,
                     bool endOfFile = true) {
    std::string b = '\3' + std::string(31, '\0');
    uint32_t recordLength = 1;
    for (const auto& [name, length] : fields) {
        b += name + std::string(11 - name.size(), '\0') + 'C' + std::string(4, '\0') +
             static_cast<char>(length) + std::string(15, '\0');
        recordLength += static_cast<uint32_t>(length);
    }
    putLittleEndian(b, 4, static_cast<uint32_t>(records.size()), 4);
    putLittleEndian(b, 8, static_cast<uint32_t>(32 * fields.size() + 33), 2);
    putLittleEndian(b, 10, recordLength, 2);
    b += '\r';
    for (const auto& r : records) b += r;
    return endOfFile ? b + '\x1a' : b;
}

// NAME C 10 and ORT C 5: record length 16.
const Fields kFields{{"NAME", 10}, {"ORT", 5}};
const std::vector<std::string> kRecords{" Anna      Kiel ", " Bernd     Ulm  ", " Clara     Bonn "};
const std::string kBadRecord = "63 Bad record number", kPastEnd = "62 Input past end of file";

// Each test has its own table file `path` (and `path` + "2"), opened in `table`.
class Dbases : public ::testing::Test {
protected:
    std::string write(const std::string& bytes, const std::string& suffix = "") {
        std::ofstream(path + suffix, std::ios::binary | std::ios::trunc) << bytes;
        return path + suffix;
    }
    void open(const std::string& bytes) { table.FileClose(), table.FileOpen(write(bytes)); }
    std::string closeAndRead() {
        table.FileClose();
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void TearDown() override {
        table.FileClose();
        for (const auto& p : {path, path + "2"}) std::filesystem::remove(p);
    }
    const std::string path = std::filesystem::temp_directory_path().string() + "/fk_" +
                             ::testing::UnitTest::GetInstance()->current_test_info()->name();
    dbases table;
};

TEST_F(Dbases, HeaderFieldsAndTheBuffer) {
    open(dbfBytes(kFields, kRecords));
    EXPECT_EQ(std::tuple(table.NoRecords, table.Recordlength, table.anzahl_felder(),
                         table.RecordNumber(), table.bof(), table.eof()),
              std::tuple(3, 16, 2, 0, false, false));
    EXPECT_EQ(table.RecBuf(), std::string(16, ' '));
    std::string name, type;
    int16_t length = 0;
    table.hole_feldinfo(2, name, type, length);
    EXPECT_EQ(name + type + std::to_string(length), "ORTC5");
    EXPECT_EQ(errorOf([&] { table.hole_feldinfo(3, name, type, length); }), kOutOfRange);

    table.Go(2);
    std::string field = "  ort ";
    table.WriteData(field, "Hamburg-Altona");  // cut to the field's 5 characters
    EXPECT_EQ(field, "ORT");
    table.WriteData(1.0, "Al");  // padded with blanks
    // Unknown names and numbers below 1 (0.5 rounds to 0) give nothing and change nothing.
    table.WriteData("STRASSE", "x");
    table.WriteData(-1.0, "x");
    EXPECT_EQ(table.RecBuf(), " Al        Hambu");
    EXPECT_EQ(std::tuple(table.GetData("name"), table.GetData(2)), std::tuple("Al", "Hambu"));
    EXPECT_EQ(std::tuple(table.GetData("STRASSE"), table.GetData(0.5), table.GetData(-1)),
              std::tuple(std::nullopt, std::nullopt, std::nullopt));
    EXPECT_EQ(errorOf([&] { (void)table.GetData(3); }), kOutOfRange);
}

TEST_F(Dbases, GoPositionsReadsWritesAndAppends) {
    open(dbfBytes(kFields, kRecords));
    // Before each step the buffer is changed: a step that reads replaces it from the file.
    const std::tuple<int32_t, int32_t, const char*> steps[] = {
        {2, 2, "Bernd"}, {dbases::kLast, 3, "Clara"}, {dbases::kNext, 3, "Clara"},
        {dbases::kPrevious, 2, "Bernd"}, {dbases::kPrevious, 1, "Anna"},
        {dbases::kPrevious, 1, "Anna"}, {dbases::kNext, 2, "Bernd"}, {dbases::kFirst, 1, "Anna"},
        {dbases::kNext, 2, "Bernd"}, {0, 2, "neu"}, {4, 2, "neu"}, {-6, 2, "neu"}};
    for (const auto& [code, record, name] : steps) {
        table.WriteData(1, "neu");
        table.Go(code);
        EXPECT_EQ(table.RecordNumber(), record) << code;
        EXPECT_EQ(table.GetData(1), name) << code;
        EXPECT_EQ(std::pair(table.bof(), table.eof()), std::pair(record == 1, record == 3)) << code;
    }
    table.WriteData("ORT", "Essen");
    table.upd();
    table.Go(dbases::kAppend);  // a blank record over the end-of-file byte
    EXPECT_EQ(std::pair(table.RecordNumber(), table.NoRecords), std::pair(4, 4));
    EXPECT_EQ(errorOf([&] { table.UpdateNoRecords(-1); }), kInvalidCall);
    EXPECT_EQ(closeAndRead(), dbfBytes(kFields, {kRecords[0], " neu       Essen", kRecords[2],
                                                 std::string(16, ' ')}, false));
}

TEST_F(Dbases, NothingIsWrittenOutsideTheRecordsOrBeyondTheFile) {
    open(dbfBytes(kFields, {}));
    EXPECT_TRUE(table.eof());  // record 0 of 0
    for (const int32_t code : {dbases::kFirst, dbases::kLast, dbases::kNext})
        EXPECT_EQ(errorOf([&] { table.Go(code); }), kBadRecord) << code;
    EXPECT_EQ(errorOf([&] { table.upd(); }), kBadRecord);
    EXPECT_EQ(closeAndRead(), dbfBytes(kFields, {}));

    std::string claims = dbfBytes(kFields, kRecords);
    claims[5] = 1;  // 259 records claimed, 3 held: an append would leave a gap
    open(claims);
    EXPECT_EQ(errorOf([&] { table.Go(dbases::kAppend); }), kBadRecord);
    table.Go(1);
    for (const std::size_t length : {15u, 17u}) {  // a buffer of another length
        table.setze_buffer(std::string(length, 'x'));
        EXPECT_EQ(errorOf([&] { table.upd(); }), kInvalidCall) << length;
    }
    EXPECT_EQ(closeAndRead(), claims);
}

TEST_F(Dbases, RefusedFilesLeaveTheTableOpenBefore) {
    const std::string good = dbfBytes(kFields, kRecords);
    const auto changed = [&](std::size_t at, char value) {
        return good.substr(0, at) + value + good.substr(at + 1);
    };
    Fields many;
    for (int i = 1; i <= 256; ++i) many.push_back({"F" + std::to_string(i), 1});
    const std::tuple<const char*, std::string, std::string> refused[] = {
        {"shorter than a header", good.substr(0, 20), "321 Invalid file format"},
        {"no end byte", good.substr(0, 96), "321 Invalid file format"},
        {"header length", changed(8, 99), "321 Invalid file format"},
        {"record length", changed(10, 20), "321 Invalid file format"},
        {"256 fields", dbfBytes(many, {}), "6 Overflow"}};
    open(good);
    for (const auto& [what, bytes, error] : refused) {
        EXPECT_EQ(errorOf([&] { table.FileOpen(write(bytes, "2")); }), error) << what;
        table.Go(3);
        EXPECT_EQ(table.GetData(1), "Clara") << what;
    }
    std::filesystem::remove(path + "2");
    EXPECT_EQ(errorOf([&] { table.FileOpen(path + "2"); }), "53 File not found");
    EXPECT_FALSE(std::filesystem::exists(path + "2"));
    many.pop_back();
    open(dbfBytes(many, {}));
    EXPECT_EQ(table.anzahl_felder(), 255);
}

TEST_F(Dbases, ShortRecordsAndPositionsBeyond32Bits) {
    std::string cut = dbfBytes(kFields, kRecords, false);
    cut.resize(cut.size() - 4);  // the last record lacks 4 bytes
    open(cut);
    for (const int32_t code : {3, dbases::kNext}) {
        table.Go(2);
        EXPECT_EQ(errorOf([&] { table.Go(code); }), kPastEnd) << code;
        EXPECT_EQ(table.RecordNumber(), 2) << code;
        EXPECT_EQ(table.GetData(1), "Bernd") << code;  // no half-read record
    }
    std::string far = dbfBytes({{"A", 1}}, {});
    // Record r starts at the 1-based position (r - 1) * 2 + 66: 2^31 for the last one.
    putLittleEndian(far, 4, 1073741792, 4);
    open(far);
    EXPECT_EQ(errorOf([&] { table.Go(1073741791); }), kPastEnd);
    EXPECT_EQ(errorOf([&] { table.Go(1073741792); }), "6 Overflow");
}

}  // namespace
}  // namespace fk
