#include "util/dbases.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <algorithm>

#include "base/runtime_error.h"
#include "base/text.h"
#include "util/codepage.h"

namespace fk {
namespace {

constexpr int kDescriptorSize = 32;

uint32_t le32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t le16(const unsigned char* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

std::string fieldNameOf(const unsigned char* descriptor) {
    std::string name = trimBlanks(std::string_view(reinterpret_cast<const char*>(descriptor), 11));
    while (!name.empty() && static_cast<unsigned char>(name.back()) < 32) name.pop_back();
    return name;
}

}  // namespace

dbases::dbases() : fields_{Field{"", "", 2, 0, 0}} {}

dbases::~dbases() {
    FileClose();
}

void dbases::FileOpen(const std::string& sPath, Access access) {
    errno = 0;
    File file(std::fopen(sPath.c_str(), access == Access::ReadOnly ? "rb" : "r+b"));
    if (!file) raise(errno == ENOENT ? err::FileNotFound : err::PathFileAccessError);
    std::FILE* f = file.get();

    unsigned char head[kDescriptorSize];
    if (std::fread(head, 1, sizeof head, f) != sizeof head) raise(err::InvalidFileFormat);
    const uint32_t records = le32(head + 4);
    const uint16_t headerLength = le16(head + 8);
    const uint16_t recordLength = le16(head + 10);
    if (records > static_cast<uint32_t>(INT32_MAX) || recordLength > INT16_MAX) {
        raise(err::Overflow);
    }

    std::vector<Field> fields{Field{"", "", 2, 0, 0}};
    unsigned char d[kDescriptorSize];
    for (;;) {
        const std::size_t got = std::fread(d, 1, sizeof d, f);
        if (got >= 1 && d[0] <= 31) break;  // the end byte (13) ends the descriptors
        if (got < sizeof d) raise(err::InvalidFileFormat);  // no end byte in the file
        if (fields.size() > UINT8_MAX) raise(err::Overflow);
        const Field& previous = fields.back();
        fields.push_back({fieldNameOf(d), trimBlanks(std::string(1, static_cast<char>(d[11]))),
                          d[16], d[17], toInt16(previous.start + 0LL + previous.length)});
    }
    const auto count = static_cast<int>(fields.size() - 1);
    long long sum = 0;
    for (std::size_t i = 1; i < fields.size(); ++i) sum += fields[i].length;
    // dBase III records start right after the descriptors, at 32*F+33. Other writers put
    // more after the end byte 13 (Visual FoxPro 263 bytes, some one padding byte) and say
    // where the records start in the header length. Any other header length, or records
    // that are not 1 + the field lengths, would put every record in the wrong place.
    const int descriptorsEnd = kDescriptorSize * count + 33;
    if (headerLength < descriptorsEnd || (headerLength > descriptorsEnd && d[0] != 13) ||
        recordLength == 0 || recordLength != sum + 1) {
        raise(err::InvalidFileFormat);
    }

    file_ = std::move(file);  // closes a table opened before
    readOnly_ = access == Access::ReadOnly;
    languageDriver_ = head[29];
    codePage_ = codePageOfLanguageDriver(languageDriver_);
    fields_ = std::move(fields);
    mnFields = static_cast<uint8_t>(count);
    NoRecords = static_cast<int32_t>(records);
    Recordlength = static_cast<int16_t>(recordLength);
    buffer_.assign(static_cast<std::size_t>(Recordlength), ' ');
    firstRecordPos_ = headerLength + 1;
}

void dbases::SetCodePage(int codePage) {
    if (!convertsCodePage(codePage)) raise(err::InvalidProcedureCall);
    codePage_ = codePage;
}

void dbases::FileClose() {
    file_.reset();
    readOnly_ = false;
}

void dbases::requireWritable() const {
    if (readOnly_) raise(err::PathFileAccessError);
}

const dbases::Field& dbases::field(int16_t index) const {
    if (index < 0 || index > mnFields || static_cast<std::size_t>(index) >= fields_.size()) {
        raise(err::SubscriptOutOfRange);
    }
    return fields_[static_cast<std::size_t>(index)];
}

void dbases::hole_feldinfo(uint8_t feldnummer, std::string& name, std::string& typ,
                           int16_t& laenge) const {
    const Field& f = field(feldnummer);
    name = f.name;
    typ = f.type;
    laenge = f.length;
}

std::string dbases::FieldName(int16_t index) const {
    return field(index).name;
}

int16_t dbases::fieldNumber(double value) const {
    // Rounded like a 16-bit integer conversion: halves go to the even number.
    const double rounded = std::nearbyint(value);
    if (!(rounded >= INT16_MIN && rounded <= INT16_MAX)) raise(err::Overflow);
    return static_cast<int16_t>(rounded);
}

// Names are compared in capitals of the table's code page, so a name written as the
// table holds it always finds its field.
int16_t dbases::fieldNumber(std::string& name) const {
    name = upperCaseIn(codePage_, trimBlanks(name));
    const auto known = static_cast<int>(std::min<std::size_t>(mnFields, fields_.size() - 1));
    for (int16_t i = 1; i <= known; ++i) {
        if (upperCaseIn(codePage_, fields_[static_cast<std::size_t>(i)].name) == name) return i;
    }
    return 0;
}

int16_t dbases::FieldIndex(std::string_view name) const {
    std::string key(name);
    return fieldNumber(key);
}

std::optional<std::string> dbases::dataOf(int16_t index) const {
    if (index <= 0) return std::nullopt;
    const Field& f = field(index);
    const auto at = static_cast<std::size_t>(f.start - 1);
    if (at >= buffer_.size()) return std::string();
    return trimBlanks(std::string_view(buffer_).substr(at, static_cast<std::size_t>(f.length)));
}

std::optional<std::string> dbases::GetData(double fieldNumberValue) const {
    return dataOf(fieldNumber(fieldNumberValue));
}

std::optional<std::string> dbases::GetData(std::string& fieldName) const {
    return dataOf(fieldNumber(fieldName));
}

std::optional<std::string> dbases::GetData(std::string_view fieldName) const {
    std::string name(fieldName);
    return GetData(name);
}

void dbases::writeField(int16_t index, std::string_view data) {
    requireWritable();
    if (index <= 0) return;
    const Field& f = field(index);
    std::string text(data.substr(0, static_cast<std::size_t>(f.length)));
    text.resize(static_cast<std::size_t>(f.length), ' ');
    const auto at = static_cast<std::size_t>(f.start - 1);
    if (at >= buffer_.size()) return;
    buffer_.replace(at, std::min(text.size(), buffer_.size() - at),
                    text.substr(0, buffer_.size() - at));
}

void dbases::WriteData(double fieldNumberValue, std::string_view vData) {
    writeField(fieldNumber(fieldNumberValue), vData);
}

void dbases::WriteData(std::string& fieldName, std::string_view vData) {
    writeField(fieldNumber(fieldName), vData);
}

void dbases::WriteData(std::string_view fieldName, std::string_view vData) {
    std::string name(fieldName);
    WriteData(name, vData);
}

long dbases::recordOffset(int32_t record) const {
    const long long offset =
        (static_cast<long long>(record) - 1) * Recordlength + (firstRecordPos_ - 1);
    // Positions are 1-based 32-bit numbers: the last byte offset is one below.
    if (offset < 0 || offset >= INT32_MAX) raise(err::Overflow);
    return static_cast<long>(offset);
}

void dbases::ReadRecord() {
    if (!file_) raise(err::BadFileNameOrNumber);
    if (current_ < 1 || current_ > NoRecords) raise(err::BadRecordNumber);
    std::string record(static_cast<std::size_t>(Recordlength), ' ');
    if (std::fseek(file_.get(), recordOffset(current_), SEEK_SET) != 0) raise(err::DeviceIoError);
    // A record that the file does not hold in full is an error, never stale content.
    if (std::fread(record.data(), 1, record.size(), file_.get()) != record.size()) {
        raise(err::InputPastEndOfFile);
    }
    buffer_ = std::move(record);
}

void dbases::writeRecordAt(int32_t record) {
    if (!file_) raise(err::BadFileNameOrNumber);
    // Exactly one record's bytes: a buffer of another length would spill into the
    // neighbouring record.
    if (buffer_.size() != static_cast<std::size_t>(Recordlength)) {
        raise(err::InvalidProcedureCall);
    }
    const long offset = recordOffset(record);
    // A record is written only where the file holds the records before it: a header
    // that claims more records than the file has must not make it grow a gap.
    if (std::fseek(file_.get(), 0, SEEK_END) != 0) raise(err::DeviceIoError);
    if (std::ftell(file_.get()) < offset) raise(err::BadRecordNumber);
    if (std::fseek(file_.get(), offset, SEEK_SET) != 0) raise(err::DeviceIoError);
    if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_.get()) != buffer_.size() ||
        std::fflush(file_.get()) != 0) {
        raise(err::DeviceIoError);
    }
}

void dbases::upd() {
    requireWritable();
    if (current_ < 1 || current_ > NoRecords) raise(err::BadRecordNumber);
    writeRecordAt(current_);
}

int32_t dbases::SkipRecords(int32_t n) {
    const long long target = static_cast<long long>(current_) + n;
    const int32_t before = current_;
    int32_t moved = 0;
    if (!((n < 0 && target < 1) || (n >= 0 && target > NoRecords))) {
        current_ = static_cast<int32_t>(target);
        moved = n;
    }
    try {
        ReadRecord();
    } catch (...) {
        current_ = before;  // a failed read leaves the position as it was
        throw;
    }
    return moved;
}

void dbases::Go(int32_t nRec) {
    if (nRec >= 1 && nRec <= NoRecords) {
        const int32_t before = current_;
        current_ = nRec;
        try {
            ReadRecord();
        } catch (...) {
            current_ = before;
            throw;
        }
        return;
    }
    switch (nRec) {
        case kFirst:
        case kLast:
            if (NoRecords < 1) raise(err::BadRecordNumber);
            Go(nRec == kFirst ? 1 : NoRecords);
            break;
        case kPrevious:
            SkipRecords(-1);
            break;
        case kNext:
            SkipRecords(1);
            break;
        case kAppend: {
            requireWritable();
            if (NoRecords == INT32_MAX) raise(err::Overflow);
            buffer_.assign(static_cast<std::size_t>(Recordlength), ' ');
            const int32_t next = NoRecords + 1;
            writeRecordAt(next);
            current_ = next;
            NoRecords = next;
            UpdateNoRecords(0);
            break;
        }
        default:
            break;  // 0, beyond the records, or below -5: nothing
    }
}

void dbases::UpdateNoRecords(int32_t nummer) {
    if (!file_) raise(err::BadFileNameOrNumber);
    requireWritable();
    if (nummer < 0) raise(err::InvalidProcedureCall);
    const int32_t count = nummer != 0 ? nummer : NoRecords;
    const auto u = static_cast<uint32_t>(count);
    const unsigned char bytes[4] = {
        static_cast<unsigned char>(u), static_cast<unsigned char>(u >> 8),
        static_cast<unsigned char>(u >> 16), static_cast<unsigned char>(u >> 24)};
    if (std::fseek(file_.get(), 4, SEEK_SET) != 0 ||
        std::fwrite(bytes, 1, sizeof bytes, file_.get()) != sizeof bytes ||
        std::fflush(file_.get()) != 0) {
        raise(err::DeviceIoError);
    }
    NoRecords = count;
}

}  // namespace fk
