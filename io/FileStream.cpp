// File streams, byte buffers and the text encoders used to write files.
#include "io/FileStream.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "io/DataPath.h"

// ---- BBDataBuffer / c_DataBuffer ----

bool BBDataBuffer::Allocate(int length) {
    if (data_ || length < 0) return false;
    data_.reset(new (std::nothrow) unsigned char[static_cast<size_t>(length) + 1]);
    if (!data_) return false;
    length_ = length;
    return true;
}

int BBDataBuffer::PeekByte(int address) const {
    if (address < 0 || address >= length_) return 0;
    return data_[static_cast<size_t>(address)];
}

void BBDataBuffer::PokeByte(int address, int value) {
    if (address < 0 || address >= length_) return;
    data_[static_cast<size_t>(address)] = static_cast<unsigned char>(value);
}

c_DataBuffer::c_DataBuffer(int length) {
    if (!Allocate(length)) RuntimeError("Allocate DataBuffer failed");
}

namespace {
void AppendUtf16AsUtf8(std::string& out, String::CodePoint codePoint) {
    const unsigned c = static_cast<unsigned>(codePoint) & 0xFFFF;
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}
}  // namespace

int c_DataBuffer::PutStringBytes(int address, const String& text, const String& encoding) {
    std::string bytes;
    if (encoding == "utf8") {
        bytes.reserve(static_cast<size_t>(text.Length()) * 3);
        for (int i = 0; i < text.Length(); ++i) AppendUtf16AsUtf8(bytes, text[i]);
    } else if (encoding == "ascii") {
        bytes = text.ToBytes();
    } else {
        RuntimeError(String("Invalid string encoding:") + encoding);
    }
    if (address >= 0 && address < Length()) {
        const size_t room = static_cast<size_t>(Length() - address);
        std::memcpy(Data() + address, bytes.data(), std::min(room, bytes.size()));
    }
    return static_cast<int>(bytes.size());
}

// ---- BBFileStream ----

BBFileStream::~BBFileStream() { Close(); }

bool BBFileStream::Open(const String& path, const String& mode) {
    if (file_) return false;
    const char* cMode = nullptr;
    if (mode == "r") {
        cMode = "rb";
    } else if (mode == "w") {
        cMode = "wb";
    } else if (mode == "u") {
        cMode = "rb+";
    } else {
        return false;
    }
    file_ = OpenFile(path, cMode);
    if (!file_ && mode == "u") file_ = OpenFile(path, "wb+");
    if (!file_) return false;
    std::fseek(file_, 0, SEEK_END);
    const long end = std::ftell(file_);
    std::fseek(file_, 0, SEEK_SET);
    length_ = end > 0 ? static_cast<int>(end) : 0;
    position_ = 0;
    lastAccess_ = LastAccess::None;
    return true;
}

int BBFileStream::Eof() {
    if (!file_) return -1;
    return position_ == length_ ? 1 : 0;
}

int BBFileStream::Close() {
    if (!file_) return 0;
    const int result = std::fclose(file_);
    file_ = nullptr;
    position_ = 0;
    length_ = 0;
    lastAccess_ = LastAccess::None;
    return result;
}

int BBFileStream::Length() { return length_; }

int BBFileStream::Position() { return position_; }

int BBFileStream::Seek(int offset) {
    if (!file_) return 0;
    std::fseek(file_, offset, SEEK_SET);
    const long reported = std::ftell(file_);
    position_ = reported > 0 ? static_cast<int>(reported) : 0;
    lastAccess_ = LastAccess::None;
    return position_;
}

void BBFileStream::SwitchAccess(LastAccess next) {
    if (lastAccess_ != LastAccess::None && lastAccess_ != next) std::fseek(file_, 0, SEEK_CUR);
    lastAccess_ = next;
}

namespace {
bool RangeInside(const BBDataBuffer& buffer, int offset, int count) {
    return offset >= 0 && count > 0 && offset <= buffer.Length() && count <= buffer.Length() - offset;
}
}  // namespace

int BBFileStream::Read(BBDataBuffer& buffer, int offset, int count) {
    if (!file_ || !RangeInside(buffer, offset, count)) return 0;
    SwitchAccess(LastAccess::Read);
    const size_t read = std::fread(buffer.Data() + offset, 1, static_cast<size_t>(count), file_);
    position_ += static_cast<int>(read);
    return static_cast<int>(read);
}

int BBFileStream::Write(const BBDataBuffer& buffer, int offset, int count) {
    if (!file_ || !RangeInside(buffer, offset, count)) return 0;
    SwitchAccess(LastAccess::Write);
    const size_t written = std::fwrite(buffer.Data() + offset, 1, static_cast<size_t>(count), file_);
    position_ += static_cast<int>(written);
    if (position_ > length_) length_ = position_;
    return static_cast<int>(written);
}

// ---- c_Stream / c_FileStream ----

void c_Stream::WriteAll(const BBDataBuffer& buffer, int offset, int count) {
    while (count > 0) {
        const int written = Write(buffer, offset, count);
        if (written <= 0) throw c_StreamWriteError(weak_from_this().lock());
        offset += written;
        count -= written;
    }
}

void c_Stream::WriteString(const String& text, const String& encoding) {
    c_DataBuffer buffer(text.Length() * 3);
    const int count = buffer.PutStringBytes(0, text, encoding);
    WriteAll(buffer, 0, count);
}

std::shared_ptr<c_FileStream> c_FileStream::Open(const String& path, const String& mode) {
    auto stream = std::make_shared<c_FileStream>();
    const bool append = mode == "a";
    if (!stream->stream_.Open(path, append ? String("u") : mode)) return nullptr;
    if (append) stream->stream_.Seek(stream->stream_.Length());
    return stream;
}
