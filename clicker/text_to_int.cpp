#include "clicker/text_to_int.h"

namespace {

// The ASCII byte a double-byte character folds to, or 0 when it keeps its two bytes.
unsigned char foldedPair(unsigned char lead, unsigned char trail)
{
    if (lead == 0xA1) {
        switch (trail) {
            case 0xA1:
                return 0x20;  // ideographic space
            case 0xAB:
                return 0x7E;  // tilde
            case 0xEE:
            case 0xEF:
                return 0x2A;  // asterisks
            default:
                return 0;
        }
    }
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE)
        return static_cast<unsigned char>(trail - 0x80);  // full-width printable ASCII
    return 0;
}

bool isSpace(unsigned char c)
{
    return c == 0x20 || (c >= 0x09 && c <= 0x0D);
}
bool isDigit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

}  // namespace

std::string foldFullWidth(std::string_view text)
{
    text = text.substr(0, text.find('\0'));
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        if (i + 1 == text.size())
            break;  // a lead byte cut off at the end
        const auto trail = static_cast<unsigned char>(text[++i]);
        if (unsigned char ascii = foldedPair(c, trail)) {
            out += static_cast<char>(ascii);
        } else {
            out += static_cast<char>(c);
            out += static_cast<char>(trail);
        }
    }
    return out;
}

std::int32_t textToInt(std::string_view text)
{
    const std::string folded = foldFullWidth(text);
    std::size_t i = 0;
    while (i < folded.size() && isSpace(static_cast<unsigned char>(folded[i])))
        ++i;
    bool negative = false;
    if (i < folded.size() && (folded[i] == '+' || folded[i] == '-'))
        negative = folded[i++] == '-';
    // Unsigned arithmetic wraps by definition, where signed overflow would not.
    std::uint32_t total = 0;
    for (; i < folded.size() && isDigit(static_cast<unsigned char>(folded[i])); ++i)
        total = total * 10u + static_cast<std::uint32_t>(folded[i] - '0');
    if (negative)
        total = 0u - total;
    return static_cast<std::int32_t>(total);
}
