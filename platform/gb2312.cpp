// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gb2312.h"

#include <iconv.h>

#include <cerrno>
#include <memory>
#include <stdexcept>
#include <vector>

namespace qir::gb2312 {
namespace {

// Owns an iconv conversion descriptor.
class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(::iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    ~Converter() { ::iconv_close(cd_); }

    // Converts the whole input; returns false when a character cannot be converted.
    // `onInvalid` is called with the offending input position to allow skipping.
    template <typename OnInvalid>
    bool convert(std::string_view input, std::string& output, OnInvalid onInvalid) {
        ::iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* in = const_cast<char*>(input.data());
        std::size_t inLeft = input.size();
        std::vector<char> buffer(input.size() * 4 + 16);
        while (inLeft > 0) {
            char* out = buffer.data();
            std::size_t outLeft = buffer.size();
            const std::size_t result = ::iconv(cd_, &in, &inLeft, &out, &outLeft);
            output.append(buffer.data(), buffer.size() - outLeft);
            if (result != static_cast<std::size_t>(-1)) {
                break;
            }
            if (errno == E2BIG) {
                continue;
            }
            if (!onInvalid(in, inLeft, output)) {
                return false;
            }
        }
        return true;
    }

  private:
    iconv_t cd_;
};

}  // namespace

QString toUnicode(std::string_view bytes) {
    thread_local Converter decoder("UTF-8", "CP936");
    std::string utf8;
    decoder.convert(bytes, utf8, [](char*& in, std::size_t& left, std::string& out) {
        // Skip one byte of an invalid or incomplete sequence and mark it.
        ++in;
        --left;
        out += "\xEF\xBF\xBD";
        return true;
    });
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::optional<std::string> fromUnicode(const QString& text) {
    thread_local Converter encoder("CP936", "UTF-8");
    const QByteArray utf8 = text.toUtf8();
    std::string bytes;
    const bool complete =
        encoder.convert(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())),
                        bytes, [](char*&, std::size_t&, std::string&) { return false; });
    if (!complete) {
        return std::nullopt;
    }
    return bytes;
}

std::string_view trimmed(std::string_view text) {
    auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool isHanzi(std::string_view text) {
    if (text.size() == 3 && text[2] == ' ') {
        text.remove_suffix(1);
    }
    if (text.size() != 2) {
        return false;
    }
    const auto lead = static_cast<unsigned char>(text[0]);
    const auto trail = static_cast<unsigned char>(text[1]);
    return lead >= 0x81 && lead <= 0xFE && trail >= 0x80 && trail <= 0xFE;
}

bool isGb2312Hanzi(std::string_view bytes) {
    if (bytes.size() != 2) {
        return false;
    }
    const auto lead = static_cast<unsigned char>(bytes[0]);
    const auto trail = static_cast<unsigned char>(bytes[1]);
    return lead >= 0xB0 && lead <= 0xF7 && trail >= 0xA1 && trail <= 0xFE;
}

}  // namespace qir::gb2312
