// dbases: one dBase III table file; tables of other dBase-family writers that keep
// more header after the field descriptors are read too. A one-record buffer is filled
// by positioning (Go), read and changed field by field, and written back (upd); blank
// records can be appended. Every failure reaches the caller as RuntimeError; nothing is
// shown. Needs no Windows: it builds on any host.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fk {

class dbases {
public:
    // Navigation codes of Go.
    static constexpr int32_t kFirst = -1;
    static constexpr int32_t kLast = -2;
    static constexpr int32_t kPrevious = -3;
    static constexpr int32_t kNext = -4;
    static constexpr int32_t kAppend = -5;

    dbases();
    ~dbases();
    dbases(const dbases&) = delete;
    dbases& operator=(const dbases&) = delete;

    // Public fields.
    double AccessDate = 0;  // for callers; the class neither fills nor reads it
    int32_t NoRecords = 0;
    int16_t Recordlength = 0;
    uint8_t mnFields = 0;

    uint8_t anzahl_felder() const { return mnFields; }
    void hole_feldinfo(uint8_t feldnummer, std::string& name, std::string& typ,
                       int16_t& laenge) const;
    int32_t hole_nummer() const { return current_; }
    int32_t datnummer() const { return current_; }
    void setze_buffer(std::string buffer) { buffer_ = std::move(buffer); }
    const std::string& lies_buffer() const { return buffer_; }

    // ReadOnly opens a table that cannot be written; every write through the instance
    // (WriteData, upd, an append, UpdateNoRecords) then raises "Path/File access error" (75).
    enum class Access { ReadWrite, ReadOnly };

    // Opens a table and reads its header. The records start at the header length, which
    // is 32*F+33 for F fields or, when the end byte 13 stands at 32*F+32, larger. A
    // missing file raises "File not found" (53); a file this class cannot read correctly
    // "Invalid file format" (321). The instance then stays as it was; on success a table
    // open before is closed and the code page is the one its header names.
    void FileOpen(const std::string& sPath, Access access = Access::ReadWrite);
    void FileClose();

    const std::string& RecBuf() const { return buffer_; }
    int16_t NoFields() const { return mnFields; }
    std::string FieldName(int16_t index) const;
    // The number of the field with this name, looked up as GetData does; 0 for none.
    int16_t FieldIndex(std::string_view name) const;
    // The language-driver byte of the open table's header (offset 29).
    uint8_t LanguageDriver() const { return languageDriver_; }
    // The code page of the table's text, in which field names are matched: the one the
    // language-driver byte names (codePageOfLanguageDriver) unless SetCodePage chose
    // another for this table. Many tables carry 0 or a wrong byte there.
    int CodePage() const { return codePage_; }
    // Takes the open table's text as `codePage` whatever its header says; the header is
    // not changed. A code page whose text is not converted (convertsCodePage) is refused
    // with "Invalid procedure call or argument" (5).
    void SetCodePage(int codePage);

    // A field by number, or by name (trimmed and upper-cased in the table's code page;
    // the caller's variable takes that form). No value for an unknown name or a number
    // of 0 or below.
    std::optional<std::string> GetData(double fieldNumber) const;
    std::optional<std::string> GetData(std::string& fieldName) const;
    std::optional<std::string> GetData(std::string_view fieldName) const;
    void WriteData(double fieldNumber, std::string_view vData);
    void WriteData(std::string& fieldName, std::string_view vData);
    void WriteData(std::string_view fieldName, std::string_view vData);

    // 1..NoRecords positions there; kFirst..kAppend navigate or append; others do nothing.
    void Go(int32_t nRec);
    // Writes the buffer to the current record; outside 1..NoRecords "Bad record number".
    void upd();
    void UpDate() { upd(); }
    void UpdateNoRecords(int32_t nummer);
    int32_t RecordNumber() const { return current_; }
    bool eof() const { return current_ == NoRecords; }
    bool bof() const { return current_ == 1; }

private:
    struct Field {
        std::string name;
        std::string type;
        int16_t length = 0;
        int16_t decimals = 0;
        int16_t start = 0;  // 1-based position in the record buffer
    };
    struct FileCloser {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    using File = std::unique_ptr<std::FILE, FileCloser>;

    void ReadRecord();
    int32_t SkipRecords(int32_t n);
    int16_t fieldNumber(double value) const;
    int16_t fieldNumber(std::string& name) const;
    std::optional<std::string> dataOf(int16_t field) const;
    void writeField(int16_t field, std::string_view data);
    long recordOffset(int32_t record) const;
    void writeRecordAt(int32_t record);
    const Field& field(int16_t index) const;
    void requireWritable() const;

    File file_;
    bool readOnly_ = false;
    uint8_t languageDriver_ = 0;
    int codePage_ = 1252;
    std::vector<Field> fields_;  // index 0: the flag byte's entry (length 2, start 0)
    int32_t current_ = 0;
    int32_t firstRecordPos_ = 0;  // 1-based file position of record 1
    std::string buffer_;
};

}  // namespace fk
