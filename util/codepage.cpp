#include "util/codepage.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace fk {
namespace {

// Bytes 0x80 to 0xFF of each code page (0x00 to 0x7F are ASCII in all of them); "�"
// marks a byte the code page leaves undefined.
struct CodePage {
    int number;
    std::u16string_view upper;
};
constexpr CodePage kCodePages[] = {
    {437,
     u"ÇüéâäàåçêëèïîìÄÅÉæÆôöòûùÿÖÜ¢£¥₧ƒ"
     u"áíóúñÑªº¿⌐¬½¼¡«»░▒▓│┤╡╢╖╕╣║╗╝╜╛┐"
     u"└┴┬├─┼╞╟╚╔╩╦╠═╬╧╨╤╥╙╘╒╓╫╪┘┌█▄▌▐▀"
     u"αßΓπΣσµτΦΘΩδ∞φε∩≡±≥≤⌠⌡÷≈°∙·√ⁿ²■\u00A0"},
    {850,
     u"ÇüéâäàåçêëèïîìÄÅÉæÆôöòûùÿÖÜø£Ø×ƒ"
     u"áíóúñÑªº¿®¬½¼¡«»░▒▓│┤ÁÂÀ©╣║╗╝¢¥┐"
     u"└┴┬├─┼ãÃ╚╔╩╦╠═╬¤ðÐÊËÈıÍÎÏ┘┌█▄¦Ì▀"
     u"ÓßÔÒõÕµþÞÚÛÙýÝ¯´\u00AD±‗¾¶§÷¸°¨·¹³²■\u00A0"},
    {852,
     u"ÇüéâäůćçłëŐőîŹÄĆÉĹĺôöĽľŚśÖÜŤťŁ×č"
     u"áíóúĄąŽžĘę¬źČş«»░▒▓│┤ÁÂĚŞ╣║╗╝Żż┐"
     u"└┴┬├─┼Ăă╚╔╩╦╠═╬¤đĐĎËďŇÍÎě┘┌█▄ŢŮ▀"
     u"ÓßÔŃńňŠšŔÚŕŰýÝţ´\u00AD˝˛ˇ˘§÷¸°¨˙űŘř■\u00A0"},
    {865,
     u"ÇüéâäàåçêëèïîìÄÅÉæÆôöòûùÿÖÜø£Ø₧ƒ"
     u"áíóúñÑªº¿⌐¬½¼¡«¤░▒▓│┤╡╢╖╕╣║╗╝╜╛┐"
     u"└┴┬├─┼╞╟╚╔╩╦╠═╬╧╨╤╥╙╘╒╓╫╪┘┌█▄▌▐▀"
     u"αßΓπΣσµτΦΘΩδ∞φε∩≡±≥≤⌠⌡÷≈°∙·√ⁿ²■\u00A0"},
    {866,
     u"АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ"
     u"абвгдежзийклмноп░▒▓│┤╡╢╖╕╣║╗╝╜╛┐"
     u"└┴┬├─┼╞╟╚╔╩╦╠═╬╧╨╤╥╙╘╒╓╫╪┘┌█▄▌▐▀"
     u"рстуфхцчшщъыьэюяЁёЄєЇїЎў°∙·√№¤■\u00A0"},
    {1250,
     u"€�‚�„…†‡�‰Š‹ŚŤŽŹ�‘’“”•–—�™š›śťžź"
     u"\u00A0ˇ˘Ł¤Ą¦§¨©Ş«¬\u00AD®Ż°±˛ł´µ¶·¸ąş»Ľ˝ľż"
     u"ŔÁÂĂÄĹĆÇČÉĘËĚÍÎĎĐŃŇÓÔŐÖ×ŘŮÚŰÜÝŢß"
     u"ŕáâăäĺćçčéęëěíîďđńňóôőö÷řůúűüýţ˙"},
    {1251,
     u"ЂЃ‚ѓ„…†‡€‰Љ‹ЊЌЋЏђ‘’“”•–—�™љ›њќћџ"
     u"\u00A0ЎўЈ¤Ґ¦§Ё©Є«¬\u00AD®Ї°±Ііґµ¶·ё№є»јЅѕї"
     u"АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ"
     u"абвгдежзийклмнопрстуфхцчшщъыьэюя"},
    {1252,
     u"€�‚ƒ„…†‡ˆ‰Š‹Œ�Ž��‘’“”•–—˜™š›œ�žŸ"
     u"\u00A0¡¢£¤¥¦§¨©ª«¬\u00AD®¯°±²³´µ¶·¸¹º»¼½¾¿"
     u"ÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖ×ØÙÚÛÜÝÞß"
     u"àáâãäåæçèéêëìíîïðñòóôõö÷øùúûüýþÿ"},
    {1253,
     u"€�‚ƒ„…†‡�‰�‹�����‘’“”•–—�™�›����"
     u"\u00A0΅Ά£¤¥¦§¨©�«¬\u00AD®―°±²³΄µ¶·ΈΉΊ»Ό½ΎΏ"
     u"ΐΑΒΓΔΕΖΗΘΙΚΛΜΝΞΟΠΡ�ΣΤΥΦΧΨΩΪΫάέήί"
     u"ΰαβγδεζηθικλμνξοπρςστυφχψωϊϋόύώ�"},
    {1254,
     u"€�‚ƒ„…†‡ˆ‰Š‹Œ����‘’“”•–—˜™š›œ��Ÿ"
     u"\u00A0¡¢£¤¥¦§¨©ª«¬\u00AD®¯°±²³´µ¶·¸¹º»¼½¾¿"
     u"ÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏĞÑÒÓÔÕÖ×ØÙÚÛÜİŞß"
     u"àáâãäåæçèéêëìíîïğñòóôõö÷øùúûüışÿ"},
};
static_assert(std::all_of(std::begin(kCodePages), std::end(kCodePages),
                          [](const CodePage& c) { return c.upper.size() == 128; }));

// Language-driver ids and their code pages, as the published dBase and FoxPro list names
// them; code pages without a table above are named so that their text is not taken for
// 1252.
constexpr std::pair<uint8_t, int> kLanguageDrivers[] = {
    {0x00, 1252},  {0x01, 437},   {0x02, 850},   {0x03, 1252}, {0x04, 10000}, {0x08, 865},
    {0x09, 437},   {0x0A, 850},   {0x0B, 437},   {0x0D, 437},  {0x0E, 850},   {0x0F, 437},
    {0x10, 850},   {0x11, 437},   {0x12, 850},   {0x13, 932},  {0x14, 850},   {0x15, 437},
    {0x16, 850},   {0x17, 865},   {0x18, 437},   {0x19, 437},  {0x1A, 850},   {0x1B, 437},
    {0x1C, 863},   {0x1D, 850},   {0x1F, 852},   {0x22, 852},  {0x23, 852},   {0x24, 860},
    {0x25, 850},   {0x26, 866},   {0x37, 850},   {0x40, 852},  {0x4D, 936},   {0x4E, 949},
    {0x4F, 950},   {0x50, 874},   {0x57, 1252},  {0x58, 1252}, {0x59, 1252},  {0x64, 852},
    {0x65, 866},   {0x66, 865},   {0x67, 861},   {0x68, 895},  {0x69, 620},   {0x6A, 737},
    {0x6B, 857},   {0x6C, 863},   {0x78, 950},   {0x79, 949},  {0x7A, 936},   {0x7B, 932},
    {0x7C, 874},   {0x7D, 1255},  {0x7E, 1256},  {0x86, 737},  {0x87, 852},   {0x88, 857},
    {0x96, 10007}, {0x97, 10029}, {0x98, 10006}, {0xC8, 1250}, {0xC9, 1251},  {0xCA, 1254},
    {0xCB, 1253},  {0xCC, 1257}};

const CodePage* tableOf(int codePage) {
    const auto found = std::find_if(std::begin(kCodePages), std::end(kCodePages),
                                    [&](const CodePage& c) { return c.number == codePage; });
    return found == std::end(kCodePages) ? nullptr : found;
}

std::u16string_view upperHalf(int codePage) {
    static const std::u16string kUnknown(128, u'\uFFFD');  // no byte above 0x7F is known
    const CodePage* table = tableOf(codePage);
    return table ? table->upper : kUnknown;
}

void appendUtf8(std::string& out, char32_t c) {
    const auto byte = [&](char32_t b) { out += static_cast<char>(b); };
    if (c < 0x80) {
        byte(c);
    } else if (c < 0x800) {
        byte(0xC0 | c >> 6), byte(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        byte(0xE0 | c >> 12), byte(0x80 | (c >> 6 & 0x3F)), byte(0x80 | (c & 0x3F));
    } else {
        byte(0xF0 | c >> 18), byte(0x80 | (c >> 12 & 0x3F)), byte(0x80 | (c >> 6 & 0x3F)),
            byte(0x80 | (c & 0x3F));
    }
}

// The character that starts at `at`, and its length; length 0 for bytes that are not
// UTF-8 (a stray or missing continuation byte, an overlong form, a surrogate).
std::pair<char32_t, std::size_t> nextUtf8(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) return {lead, 1};
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || at + length > text.size()) return {0, 0};
    char32_t c = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) return {0, 0};
        c = c << 6 | (next & 0x3F);
    }
    constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kSmallest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return {0, 0};
    return {c, length};
}

// The capital of a small letter of the code pages above (Latin, Greek, Cyrillic), else
// the character itself. A letter without a capital of its own (ß) stays.
char16_t capitalOf(char16_t c) {
    switch (c) {
        case 0xFF:
            return 0x178;  // ÿ
        case 0xB5:
            return 0x39C;  // micro sign: Greek capital mu
        case 0x131:
            return u'I';  // dotless ı
        case 0x3C2:
            return 0x3A3;  // final ς
        case 0x3AC:
            return 0x386;  // ά
        case 0x3CC:
            return 0x38C;  // ό
        case 0x491:
            return 0x490;  // ґ
    }
    // Latin Extended-A pairs its letters: the capital is the even or the odd one of a pair.
    const auto smallInPairs = [&](char16_t first, char16_t last, bool evenIsCapital) {
        return c >= first && c <= last && (c % 2 == 0) != evenIsCapital;
    };
    if (smallInPairs(0x100, 0x137, true) || smallInPairs(0x14A, 0x177, true) ||
        smallInPairs(0x139, 0x148, false) || smallInPairs(0x179, 0x17E, false)) {
        return c - 1;
    }
    if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7) ||
        (c >= 0x3B1 && c <= 0x3CB) || (c >= 0x430 && c <= 0x44F)) {
        return c - 0x20;
    }
    if (c >= 0x450 && c <= 0x45F) return c - 0x50;  // ѐ to џ
    if (c >= 0x3AD && c <= 0x3AF) return c - 0x25;  // έ ή ί
    if (c == 0x3CD || c == 0x3CE) return c - 0x3F;  // ύ ώ
    return c;
}

}  // namespace

int codePageOfLanguageDriver(uint8_t id) {
    for (const auto& [driver, codePage] : kLanguageDrivers) {
        if (driver == id) return codePage;
    }
    return kUnknownCodePage;
}

bool convertsCodePage(int codePage) {
    return tableOf(codePage) != nullptr;
}

std::string codePageToUtf8(int codePage, std::string_view bytes) {
    const std::u16string_view upper = upperHalf(codePage);
    std::string out;
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        appendUtf8(out, u < 0x80 ? u : upper[u - 0x80u]);
    }
    return out;
}

CodePageText utf8ToCodePage(int codePage, std::string_view utf8) {
    const std::u16string_view upper = upperHalf(codePage);
    CodePageText out;
    for (std::size_t at = 0; at < utf8.size();) {
        const auto [c, length] = nextUtf8(utf8, at);
        const std::size_t found = c < 0x80 || c > 0xFFFC ? std::u16string_view::npos
                                                         : upper.find(static_cast<char16_t>(c));
        if (length == 0 || (c >= 0x80 && found == std::u16string_view::npos)) {
            out.refused = utf8.substr(at, std::max<std::size_t>(length, 1));
            return out;
        }
        out.bytes += static_cast<char>(c < 0x80 ? c : 0x80 + found);
        at += length;
    }
    return out;
}

std::string upperCaseIn(int codePage, std::string_view bytes) {
    const std::u16string_view upper = upperHalf(codePage);
    std::string out(bytes);
    for (char& b : out) {
        const auto u = static_cast<unsigned char>(b);
        const char16_t c = u < 0x80 ? u : upper[u - 0x80u], capital = capitalOf(c);
        if (capital == c) continue;
        if (capital < 0x80) {
            b = static_cast<char>(capital);
        } else if (const std::size_t at = upper.find(capital); at != upper.npos) {
            b = static_cast<char>(0x80 + at);  // a capital the code page lacks leaves the byte
        }
    }
    return out;
}

}  // namespace fk
