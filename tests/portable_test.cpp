// The portable code: error epilogue and texts, path helpers, dbpfad.ini field, file
// dialog texts, the dBase table class and its code pages.
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
#include "util/codepage.h"
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
std::string errorOf(const std::function<void()>& statement) try {
    statement();
    return "";
} catch (const RuntimeError& e) {
    return std::to_string(e.number()) + " " + e.description();
}
const std::string kInvalidCall = "5 Invalid procedure call or argument", kOverflow = "6 Overflow";

TEST(Epilogue, AFailedStatementIsReportedHasNoEffectAndTheProcedureGoesOn) {
    constexpr Procedure kProc{"L", "n"};
    test::ReportRecorder recorder;
    std::string target = "before";
    EXPECT_FALSE(kProc.step([] { raise(err::FileNotFound); }));
    EXPECT_FALSE(kProc.assign(target, []() -> std::string { throw std::bad_alloc(); }));
    EXPECT_TRUE(target == "before" && kProc.assign(target, [] { return "after"s; }) &&
                target == "after");
    kProc.step([] { throw std::runtime_error("kaputt"); });
    for (const long long beyond : {32768LL, -32769LL}) kProc.step([=] { (void)toInt16(beyond); });
    EXPECT_EQ(toInt16(32767LL) + toInt16(-32768LL), -1);
    EXPECT_FALSE(quietly([] { raise(err::PathNotFound); }));  // skipped without a report
    EXPECT_EQ(reported(recorder),
              "53 File not found @L/n\n7 Out of memory @L/n\n5 kaputt @L/n\n"
              "6 Overflow @L/n\n6 Overflow @L/n\n");
}

TEST(ErrorEntry, ByteForByte) {
    EXPECT_EQ(
        composeErrorEntry({53, "File not found",
                           "Datei pr\xFC"
                           "fen",
                           2, "Follow_Kelvaro", "Error in M: Sub x", "06.12.2026", "21:42:29"}),
        "Error 53: File not found\r\n"
        "!============Error Information/Solution =============!\r\n"
        "Datei pr\xFC"
        "fen\r\n"
        "!============End of Information/Solution ============!\r\n"
        "Last DLL Error: 2\r\nError Source: Follow_Kelvaro\r\n"
        "Procedure: Error in M: Sub x\r\nDate: 06.12.2026 Time: 21:42:29\r\n");
    // Number 0 is an information message without a solution block; negative numbers are errors.
    EXPECT_EQ(composeErrorEntry({0, "Hinweis", "", 0, "", "P", "d", "t"}) +
                  composeErrorEntry({-5, "x", "", 0, "", "", "", ""}).substr(0, 12),
              "Information Message : Hinweis\r\nLast DLL Error: 0\r\nError Source: \r\n"
              "Procedure: P\r\nDate: d Time: t\r\nError -5: x\r");
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
        {5, "x", 0, 0, 0, 1},
        {53, "x", 0, 0, 1, 1},
        {7, "x", 0, 1, 0, 0},
        {5, "x", 0, 1, 1, 1},
        {5, "Out of Memory", 0, 1, 0, 0},
        {5, "Out of memory", 0, 0, 0, 1},
        {53, "Out of Memory", 0, 0, 1, 0},
        {5, "x", 1, 0, 0, 0}};
    for (const auto& [number, text, disableOK, infoOnly, information, okEnabled] : rows) {
        const ErrorEntryFields f{number, text, "Lsg", 3, "S", "P", "d", "t"};
        const ReportPlan p = planReport(f, disableOK, infoOnly);
        EXPECT_EQ(std::tuple(p.informationMode, p.logged(), p.okEnabled, p.solution + p.entry),
                  std::tuple(information, !information, okEnabled, "Lsg" + composeErrorEntry(f)))
            << number << text << disableOK << infoOnly;
    }
}

TEST(BugReport, LinkByteForByte) {
    // A solution text from error.dat that tries to leave the quoted link and add a recipient.
    const std::string details =
        "Error 5: x\r\n\" -x &cc=a@b ?#%<>\t\x7F Gr\xF6\xDF"
        "e=1\r\n";
    EXPECT_EQ(bugReportLink("FollowKelvaro", 1, 0, details, "C:\\ProgramData\\Talvorin"),
              "mailto:bugreport@talvorin.example&Subject=FollowKelvaro Fehlerbericht !"
              "&Body=ERROR%0a%0dProgrammnameFollowKelvaro 1. 0%0a%0d%0a%0d%0a%0d%0a%0d"
              "Error 5: x%0D%0A%22 -x %26cc=a@b %3F%23%25%3C%3E%09%7F Gr\xF6\xDF"
              "e=1%0D%0A"
              "%0a%0d%0a%0d&Attach=\"C:\\ProgramData\\Talvorin\\errorlog.txt\"");
    EXPECT_EQ(
        exeNameOf("C:\\a.b\\F.K.EXE") + "|" + exeNameOf("Z:/b/fk.exe") + "|" + exeNameOf("ohne"),
        "F.K|fk|ohne");
}

TEST(PathHelpers, EdgeTable) {
    // Input; completed (also written back into the caller's variable), file, folder, one up.
    // Blanks are kept, doubled separators are not collapsed, and "/" separates nothing.
    const std::tuple<std::string, std::string, std::string, std::string, std::string> rows[] = {
        {"", "\\", "", "", ""},
        {"\\", "\\", "", "\\", ""},
        {"C:", "C:\\", "C:", "", "C:"},
        {"C:\\", "C:\\", "", "C:\\", "C:"},
        {"C:\\D", "C:\\D\\", "D", "C:\\", "C:\\"},
        {"C:\\D\\", "C:\\D\\", "", "C:\\D\\", "C:\\"},
        {"\\c.x", "\\c.x\\", "c.x", "\\", "\\"},
        {"\\\\S\\a b\\\\c ", "\\\\S\\a b\\\\c \\", "c ", "\\\\S\\a b\\", "\\\\S\\a b\\"},
        {"C:/D/a.txt", "C:/D/a.txt\\", "C:/D/a.txt", "", "C:/D/a.txt"}};
    test::ReportRecorder recorder;
    for (const auto& [input, completed, file, folder, up] : rows) {
        std::string variable = input;
        const std::string result = pathcomplete(variable);
        EXPECT_EQ(std::tuple(result, variable, nurdatei(input), nurpfad(input), Pfad_hoch(input)),
                  std::tuple(completed, completed, file, folder, up))
            << input;
    }
    EXPECT_EQ(trimBlanks("  C:\\x\t  ") + trimBlanks("   "), "C:\\x\t");
    // Positions are 16-bit: the longest path that fits, and one character more.
    const std::string fits = std::string(32757, 'y') + "\\datei.txt", over = fits + "x";
    EXPECT_EQ((std::tuple{nurdatei(fits), nurdatei(over), nurpfad(over), Pfad_hoch(over)}),
              std::tuple("datei.txt", "", "", ""));
    EXPECT_EQ(reported(recorder),
              "6 Overflow @Error in y_work_together: Function nurdatei/nurdatei\n"
              "6 Overflow @Error in y_work_together: Function nurpfad/nurpfad\n"
              "6 Overflow @Error in Dateiroutinen: Function Pfad_hoch/Pfad_hoch\n");
}

TEST(DbpfadField, FirstFieldOfTheFirstLine) {
    const std::pair<std::string, std::string> rows[] = {
        {"\"C:\\P, N\\\",x\r\n", "C:\\P, N\\"},
        {"  \"  C:\\a b\\  \"\r\n", "  C:\\a b\\  "},
        {"\"C:\\o\\\r\nweiter\"", "C:\\o\\"},         // an unclosed quote ends with the line
        {" \t C:\\D\\\t ,Rest\r\n", "\t C:\\D\\\t"},  // only blanks are skipped
        {"a\nb\n", "a"},
        {"a\rb\r", "a"},
        {"\r\nb\r\n", ""},
        {"C:\\E\\", "C:\\E\\"},
        {"   ", ""}};
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

// A dBase III table: header (claiming `claimed` records, when not 0, else as many as given),
// one descriptor per field, the end byte 13, the records (each its flag byte and fields) and
// the end-of-file byte 26.
std::string dbfBytes(const Fields& fields, const std::vector<std::string>& records,
                     bool endOfFile = true, std::size_t claimed = 0) {
    std::string b = '\3' + std::string(31, '\0');
    uint64_t recordLength = 1;
    for (const auto& [name, length] : fields) {
        b += name + std::string(11 - name.size(), '\0') + 'C' + std::string(4, '\0') +
             static_cast<char>(length) + std::string(15, '\0');
        recordLength += static_cast<uint64_t>(length);
    }
    // Bytes 4 to 11, little-endian: the records (32 bits), header and record length (16 each).
    const uint64_t counts = (claimed ? claimed : records.size()) |
                            uint64_t{32 * fields.size() + 33} << 32 | recordLength << 48;
    for (int i = 0; i < 8; ++i) b[4 + i] = static_cast<char>(counts >> (8 * i));
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
        std::ofstream(path + suffix, std::ios::binary) << bytes;
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
                         table.RecordNumber(), table.bof(), table.eof(), table.RecBuf()),
              std::tuple(3, 16, 2, 0, false, false, std::string(16, ' ')));
    std::string name, type, field = "  ort ";
    int16_t length = 0;
    table.hole_feldinfo(2, name, type, length);
    EXPECT_EQ(name + type + std::to_string(length), "ORTC5");
    EXPECT_EQ(errorOf([&] { (void)table.GetData(3); }), "9 Subscript out of range");

    table.Go(2);
    table.WriteData(field, "Hamburg-Altona");  // cut to the field's 5 characters
    EXPECT_EQ(field, "ORT");
    table.WriteData(1.0, "Al");  // padded with blanks
    // Unknown names and numbers below 1 (0.5 rounds to 0) give nothing and change nothing.
    table.WriteData("STRASSE", "x"), table.WriteData(-1.0, "x");
    EXPECT_EQ(table.RecBuf(), " Al        Hambu");
    EXPECT_EQ(std::tuple(table.GetData("name"), table.GetData(2), table.GetData("STRASSE"),
                         table.GetData(0.5), table.GetData(-1)),
              std::tuple("Al", "Hambu", std::nullopt, std::nullopt, std::nullopt));
    // Field numbers are 16-bit.
    EXPECT_EQ(errorOf([&] { (void)table.GetData(40000.0); }), kOverflow);
}

TEST_F(Dbases, GoPositionsReadsWritesAndAppends) {
    open(dbfBytes(kFields, kRecords));
    // Before each step the buffer is changed: a step that reads replaces it from the file.
    const std::tuple<int32_t, int32_t, const char*> steps[] = {{2, 2, "Bernd"},
                                                               {0, 2, "neu"},
                                                               {4, 2, "neu"},
                                                               {-6, 2, "neu"},
                                                               {dbases::kFirst, 1, "Anna"},
                                                               {dbases::kPrevious, 1, "Anna"},
                                                               {dbases::kNext, 2, "Bernd"},
                                                               {dbases::kLast, 3, "Clara"},
                                                               {dbases::kPrevious, 2, "Bernd"},
                                                               {dbases::kNext, 3, "Clara"},
                                                               {dbases::kNext, 3, "Clara"}};
    for (const auto& [code, record, name] : steps) {
        table.WriteData(1, "neu"), table.Go(code);
        EXPECT_EQ(std::tuple(table.RecordNumber(), table.GetData(1), table.bof(), table.eof()),
                  std::tuple(record, name, record == 1, record == 3))
            << code;
    }
    table.WriteData("ORT", "Essen");
    table.upd();                // the last record
    table.Go(dbases::kAppend);  // a blank record over the end-of-file byte
    EXPECT_EQ(std::pair(table.RecordNumber(), table.NoRecords), std::pair(4, 4));
    EXPECT_EQ(errorOf([&] { table.UpdateNoRecords(-1); }), kInvalidCall);
    EXPECT_EQ(
        closeAndRead(),
        dbfBytes(kFields, {kRecords[0], kRecords[1], " Clara     Essen", std::string(16, ' ')},
                 false));
}

TEST_F(Dbases, NothingIsWrittenOutsideTheRecordsOrBeyondTheFile) {
    open(dbfBytes(kFields, {}));
    EXPECT_TRUE(table.eof());  // record 0 of 0
    for (const int32_t code : {dbases::kFirst, dbases::kLast, dbases::kNext})
        EXPECT_EQ(errorOf([&] { table.Go(code); }), kBadRecord) << code;
    EXPECT_EQ(errorOf([&] { table.upd(); }), kBadRecord);

    // 259 records claimed, 3 held: an append would leave a gap.
    const std::string claims = dbfBytes(kFields, kRecords, true, 259);
    open(claims);
    EXPECT_EQ(errorOf([&] { table.Go(dbases::kAppend); }), kBadRecord);
    table.Go(1);
    for (const std::size_t length : {15u, 17u})  // a buffer of another length
        EXPECT_EQ(errorOf([&] { table.setze_buffer(std::string(length, 'x')), table.upd(); }),
                  kInvalidCall)
            << length;
    EXPECT_EQ(closeAndRead(), claims);
}

TEST_F(Dbases, RefusedFilesLeaveTheTableOpenBefore) {
    const std::string good = dbfBytes(kFields, kRecords), kFormat = "321 Invalid file format";
    // `good` with the byte at `at` set to `v`.
    const auto with = [&](std::size_t at, char v) {
        auto b = good;
        b[at] = v;
        return b;
    };
    Fields many;
    for (int i = 1; i <= 256; ++i) many.push_back({"F" + std::to_string(i), 1});
    const std::tuple<const char*, std::string, std::string> refused[] = {
        {"short", good.substr(0, 20), kFormat},
        {"no end byte", good.substr(0, 96), kFormat},
        {"header length", with(8, 95), kFormat},
        {"record length", with(10, 20), kFormat},
        {"256 fields", dbfBytes(many, {}), kOverflow},
        {"2^31 records", with(7, '\x80'), kOverflow},
        {"longer header without end byte", with(8, 99).replace(96, 1, 1, '\x1f'), kFormat},
        {"2^15 record length", with(11, '\x80'), kOverflow}};
    open(good);
    for (const auto& [what, bytes, error] : refused) {
        EXPECT_EQ(errorOf([&] { table.FileOpen(write(bytes, "2")); }), error) << what;
        EXPECT_EQ((table.Go(3), table.GetData(1)), "Clara") << what;
    }
    std::filesystem::remove(path + "2");
    EXPECT_EQ(errorOf([&] { table.FileOpen(path + "2"); }), "53 File not found");
    EXPECT_FALSE(std::filesystem::exists(path + "2"));
    open(dbfBytes(Fields(many.begin(), many.end() - 1), {}));
    EXPECT_EQ(table.anzahl_felder(), 255);
}

TEST_F(Dbases, AReadOnlyTableIsReadAndRefusesEveryWrite) {
    const std::string bytes = dbfBytes(kFields, kRecords);
    table.FileOpen(write(bytes), dbases::Access::ReadOnly);
    table.Go(2);
    const std::function<void()> writes[] = {[&] { table.WriteData(1, "x"); }, [&] { table.upd(); },
                                            [&] { table.Go(dbases::kAppend); },
                                            [&] { table.UpdateNoRecords(9); }};
    for (const auto& w : writes) EXPECT_EQ(errorOf(w), "75 Path/File access error");
    EXPECT_EQ(std::tuple(table.GetData(1), table.NoRecords), std::tuple("Bernd", 3));
    EXPECT_EQ(closeAndRead(), bytes);
}

TEST_F(Dbases, ShortRecordsAndPositionsBeyond32Bits) {
    open(dbfBytes(kFields, kRecords, false).substr(0, 141));  // the last record lacks 4 bytes
    for (const int32_t to : {3, dbases::kNext}) {
        EXPECT_EQ(errorOf([&] { table.Go(2), table.Go(to); }), kPastEnd) << to;
        // No half-read record.
        EXPECT_EQ(std::tuple(table.RecordNumber(), table.GetData(1)), std::tuple(2, "Bernd")) << to;
    }
    // Record r starts at the 1-based position (r - 1) * 2 + 66: 2^31 for the last one.
    open(dbfBytes({{"A", 1}}, {}, true, 1073741792));
    EXPECT_EQ(errorOf([&] { table.Go(1073741791); }), kPastEnd);
    EXPECT_EQ(errorOf([&] { table.Go(1073741792); }), kOverflow);
}

TEST_F(Dbases, FieldNamesMatchInTheTablesCodePage) {
    // Language driver, code page the caller sets (0 for none), name asked for, field found.
    const std::tuple<char, int, const char*, int16_t> rows[] = {
        {'\x02', 0,
         "STRA\xE1"
         "E",
         1},                          // "STRAßE" as stored in code page 850
        {'\x02', 0, "m\x81ller", 2},  // "müller": ü has the capital Ü in 850
        {'\0', 0, "m\x81ller", 0},    // but not in 1252, which the driver 0 names
        {'\0', 850, "m\x81ller", 2}};
    for (const auto& [driver, codePage, name, field] : rows) {
        std::string bytes = dbfBytes({{"STRA\xE1"
                                       "E",
                                       1},
                                      {"M\x9A"
                                       "LLER",
                                       1}},
                                     {});
        bytes[29] = driver;
        open(bytes);
        if (codePage != 0) table.SetCodePage(codePage);
        EXPECT_EQ(table.FieldIndex(name), field) << name << " " << codePage;
    }
    EXPECT_EQ(errorOf([&] { table.SetCodePage(1255); }), kInvalidCall);
}

TEST(CodePage, LanguageDriversTextsAndRefusals) {
    // Language driver, text, its bytes in the driver's code page ("" when refused).
    const std::tuple<uint8_t, std::string, std::string> rows[] = {
        {0x00, "Müller €", "M\xfcller \x80"},
        {0xFE, "ß", ""},
        {0x7D, "ß", ""},
        {0x7D, "a", "a"},
        {0x01, "Müller", "M\x81ller"},
        {0x02, "€", ""},
        {0x65, "Жук", "\x86\xe3\xaa"},
        {0xC8, "Łódź",
         "\xa3\xf3"
         "d\x9f"},
        {0xCB, "Ω", "\xd9"},
        {0x57, "\xff", ""},
        {0x57, "\xc3", ""},
        {0x87, "ů", "\x85"},
        {0x86, "é", ""},
        {0x69, "é", ""}};
    for (const auto& [driver, text, bytes] : rows) {
        const int codePage = codePageOfLanguageDriver(driver);
        const CodePageText encoded = utf8ToCodePage(codePage, text);
        EXPECT_EQ(encoded.refused.empty() ? encoded.bytes : "", bytes) << text;
        EXPECT_EQ(bytes.empty() ? text : codePageToUtf8(codePage, bytes), text) << text;
    }
    // Every byte a code page defines comes back as itself; undefined ones are refused.
    for (const int codePage : {437, 850, 852, 865, 866, 1250, 1251, 1252, 1253, 1254}) {
        for (int b = 0x80; b <= 0xFF; ++b) {
            const std::string byte(1, static_cast<char>(b)), text = codePageToUtf8(codePage, byte);
            EXPECT_EQ(utf8ToCodePage(codePage, text).bytes, text == "\uFFFD" ? "" : byte) << b;
        }
    }
}

}  // namespace
}  // namespace fk
