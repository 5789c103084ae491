#include "JsonReader.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>
#include <limits>
#include <system_error>

JsonReader::JsonReader(const QByteArray& json)
    : p(json.constData()), end(json.constData() + json.size())
{
    if (json.startsWith("\xEF\xBB\xBF"))
        p += 3;
}

void JsonReader::SkipSpace()
{
    while (p < end) {
        const char c = *p;
        if (c == '\n')
            ++line;
        else if (c != ' ' && c != '\t' && c != '\r')
            return;
        ++p;
    }
}

bool JsonReader::Fail(const char* what)
{
    if (error.isEmpty())
        error = QStringLiteral("line %1: not valid JSON: %2").arg(line).arg(QLatin1String(what));
    p = end;
    return false;
}

bool JsonReader::Expect(char c, const char* what)
{
    SkipSpace();
    if (p < end && *p == c) {
        ++p;
        return true;
    }
    return Fail(what);
}

JsonReader::Kind JsonReader::Next()
{
    SkipSpace();
    if (Failed() || p == end)
        return Kind::Invalid;
    switch (*p) {
    case '{':
        return Kind::Object;
    case '[':
        return Kind::Array;
    case '"':
        return Kind::String;
    case 't':
    case 'f':
        return Kind::Bool;
    case 'n':
        return Kind::Null;
    default:
        return (*p == '-' || (*p >= '0' && *p <= '9')) ? Kind::Number : Kind::Invalid;
    }
}

// Finds the end of the string starting at p (at its opening quote), checking its escapes.
bool JsonReader::ScanString(const char*& begin, const char*& stop, bool& escaped)
{
    begin = ++p;
    escaped = false;
    while (p < end) {
        const auto c = static_cast<unsigned char>(*p);
        if (c == '"') {
            stop = p++;
            return true;
        }
        if (c < 0x20)
            return Fail("a line break or control character inside a text; write it as \\n or "
                        "\\u00XX");
        if (c == '\\') {
            escaped = true;
            if (++p == end)
                break;
            if (*p == 'u') {
                for (int i = 1; i <= 4; ++i)
                    if (p + i >= end || !std::isxdigit(static_cast<unsigned char>(p[i])))
                        return Fail("\\u must be followed by four hexadecimal digits");
                p += 4;
            } else if (!std::strchr("\"\\/bfnrt", *p)) {
                return Fail("unknown escape in a text");
            }
        }
        ++p;
    }
    return Fail("a text is not closed with \"");
}

namespace {

void AppendUtf8(QByteArray& out, char32_t code)
{
    if (code < 0x80) {
        out.append(char(code));
    } else if (code < 0x800) {
        out.append(char(0xC0 | (code >> 6)));
        out.append(char(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.append(char(0xE0 | (code >> 12)));
        out.append(char(0x80 | ((code >> 6) & 0x3F)));
        out.append(char(0x80 | (code & 0x3F)));
    } else {
        out.append(char(0xF0 | (code >> 18)));
        out.append(char(0x80 | ((code >> 12) & 0x3F)));
        out.append(char(0x80 | ((code >> 6) & 0x3F)));
        out.append(char(0x80 | (code & 0x3F)));
    }
}

char32_t Hex4(const char* digits)
{
    unsigned value = 0;
    std::from_chars(digits, digits + 4, value, 16);
    return char32_t(value);
}

// The text of a string whose escapes were checked, as UTF-8.
QByteArray Unescape(const char* p, const char* end)
{
    QByteArray out;
    out.reserve(end - p);
    while (p < end) {
        if (*p != '\\') {
            out.append(*p++);
            continue;
        }
        const char c = p[1];
        p += 2;
        switch (c) {
        case 'b':
            out.append('\b');
            break;
        case 'f':
            out.append('\f');
            break;
        case 'n':
            out.append('\n');
            break;
        case 'r':
            out.append('\r');
            break;
        case 't':
            out.append('\t');
            break;
        case 'u': {
            char32_t code = Hex4(p);
            p += 4;
            // A surrogate pair stands for one character; a lone surrogate for U+FFFD.
            if (code >= 0xD800 && code < 0xDC00 && end - p >= 6 && p[0] == '\\' && p[1] == 'u') {
                const char32_t low = Hex4(p + 2);
                if (low >= 0xDC00 && low < 0xE000) {
                    code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                    p += 6;
                }
            }
            AppendUtf8(out, code >= 0xD800 && code < 0xE000 ? 0xFFFD : code);
            break;
        }
        default: // '"', '\\', '/'
            out.append(c);
        }
    }
    return out;
}

} // namespace

bool JsonReader::String(QString& out)
{
    if (Next() != Kind::String)
        return false;
    const char* begin;
    const char* stop;
    bool escaped;
    if (!ScanString(begin, stop, escaped))
        return false;
    out =
        escaped ? QString::fromUtf8(Unescape(begin, stop)) : QString::fromUtf8(begin, stop - begin);
    return true;
}

bool JsonReader::Number(double& out)
{
    if (Next() != Kind::Number)
        return false;
    // The grammar of a JSON number: -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
    const char* begin = p;
    const auto digits = [&] {
        const char* start = p;
        while (p < end && *p >= '0' && *p <= '9')
            ++p;
        return p > start;
    };
    if (*p == '-')
        ++p;
    if (p < end && *p == '0')
        ++p;
    else if (!digits())
        return Fail("a malformed number");
    if (p < end && *p == '.' && (++p, !digits()))
        return Fail("a malformed number");
    if (p < end && (*p == 'e' || *p == 'E')) {
        ++p;
        if (p < end && (*p == '+' || *p == '-'))
            ++p;
        if (!digits())
            return Fail("a malformed number");
    }
    // Beyond what a double holds, in either direction, is no usable number.
    if (std::from_chars(begin, p, out).ec == std::errc::result_out_of_range)
        out = std::numeric_limits<double>::quiet_NaN();
    return true;
}

bool JsonReader::Bool(bool& out)
{
    if (Next() != Kind::Bool)
        return false;
    for (const std::string_view word : {std::string_view("true"), std::string_view("false")})
        if (size_t(end - p) >= word.size() && std::string_view(p, word.size()) == word) {
            p += word.size();
            out = word[0] == 't';
            return true;
        }
    return Fail("true or false misspelt");
}

bool JsonReader::Skip()
{
    switch (Next()) {
    case Kind::Object: {
        EnterObject();
        std::string_view key;
        while (NextMember(key))
            Skip();
        return !Failed();
    }
    case Kind::Array:
        EnterArray();
        while (NextItem())
            Skip();
        return !Failed();
    case Kind::String: {
        const char* begin;
        const char* stop;
        bool escaped;
        return ScanString(begin, stop, escaped);
    }
    case Kind::Number: {
        double ignored;
        return Number(ignored);
    }
    case Kind::Bool: {
        bool ignored;
        return Bool(ignored);
    }
    case Kind::Null:
        if (end - p >= 4 && std::string_view(p, 4) == "null") {
            p += 4;
            return true;
        }
        return Fail("null misspelt");
    case Kind::Invalid:
        break;
    }
    return Fail(p == end ? "the document ends where a value should be" : "a value should be here");
}

bool JsonReader::Enter(Kind kind)
{
    if (Next() != kind)
        return false;
    if (depth == MaxDepth)
        return Fail("objects and arrays nested too deep");
    ++depth;
    ++p;
    firstMember = true;
    return true;
}

bool JsonReader::EnterObject()
{
    return Enter(Kind::Object);
}

bool JsonReader::Continue(char close, const char* expected)
{
    SkipSpace();
    if (p < end && *p == close) {
        ++p;
        --depth;
        firstMember = false;
        return false;
    }
    if (!firstMember && !Expect(',', expected))
        return false;
    firstMember = false;
    return true;
}

bool JsonReader::NextMember(std::string_view& key)
{
    if (!Continue('}', "a comma or } should be here"))
        return false;
    SkipSpace();
    const char* begin;
    const char* stop;
    bool escaped;
    if (p == end || *p != '"')
        return Fail("a key in quotes should be here");
    if (!ScanString(begin, stop, escaped))
        return false;
    if (escaped) {
        const QByteArray& decoded = decodedKeys.emplace_back(Unescape(begin, stop));
        key = std::string_view(decoded.constData(), size_t(decoded.size()));
    } else {
        key = std::string_view(begin, size_t(stop - begin));
    }
    return Expect(':', "a colon should follow the key");
}

bool JsonReader::EnterArray()
{
    return Enter(Kind::Array);
}

bool JsonReader::NextItem()
{
    if (!Continue(']', "a comma or ] should be here"))
        return false;
    SkipSpace();
    if (p == end)
        return Fail("the array is not closed with ]");
    return !Failed();
}

bool JsonReader::Finish()
{
    SkipSpace();
    return p == end ? !Failed() : Fail("more text follows the end of the document");
}
