// String operations and the number/byte conversions of the runtime.
#include "runtime/String.h"

#include <cstdio>
#include <cstdlib>
#include <cwctype>

namespace {
using Text = std::vector<String::CodePoint>;

const std::shared_ptr<const Text>& SharedEmpty() {
    static const std::shared_ptr<const Text> empty = std::make_shared<const Text>();
    return empty;
}

Text BytesToCodePoints(const char* bytes, size_t count) {
    Text text(count);
    for (size_t i = 0; i < count; ++i) text[i] = static_cast<signed char>(bytes[i]);
    return text;
}

void AppendUtf8(std::string& out, String::CodePoint c) {
    // Code points below 128, negative ones included, are one byte.
    if (c < 0x80) {
        out.push_back(static_cast<char>(c & 0xFF));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | ((c >> 12) & 0x0F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}
}  // namespace

String::String() : text_(SharedEmpty()) {}

String::String(const char* ascii) : String(std::string(ascii ? ascii : "")) {}

String::String(const std::string& bytes)
    : text_(bytes.empty() ? SharedEmpty()
                          : std::make_shared<const Text>(BytesToCodePoints(bytes.data(), bytes.size()))) {}

String::String(int value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%i", value);
    *this = String(buffer);
}

String::String(float value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17lg", static_cast<double>(value));
    std::string text = buffer;
    if (text.find('.') == std::string::npos && text.find('e') == std::string::npos) text += ".0";
    *this = String(text);
}

String::String(const CodePoint* codePoints, int count)
    : text_(count <= 0 ? SharedEmpty() : std::make_shared<const Text>(codePoints, codePoints + count)) {}

String String::FromCodePoints(std::vector<CodePoint> codePoints) {
    if (codePoints.empty()) return String();
    return String(std::make_shared<const Text>(std::move(codePoints)));
}

String String::FromChar(CodePoint c) { return String(&c, 1); }

String String::FromUtf8(const std::string& bytes) {
    Text text;
    text.reserve(bytes.size());
    size_t i = 0;
    const size_t n = bytes.size();
    auto byteAt = [&](size_t k) { return static_cast<unsigned char>(bytes[k]); };
    auto isContinuation = [&](size_t k) { return k < n && (byteAt(k) & 0xC0) == 0x80; };
    while (i < n) {
        unsigned char b = byteAt(i);
        if (b < 0x80) {
            text.push_back(b);
            i += 1;
        } else if (b >= 0xC0 && b <= 0xDF && isContinuation(i + 1)) {
            text.push_back(((b & 0x1F) << 6) | (byteAt(i + 1) & 0x3F));
            i += 2;
        } else if (b >= 0xE0 && b <= 0xEF && isContinuation(i + 1) && isContinuation(i + 2)) {
            text.push_back(((b & 0x0F) << 12) | ((byteAt(i + 1) & 0x3F) << 6) | (byteAt(i + 2) & 0x3F));
            i += 3;
        } else {
            Text raw(n);
            for (size_t k = 0; k < n; ++k) raw[k] = byteAt(k);
            return FromCodePoints(std::move(raw));
        }
    }
    return FromCodePoints(std::move(text));
}

String String::operator+(const String& other) const {
    if (other.Empty()) return *this;
    if (Empty()) return other;
    Text joined;
    joined.reserve(text_->size() + other.text_->size());
    joined.insert(joined.end(), text_->begin(), text_->end());
    joined.insert(joined.end(), other.text_->begin(), other.text_->end());
    return FromCodePoints(std::move(joined));
}

String& String::operator+=(const String& other) {
    *this = *this + other;
    return *this;
}

bool String::operator==(const String& other) const { return text_ == other.text_ || *text_ == *other.text_; }

bool String::operator<(const String& other) const { return *text_ < *other.text_; }

bool String::StartsWith(const String& prefix) const {
    if (prefix.Length() > Length()) return false;
    for (int i = 0; i < prefix.Length(); ++i)
        if ((*text_)[i] != prefix[i]) return false;
    return true;
}

bool String::EndsWith(const String& suffix) const {
    if (suffix.Length() > Length()) return false;
    const int offset = Length() - suffix.Length();
    for (int i = 0; i < suffix.Length(); ++i)
        if ((*text_)[offset + i] != suffix[i]) return false;
    return true;
}

int String::Find(const String& needle, int start) const {
    if (start < 0) start = 0;
    for (int i = start; i + needle.Length() <= Length(); ++i) {
        int k = 0;
        while (k < needle.Length() && (*text_)[i + k] == needle[k]) ++k;
        if (k == needle.Length()) return i;
    }
    return -1;
}

String String::Slice(int from) const { return Slice(from, Length()); }

String String::Slice(int from, int to) const {
    const int length = Length();
    if (from < 0) {
        from += length;
        if (from < 0) from = 0;
    } else if (from > length) {
        from = length;
    }
    if (to < 0) {
        to += length;
    } else if (to > length) {
        to = length;
    }
    if (from >= to) return String();
    if (from == 0 && to == length) return *this;
    return String(text_->data() + from, to - from);
}

String String::Trim() const {
    int from = 0, to = Length();
    while (from < to && (*text_)[from] <= 32) ++from;
    while (to > from && (*text_)[to - 1] <= 32) --to;
    return Slice(from, to);
}

std::vector<String> String::Split(const String& separator) const {
    std::vector<String> pieces;
    if (separator.Empty()) {
        for (int i = 0; i < Length(); ++i) pieces.push_back(Slice(i, i + 1));
        return pieces;
    }
    int start = 0;
    for (;;) {
        const int found = Find(separator, start);
        if (found < 0) break;
        pieces.push_back(Slice(start, found));
        start = found + separator.Length();
    }
    pieces.push_back(Slice(start));
    return pieces;
}

String String::ToLower() const {
    Text lower(*text_);
    bool changed = false;
    for (auto& c : lower) {
        const CodePoint mapped = static_cast<CodePoint>(std::towlower(static_cast<wint_t>(c)));
        changed |= mapped != c;
        c = mapped;
    }
    return changed ? FromCodePoints(std::move(lower)) : *this;
}

String String::ToUpper() const {
    Text upper(*text_);
    bool changed = false;
    for (auto& c : upper) {
        const CodePoint mapped = static_cast<CodePoint>(std::towupper(static_cast<wint_t>(c)));
        changed |= mapped != c;
        c = mapped;
    }
    return changed ? FromCodePoints(std::move(upper)) : *this;
}

int String::ToInt() const {
    char buffer[64];
    const int count = Length() < 63 ? Length() : 63;
    for (int i = 0; i < count; ++i) buffer[i] = static_cast<char>((*text_)[i] & 0xFF);
    buffer[count] = 0;
    return static_cast<int>(std::strtol(buffer, nullptr, 10));
}

std::string String::ToBytes() const {
    std::string bytes(text_->size(), '\0');
    for (size_t i = 0; i < text_->size(); ++i) bytes[i] = static_cast<char>((*text_)[i] & 0xFF);
    return bytes;
}

std::string String::ToUtf8() const {
    std::string out;
    out.reserve(text_->size());
    for (CodePoint c : *text_) {
        // The runtime's encoder cuts code points to 16 bits first.
        AppendUtf8(out, c & 0xFFFF);
    }
    return out;
}

void Print(const String& text) {
    std::string line;
    for (int i = 0; i < text.Length(); ++i) AppendUtf8(line, text[i]);
    line.push_back('\n');
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
}

void LogError(const String& text) {
    std::string line = text.ToBytes();
    line.push_back('\n');
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}
