// Fuzz target: the byte-to-text rules of whole-file text reads, and the
// save/load round trip of a text through UTF-8.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "io/TextFile.h"
#include "runtime/String.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {
constexpr String::CodePoint kByteOrderMark = 0xFEFF;

bool StartsWith(const std::string& bytes, const char* mark, size_t length) {
    return bytes.size() >= length && bytes.compare(0, length, mark, length) == 0;
}

// What the saver writes must load back as the same text (a text that starts
// with a byte-order mark loses it: the loader skips it).
void CheckRoundTrip(const String& text) {
    const String loaded = DecodeText(text.ToUtf8());
    if (!text.Empty() && text[0] == kByteOrderMark)
        FUZZ_REQUIRE(loaded == text.Slice(1));
    else
        FUZZ_REQUIRE(loaded == text);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const String text = DecodeText(bytes);

    // Every rule gives at most one code point per byte, each within 16 bits.
    FUZZ_REQUIRE(static_cast<size_t>(text.Length()) <= size);
    for (int i = 0; i < text.Length(); ++i) FUZZ_REQUIRE(text[i] >= 0 && text[i] <= 0xFFFF);

    if (StartsWith(bytes, "\xFE\xFF", 2) || StartsWith(bytes, "\xFF\xFE", 2)) {
        FUZZ_REQUIRE(static_cast<size_t>(text.Length()) == (size - 2) / 2);
    } else {
        const size_t skipped = StartsWith(bytes, "\xEF\xBB\xBF", 3) ? 3 : 0;
        // Either UTF-8 (never longer than its bytes) or one code point per byte.
        FUZZ_REQUIRE(static_cast<size_t>(text.Length()) <= size - skipped);
        FUZZ_REQUIRE(skipped != 0 || size == 0 || text.Length() > 0);
    }
    CheckRoundTrip(text);

    // The input read as 16-bit code points: any text the editor can hold.
    std::vector<String::CodePoint> points;
    for (size_t i = 0; i + 1 < size; i += 2) points.push_back(data[i] | (data[i + 1] << 8));
    CheckRoundTrip(String::FromCodePoints(std::move(points)));
    return 0;
}
