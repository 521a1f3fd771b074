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
using Texts = std::vector<std::string>;

// The reports as "number description @label/name".
Texts reported(const test::ReportRecorder& recorder) {
    Texts t;
    for (const auto& r : recorder.reports)
        t.push_back(std::to_string(r.number) + " " + r.description + " @" + r.label + "/" + r.name);
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
    EXPECT_EQ(target, "before");
    // Successful assignments are seen below: each path helper assigns its path's length.
    kProc.step([] { throw std::runtime_error("kaputt"); });
    for (const long long beyond : {32768LL, -32769LL}) kProc.step([=] { (void)toInt16(beyond); });
    EXPECT_EQ(toInt16(32767LL), 32767);
    EXPECT_EQ(toInt16(-32768LL), -32768);
    EXPECT_EQ(reported(recorder), (Texts{"53 File not found @L/n", "7 Out of memory @L/n",
                                         "5 kaputt @L/n", "6 Overflow @L/n", "6 Overflow @L/n"}));
}

// The file and device errors are shown as information: 52 to 72 except 55 and 66, 76, 32755.
// Out of memory (the number 7 or exactly the text "Out of Memory") disables O&K.
TEST(ReportPlan, ModeOkButtonSolutionAndEntry) {
    for (const int32_t n : {52, 72, 76, 32755}) EXPECT_TRUE(isExpectedError(n)) << n;
    for (const int32_t n : {51, 55, 66, 73}) EXPECT_FALSE(isExpectedError(n)) << n;
    // Number, text, the caller's O&K disabling and information request; information mode, O&K.
    const std::tuple<const char*, int32_t, const char*, bool, bool, bool, bool> rows[] = {
        {"error", 5, "x", 0, 0, 0, 1},
        {"expected", 53, "x", 0, 0, 1, 1},
        {"out of memory", 7, "x", 0, 1, 0, 0},
        {"information asked", 5, "x", 0, 1, 1, 1},
        {"out of memory text", 5, "Out of Memory", 0, 1, 0, 0},
        {"other case", 5, "Out of memory", 0, 0, 0, 1},
        {"expected out of memory", 53, "Out of Memory", 0, 0, 1, 0},
        {"O&K disabled", 5, "x", 1, 0, 0, 0}};
    for (const auto& [name, number, text, disableOK, infoOnly, information, okEnabled] : rows) {
        const ReportPlan p = planReport({number, text, "", 0, "", "", "", ""}, disableOK, infoOnly);
        EXPECT_EQ(p.informationMode, information) << name;
        EXPECT_EQ(p.okEnabled, okEnabled) << name;
    }
    // The solution and the entry, byte for byte.
    const ReportPlan p = planReport({-5, "x", "L\xF6sung", 2, "S", "P", "d", "t"}, false, false);
    EXPECT_EQ(p.solution, "L\xF6sung");
    EXPECT_EQ(p.entry,
              "Error -5: x\r\n!============Error Information/Solution =============!\r\n"
              "L\xF6sung\r\n!============End of Information/Solution ============!\r\n"
              "Last DLL Error: 2\r\nError Source: S\r\nProcedure: P\r\nDate: d Time: t\r\n");
    // Number 0 is an information message; without a solution there is no solution block.
    EXPECT_EQ(planReport({0, "Hinweis", "", 0, "S", "P", "d", "t"}, false, false).entry,
              "Information Message : Hinweis\r\nLast DLL Error: 0\r\nError Source: S\r\n"
              "Procedure: P\r\nDate: d Time: t\r\n");
}

TEST(BugReport, LinkByteForByte) {
    // A solution text from error.dat that tries to leave the quoted link and add a recipient.
    const std::string details = "Error 5: x\r\n\" -x &cc=a@b ?#%<>\t\x7F Gr\xF6\xDF=1\r\n";
    EXPECT_EQ(bugReportLink("FollowKelvaro", 1, 0, details, "C:\\ProgramData\\Talvorin"),
              "mailto:bugreport@talvorin.example&Subject=FollowKelvaro Fehlerbericht !"
              "&Body=ERROR%0a%0dProgrammnameFollowKelvaro 1. 0%0a%0d%0a%0d%0a%0d%0a%0d"
              "Error 5: x%0D%0A%22 -x %26cc=a@b %3F%23%25%3C%3E%09%7F Gr\xF6\xDF=1%0D%0A"
              "%0a%0d%0a%0d&Attach=\"C:\\ProgramData\\Talvorin\\errorlog.txt\"");
    EXPECT_EQ(exeNameOf("C:\\a.b\\F.K.EXE"), "F.K");
    EXPECT_EQ(exeNameOf("Z:/b/fk.exe"), "fk");
}

TEST(PathHelpers, EdgeTable) {
    // Input; completed (also written back into the caller's variable), file, folder, one up.
    // Blanks are kept, doubled separators are not collapsed, and "/" separates nothing.
    // Positions are 16-bit: the longest path that fits, and one character more.
    const std::string y = std::string(32757, 'y') + "\\", fits = y + "datei.txt", over = fits + "x";
    const std::tuple<std::string, std::string, std::string, std::string, std::string> rows[] = {
        {"", "\\", "", "", ""},
        {"\\", "\\", "", "\\", ""},
        {"C:", "C:\\", "C:", "", "C:"},
        {"C:\\", "C:\\", "", "C:\\", "C:"},
        {"C:\\D", "C:\\D\\", "D", "C:\\", "C:\\"},
        {"C:\\D\\", "C:\\D\\", "", "C:\\D\\", "C:\\"},
        {"\\c.x", "\\c.x\\", "c.x", "\\", "\\"},
        {"\\\\S\\a b\\\\c ", "\\\\S\\a b\\\\c \\", "c ", "\\\\S\\a b\\", "\\\\S\\a b\\"},
        {"C:/D/a.txt", "C:/D/a.txt\\", "C:/D/a.txt", "", "C:/D/a.txt"},
        {fits, fits + "\\", "datei.txt", y, y},
        {over, over + "\\", "", "", ""}};
    test::ReportRecorder recorder;
    for (const auto& [input, completed, file, folder, up] : rows) {
        std::string variable = input;
        EXPECT_EQ(pathcomplete(variable), completed) << '"' << input << '"';
        EXPECT_EQ(variable, completed) << '"' << input << '"';
        EXPECT_EQ(nurdatei(input), file) << '"' << input << '"';
        EXPECT_EQ(nurpfad(input), folder) << '"' << input << '"';
        EXPECT_EQ(Pfad_hoch(input), up) << '"' << input << '"';
    }
    EXPECT_EQ(reported(recorder),
              (Texts{"6 Overflow @Error in y_work_together: Function nurdatei/nurdatei",
                     "6 Overflow @Error in y_work_together: Function nurpfad/nurpfad",
                     "6 Overflow @Error in Dateiroutinen: Function Pfad_hoch/Pfad_hoch"}));
}

TEST(DbpfadField, FirstFieldOfTheFirstLine) {
    const std::pair<std::string, std::string> rows[] = {
        {"\"C:\\P, N\\\",x\r\n", "C:\\P, N\\"},
        {"  \"  C:\\a b\\  \"\r\n", "  C:\\a b\\  "},
        {"\"C:\\o\\\r\nweiter\"", "C:\\o\\"},         // an unclosed quote ends with the line
        {" \t C:\\D\\\t ,Rest\r\n", "\t C:\\D\\\t"},  // only blanks are skipped
        {"a\nb\n", "a"},
        {"\r\nb\r\n", ""},
        {"C:\\E\\", "C:\\E\\"},
        {"   ", ""}};
    for (const auto& [content, field] : rows) EXPECT_EQ(readFirstField(content), field) << content;
    EXPECT_EQ(errorOf([] { (void)readFirstField(""); }), "62 Input past end of file");
}

TEST(DialogText, FilterNullsAndPadding) {
    EXPECT_EQ(filterForPlatform("Texte|*.txt|Alle|*.*"), "Texte\0*.txt\0Alle\0*.*\0\0"s);
    // Up to the first NUL, as after a multiple selection.
    EXPECT_EQ(trimNulls("C:\\D\0a\0b\0\0"s), "C:\\D");
    EXPECT_EQ(padWithNulls("ab", 5), "ab\0\0\0"s);
    EXPECT_EQ(padWithNulls("abcde", 5), "abcde");
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

// NAME C 10 and ORT C 5: record length 16. Values lose their blanks, not a tab.
const Fields kFields{{"NAME", 10}, {"ORT", 5}};
const std::vector kRecords{" Anna      Kiel "s, " Bernd     Ulm  "s, " Clara\t    Bonn "s};
const std::string kBadRecord = "63 Bad record number", kPastEnd = "62 Input past end of file";

// Each test has its own table file `path` (and `path` + "2"), opened in `table`.
class Dbases : public ::testing::Test {
protected:
    std::string write(const std::string& bytes, const std::string& suffix = "") {
        std::ofstream(path + suffix, std::ios::binary) << bytes;
        return path + suffix;
    }
    void open(const std::string& bytes, dbases::Access access = dbases::Access::ReadWrite) {
        table.FileClose();  // before its file is written over
        table.FileOpen(write(bytes), access);
    }
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

TEST_F(Dbases, GoReadsWritesAppendsAndMatchesFieldNames) {
    open(dbfBytes(kFields, kRecords));
    EXPECT_EQ(errorOf([&] { (void)table.GetData(3); }), "9 Subscript out of range");

    table.Go(2);
    std::string field = "  ort ";
    table.WriteData(field, "Hamburg-Altona");  // cut to the field's 5 characters
    EXPECT_EQ(field, "ORT");
    table.WriteData(1.0, "Al");  // padded with blanks
    // Unknown names and numbers below 1 (0.5 rounds to 0) give nothing and change nothing.
    table.WriteData("STRASSE", "x");
    table.WriteData(-1.0, "x");
    EXPECT_EQ(table.RecBuf(), " Al        Hambu");
    EXPECT_EQ(table.GetData("name"), "Al");
    EXPECT_EQ(table.GetData(0.5), std::nullopt);
    // Field numbers are 16-bit.
    EXPECT_EQ(errorOf([&] { (void)table.GetData(40000.0); }), kOverflow);
    // Before each step the buffer is changed: a step that reads replaces it from the file.
    const std::tuple<int32_t, int32_t, const char*> steps[] = {{2, 2, "Bernd"},
                                                               {0, 2, "neu"},
                                                               {4, 2, "neu"},
                                                               {dbases::kFirst, 1, "Anna"},
                                                               {dbases::kPrevious, 1, "Anna"},
                                                               {dbases::kLast, 3, "Clara\t"},
                                                               {dbases::kPrevious, 2, "Bernd"},
                                                               {dbases::kNext, 3, "Clara\t"},
                                                               {dbases::kNext, 3, "Clara\t"}};
    for (const auto& [code, record, name] : steps) {
        table.WriteData(1, "neu");
        table.Go(code);
        EXPECT_EQ(table.RecordNumber(), record) << code;
        EXPECT_EQ(table.GetData(1), name) << code;
        EXPECT_EQ(table.bof(), record == 1) << code;
    }
    table.WriteData("ORT", "Essen");
    table.upd();                // the last record
    table.Go(dbases::kAppend);  // a blank record over the end-of-file byte
    EXPECT_EQ(table.RecordNumber(), 4);
    EXPECT_EQ(errorOf([&] { table.UpdateNoRecords(-1); }), kInvalidCall);
    EXPECT_EQ(
        closeAndRead(),
        dbfBytes(kFields, {kRecords[0], kRecords[1], " Clara\t    Essen", std::string(16, ' ')},
                 false));

    // Field names are matched in capitals of the table's code page.
    // STRAßE and MÜLLER in code page 850, which the language driver 2 names.
    open(dbfBytes({{"STRA\xE1\x45", 1}, {"M\x9ALLER", 1}}, {}).replace(29, 1, 1, '\x02'));
    EXPECT_EQ(table.FieldIndex("STRA\xE1\x45"), 1);  // ß has no capital
    EXPECT_EQ(table.FieldIndex("m\x81ller"), 2);     // ü has the capital Ü in 850
    table.SetCodePage(1252);
    EXPECT_EQ(table.FieldIndex("m\x81ller"), 0);  // but not in 1252
    EXPECT_EQ(errorOf([&] { table.SetCodePage(1255); }), kInvalidCall);
}

TEST_F(Dbases, NothingIsReadOrWrittenOutsideTheRecordsOrTheFile) {
    open(dbfBytes(kFields, {}));
    EXPECT_TRUE(table.eof());  // record 0 of 0: the end is the last record, not one beyond it
    for (const int32_t code : {dbases::kFirst, dbases::kLast, dbases::kNext})
        EXPECT_EQ(errorOf([&] { table.Go(code); }), kBadRecord) << code;
    EXPECT_EQ(errorOf([&] { table.upd(); }), kBadRecord);

    // 259 records claimed, 3 held: an append would leave a gap.
    const std::string claims = dbfBytes(kFields, kRecords, true, 259);
    open(claims);
    EXPECT_EQ(errorOf([&] { table.Go(dbases::kAppend); }), kBadRecord);
    table.Go(1);
    for (const std::size_t length : {15u, 17u}) {  // a buffer of another length
        table.setze_buffer(std::string(length, 'x'));
        EXPECT_EQ(errorOf([&] { table.upd(); }), kInvalidCall) << length;
    }
    EXPECT_EQ(closeAndRead(), claims);

    open(dbfBytes(kFields, kRecords, false).substr(0, 141));  // the last record lacks 4 bytes
    for (const int32_t to : {3, dbases::kNext}) {
        table.Go(2);
        EXPECT_EQ(errorOf([&] { table.Go(to); }), kPastEnd) << to;
        // No half-read record.
        EXPECT_EQ(table.RecordNumber(), 2) << to;
        EXPECT_EQ(table.GetData(1), "Bernd") << to;
    }
    // Record r starts at the 1-based position (r - 1) * 2 + 66: 2^31 for the last one.
    open(dbfBytes({{"A", 1}}, {}, true, 1073741792));
    EXPECT_EQ(errorOf([&] { table.Go(1073741791); }), kPastEnd);
    EXPECT_EQ(errorOf([&] { table.Go(1073741792); }), kOverflow);
}

TEST_F(Dbases, RefusedFilesAndWrites) {
    const std::string good = dbfBytes(kFields, kRecords), kFormat = "321 Invalid file format";
    // `good` with the byte at `at` set to `v`.
    const auto with = [&](int at, char v) { return std::string(good).replace(at, 1, 1, v); };
    const std::tuple<const char*, std::string, std::string> refused[] = {
        {"short", good.substr(0, 20), kFormat},
        {"no end byte", good.substr(0, 96), kFormat},
        {"header length", with(8, 95), kFormat},
        {"record length", with(10, 20), kFormat},
        {"256 fields", dbfBytes(Fields(256, {"F", 1}), {}), kOverflow},
        {"2^31 records", with(7, '\x80'), kOverflow},
        {"longer header without end byte", with(8, 99).replace(96, 1, 1, '\x1f'), kFormat},
        {"2^15 record length", with(11, '\x80'), kOverflow}};
    open(good);
    for (const auto& [what, bytes, error] : refused)
        EXPECT_EQ(errorOf([&] { table.FileOpen(write(bytes, "2")); }), error) << what;
    table.Go(3);  // the table open before is still open
    EXPECT_EQ(table.GetData(1), "Clara\t");
    std::filesystem::remove(path + "2");
    EXPECT_EQ(errorOf([&] { table.FileOpen(path + "2"); }), "53 File not found");
    open(dbfBytes(Fields(255, {"F", 1}), {}));
    EXPECT_EQ(table.anzahl_felder(), 255);

    // A table opened read-only is read and refuses every write.
    open(good, dbases::Access::ReadOnly);
    table.Go(2);
    const std::string kAccess = "75 Path/File access error";
    EXPECT_EQ(errorOf([&] { table.WriteData(1, "x"); }), kAccess);
    EXPECT_EQ(errorOf([&] { table.upd(); }), kAccess);
    EXPECT_EQ(errorOf([&] { table.Go(dbases::kAppend); }), kAccess);
    EXPECT_EQ(errorOf([&] { table.UpdateNoRecords(9); }), kAccess);
    EXPECT_EQ(table.GetData(1), "Bernd");
    EXPECT_EQ(table.NoRecords, 3);
    EXPECT_EQ(closeAndRead(), good);
}

TEST(CodePage, LanguageDriversTextsAndRefusals) {
    // Language driver, text; its bytes in the driver's code page as far as they go, and the
    // first character refused (or the first byte that is not UTF-8).
    const std::tuple<const char*, uint8_t, std::string, std::string, std::string> rows[] = {
        {"1252", 0x00, "Müller €", "M\xfcller \x80", ""},
        {"437", 0x01, "Müller", "M\x81ller", ""},
        {"850", 0x02, "Þór", "\xe8\xa2r", ""},
        {"852", 0x87, "Žďár", "\xa6\xd4\xa0r", ""},
        {"865", 0x08, "Øre", "\x9dre", ""},
        {"866", 0x65, "Жук", "\x86\xe3\xaa", ""},
        {"1250", 0xC8, "Żółw", "\xaf\xf3\xb3w", ""},
        {"1251", 0xC9, "Київ", "\xca\xe8\xbf\xe2", ""},
        {"1253", 0xCB, "Ω", "\xd9", ""},
        {"1254", 0xCA, "Ağrı", "A\xf0r\xfd", ""},
        {"not in 850", 0x02, "a€", "a", "€"},
        {"unknown driver", 0xFE, "ß", "", "ß"},
        {"1255 ASCII only", 0x7D, "aß", "a", "ß"},
        {"cut short", 0x57, "\xc3", "", "\xc3"},
        {"no continuation", 0x57, "\xc3(", "", "\xc3"},
        {"overlong 2 bytes", 0x00, "\xc1\x81", "", "\xc1"},
        {"overlong 3 bytes", 0x00, "\xe0\x82\xa9", "", "\xe0"},
        {"overlong 4 bytes", 0x00, "\xf0\x82\x82\xac", "", "\xf0"},
        {"surrogate", 0x00, "\xed\xa0\x80", "", "\xed"},
        {"largest, lead 0xF4", 0x00, "\xf4\x8f\xbf\xbf", "", "\xf4\x8f\xbf\xbf"},
        {"beyond U+10FFFF", 0x00, "\xf4\x90\x80\x80", "", "\xf4"},
        {"lead 0xF5", 0x00, "\xf5\x80\x80\x80", "", "\xf5"},
        {"lead 0xF8", 0x00, "\xf8\x90\x80\x80", "", "\xf8"},
        {"U+FFFD", 0x00, "\uFFFD", "", "\uFFFD"}};  // what undefined bytes read as
    for (const auto& [name, driver, text, bytes, refused] : rows) {
        const int codePage = codePageOfLanguageDriver(driver);
        EXPECT_EQ(utf8ToCodePage(codePage, text).bytes, bytes) << name;
        EXPECT_EQ(utf8ToCodePage(codePage, text).refused, refused) << name;
        if (!refused.empty()) continue;
        EXPECT_EQ(codePageToUtf8(codePage, bytes), text) << name;
    }
}

}  // namespace
}  // namespace fk
