#include "Win1252.h"

#include "DatabaseError.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace vorlu::data {
namespace {

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (cd_ != reinterpret_cast<iconv_t>(-1))
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts all of `in`; on failure returns false and leaves `failedAt` at the offending byte.
    bool convert(std::string_view in, std::string& out, size_t& failedAt)
    {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        out.assign(in.size() * 4 + 4, '\0');
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        char* dst = out.data();
        size_t dstLeft = out.size();
        while (srcLeft > 0) {
            if (iconv(cd_, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1)) {
                failedAt = in.size() - srcLeft;
                return false;
            }
        }
        out.resize(out.size() - dstLeft);
        return true;
    }

private:
    iconv_t cd_;
};

// The code point glibc's CP1252 does not map: 0x81, 0x8D, 0x8F, 0x90, 0x9D.
bool isUndefinedIn1252(unsigned char byte)
{
    return byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
}

// The length of the UTF-8 sequence that starts with `lead`, 1 for anything malformed.
size_t utf8SequenceLength(unsigned char lead)
{
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

} // namespace

std::string toWin1252(std::string_view utf8)
{
    // Plain ASCII is the common case and converts to itself.
    bool ascii = true;
    for (unsigned char c : utf8)
        if (c >= 0x80) { ascii = false; break; }
    if (ascii)
        return std::string(utf8);

    thread_local Converter converter("CP1252", "UTF-8");
    if (!converter.valid())
        throw DataError("Conversão de texto para Windows-1252 indisponível neste computador");
    std::string out;
    size_t failedAt = 0;
    if (!converter.convert(utf8, out, failedAt)) {
        const size_t length = std::min(utf8SequenceLength(static_cast<unsigned char>(utf8[failedAt])),
                                       utf8.size() - failedAt);
        throw DataError("O caractere \"" + std::string(utf8.substr(failedAt, length)) +
                        "\" não pode ser gravado no Banco de Dados; apague-o ou troque-o por outro");
    }
    return out;
}

std::string fromWin1252(std::string_view win1252)
{
    bool ascii = true;
    for (unsigned char c : win1252)
        if (c >= 0x80) { ascii = false; break; }
    if (ascii)
        return std::string(win1252);

    thread_local Converter converter("UTF-8", "CP1252");
    std::string out;
    out.reserve(win1252.size() * 2);
    size_t start = 0;
    // Bytes CP1252 leaves undefined are kept as the C1 controls U+0081 etc., byte for byte.
    for (size_t i = 0; i <= win1252.size(); ++i) {
        if (i < win1252.size() && !isUndefinedIn1252(static_cast<unsigned char>(win1252[i])))
            continue;
        if (i > start) {
            std::string part;
            size_t failedAt = 0;
            if (!converter.valid() || !converter.convert(win1252.substr(start, i - start), part, failedAt))
                throw DataError("Texto do Banco de Dados em codificação inválida");
            out += part;
        }
        if (i < win1252.size()) {
            const auto byte = static_cast<unsigned char>(win1252[i]);
            out += static_cast<char>(0xC2);
            out += static_cast<char>(byte);
        }
        start = i + 1;
    }
    return out;
}

} // namespace vorlu::data
