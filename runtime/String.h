// String: immutable text of 32-bit signed code points, shared by reference.
// Copying a String shares its text; every operation returns a new String.
// Relies on nothing but the standard library.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class String {
public:
    using CodePoint = int32_t;

    String();                          // the one shared empty string
    String(const char* ascii);         // bytes sign-extended, as the runtime's C literals
    String(const std::string& bytes);  // same rule as the C literal form
    explicit String(int value);        // printf "%i"
    explicit String(float value);      // "%.17lg", ".0" appended when needed
    String(const CodePoint* codePoints, int count);
    static String FromCodePoints(std::vector<CodePoint> codePoints);
    static String FromChar(CodePoint c);
    // Decodes UTF-8 bytes (as written by our own encoder); invalid input falls
    // back to one code point per byte.
    static String FromUtf8(const std::string& bytes);

    int Length() const { return static_cast<int>(text_->size()); }
    bool Empty() const { return text_->empty(); }
    CodePoint operator[](int index) const { return (*text_)[static_cast<size_t>(index)]; }
    const CodePoint* Data() const { return text_->data(); }

    String operator+(const String& other) const;
    String& operator+=(const String& other);
    bool operator==(const String& other) const;
    bool operator!=(const String& other) const { return !(*this == other); }
    bool operator<(const String& other) const;

    bool StartsWith(const String& prefix) const;
    bool EndsWith(const String& suffix) const;
    int Find(const String& needle, int start = 0) const;  // -1 when absent
    bool Contains(const String& needle) const { return Find(needle) >= 0; }
    String Slice(int from) const;
    String Slice(int from, int to) const;
    String Trim() const;
    std::vector<String> Split(const String& separator) const;
    String ToLower() const;
    String ToUpper() const;
    int ToInt() const;

    // Byte conversions: one byte per code point (low 8 bits).
    std::string ToBytes() const;
    // UTF-8 as the runtime's encoder writes it: code points cut to 16 bits.
    std::string ToUtf8() const;

    // True when both share the very same text (used to prove sharing in tests).
    bool SharesTextWith(const String& other) const { return text_ == other.text_; }

private:
    explicit String(std::shared_ptr<const std::vector<CodePoint>> text) : text_(std::move(text)) {}
    std::shared_ptr<const std::vector<CodePoint>> text_;
};

// Print: UTF-8, newline, flush, standard output.
void Print(const String& text);
// LogError: bytes (low 8 bits), newline, flush, standard error.
void LogError(const String& text);
